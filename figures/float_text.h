// Gathers the digits "%f" accepted and turns them into a float, in bounded memory at any length.
#pragma once

#include <string>

class FloatText {
  public:
    // 10 for decimal digits with a power-of-ten exponent, 16 for hex digits with a power of two.
    explicit FloatText(int base) : base_(base) {}

    void AddMantissaDigit(int digit, bool afterPoint);
    void AddExponentDigit(int digit);
    void SetExponentNegative() { exponentNegative_ = true; }
    // Rounded to nearest as strtof does; beyond the float range +-inf, below it +-0.
    float Value(bool negative) const;

  private:
    // Enough significant digits that a float rounds correctly; the rest only matter as
    // "some were not zero", kept in sticky_.
    static constexpr std::size_t kMaxDigits = 200;
    static constexpr long long kExponentLimit = 1000000000000LL;

    int base_;
    std::string digits_;  // significant digits, leading zeros dropped
    bool sticky_ = false;
    long long scale_ = 0;  // digits_ read as a whole number, times base_ to the scale_
    long long exponent_ = 0;
    bool exponentNegative_ = false;
};
