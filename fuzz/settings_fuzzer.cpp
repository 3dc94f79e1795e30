// Fuzzes the settings reader: plugin.ini text for the show's section and keys, a section and key
// named by the input itself, and the file front of GetPrivateProfileIntA.
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int x = platform::ProfileInt(text, "Quenari Tolvek", "Screen_x", 50);
    platform::ProfileInt(text, "Quenari Tolvek", "Screen_y", -7);
    if (text.find('=') == std::string_view::npos &&
        platform::ProfileInt(text, "Quenari Tolvek", "Screen_x", 12345) != 12345) {
        fuzzing::Fail("a value came from text without any key");
    }

    // The first line names a section and the second a key, so their matching gets explored too.
    const std::size_t first = text.find('\n');
    if (first != std::string_view::npos) {
        const std::size_t second = text.find('\n', first + 1);
        if (second != std::string_view::npos) {
            platform::ProfileInt(text.substr(second + 1), text.substr(0, first),
                                 text.substr(first + 1, second - first - 1), 0);
        }
    }

    const std::string& path = fuzzing::WriteScratchFile(data, size);
    const int fromFile =
        static_cast<int>(GetPrivateProfileIntA("Quenari Tolvek", "Screen_x", 50, path.c_str()));
    if (size <= platform::kMaxProfileBytes && fromFile != x)
        fuzzing::Fail("the file front read another value than the text reader");
    return 0;
}
