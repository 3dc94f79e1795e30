// Float conversion of the characters accepted by "%f".
#include "figures/float_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

void FloatText::AddMantissaDigit(int digit, bool afterPoint) {
    if (digits_.empty() && digit == 0) {
        if (afterPoint)
            --scale_;
        return;
    }
    if (digits_.size() < kMaxDigits) {
        digits_.push_back("0123456789abcdef"[digit]);
        if (afterPoint)
            --scale_;
        return;
    }
    if (digit != 0)
        sticky_ = true;
    if (!afterPoint)
        ++scale_;
}

void FloatText::AddExponentDigit(int digit) {
    exponent_ = std::min(exponent_ * 10 + digit, kExponentLimit);
}

float FloatText::Value(bool negative) const {
    float value = 0.0f;
    if (!digits_.empty()) {
        const bool hex = base_ == 16;
        // Each hex digit of the mantissa is four binary places.
        long long power =
            (hex ? 4 * scale_ : scale_) + (exponentNegative_ ? -exponent_ : exponent_);
        std::string text = digits_;
        if (sticky_) {
            // One more non-zero digit stands for the dropped tail and rounds the same way.
            text.push_back('1');
            power -= hex ? 4 : 1;
        }
        const long long order = power + static_cast<long long>(text.size()) * (hex ? 4 : 1);
        power = std::clamp(power, -10000000LL, 10000000LL);
        text += hex ? 'p' : 'e';
        text += std::to_string(power);
        const auto result =
            std::from_chars(text.data(), text.data() + text.size(), value,
                            hex ? std::chars_format::hex : std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range) {
            value = order > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
        }
    }
    return negative ? -value : value;
}
