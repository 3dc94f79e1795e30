// Emscripten 3.1.6's C++ library (libc++ 14) has no std::from_chars for floating point; the
// DXF reader needs it for float. Given here over the C library's correctly rounded strtof and
// included into every file of the web build, so the code above the platform stays as it is.
#pragma once

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

#if defined(__EMSCRIPTEN__) && defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 17000
namespace std {

inline from_chars_result from_chars(const char* first, const char* last, float& value,
                                    chars_format format = chars_format::general) {
    // from_chars takes no leading space or plus sign, which strtof would.
    const char* digits = first != last && *first == '-' ? first + 1 : first;
    if (digits == last || *digits == '+' || std::isspace(static_cast<unsigned char>(*digits))) {
        return {first, errc::invalid_argument};
    }
    // strtof reads a hexadecimal mantissa only behind "0x"; from_chars takes it bare.
    const std::string prefix = format == chars_format::hex ? "0x" : "";
    const std::string text = std::string(first, digits) + prefix + std::string(digits, last);
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    const std::ptrdiff_t consumed =
        (end - text.c_str()) - static_cast<std::ptrdiff_t>(prefix.size());
    if (consumed <= digits - first) return {first, errc::invalid_argument};
    const char* stop = first + consumed;
    if (errno == ERANGE && (std::isinf(parsed) || parsed == 0.0f)) {
        return {stop, errc::result_out_of_range};
    }
    value = parsed;
    return {stop, errc{}};
}

}  // namespace std
#endif
