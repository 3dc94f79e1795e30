// The "%f" read of the DXF reader's text stream. The number read is the longest run of characters
// that starts a valid number; if that run is not a whole number (such as "1e+" or "0x"), the read
// fails and the run stays taken, as the C standard's formatted input does.
#include <cmath>
#include <limits>

#include "figures/float_text.h"
#include "figures/text_stream.h"

namespace {

int HexValue(int c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int Lower(int c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

bool IsNanCharacter(int c) {
    return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'z') || c == '_';
}

}  // namespace

bool TextStream::ScanFloat(float& value) {
    if (!SkipSpace())
        return false;
    int c = Peek();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        Advance();
        c = Peek();
    }
    if (Lower(c) == 'i' || Lower(c) == 'n')
        return ScanInfinityOrNaN(c, negative, value);

    FloatText number(10);
    bool anyDigit = false;
    if (c == '0') {
        Advance();
        c = Peek();
        if (Lower(c) == 'x') {
            Advance();
            return ScanHexBody(negative, value);
        }
        anyDigit = true;
    }
    for (; IsDigit(c); c = Peek()) {
        number.AddMantissaDigit(c - '0', false);
        anyDigit = true;
        Advance();
    }
    if (c == '.') {
        Advance();
        for (c = Peek(); IsDigit(c); c = Peek()) {
            number.AddMantissaDigit(c - '0', true);
            anyDigit = true;
            Advance();
        }
    }
    if (!anyDigit)
        return false;
    if (Lower(c) == 'e') {
        Advance();
        c = Peek();
        if (c == '+' || c == '-') {
            if (c == '-')
                number.SetExponentNegative();
            Advance();
            c = Peek();
        }
        if (!IsDigit(c))
            return false;
        for (; IsDigit(c); c = Peek()) {
            number.AddExponentDigit(c - '0');
            Advance();
        }
    }
    value = number.Value(negative);
    return true;
}

bool TextStream::ScanHexBody(bool negative, float& value) {
    FloatText number(16);
    bool anyDigit = false;
    int c = Peek();
    for (; HexValue(c) >= 0; c = Peek()) {
        number.AddMantissaDigit(HexValue(c), false);
        anyDigit = true;
        Advance();
    }
    if (c == '.') {
        Advance();
        for (c = Peek(); HexValue(c) >= 0; c = Peek()) {
            number.AddMantissaDigit(HexValue(c), true);
            anyDigit = true;
            Advance();
        }
    }
    if (!anyDigit)
        return false;
    if (Lower(c) == 'p') {
        Advance();
        c = Peek();
        if (c == '+' || c == '-') {
            if (c == '-')
                number.SetExponentNegative();
            Advance();
            c = Peek();
        }
        if (!IsDigit(c))
            return false;
        for (; IsDigit(c); c = Peek()) {
            number.AddExponentDigit(c - '0');
            Advance();
        }
    }
    value = number.Value(negative);
    return true;
}

bool TextStream::ScanInfinityOrNaN(int first, bool negative, float& value) {
    const bool infinity = Lower(first) == 'i';
    const char* word = infinity ? "inf" : "nan";
    for (const char* w = word; *w != '\0'; ++w) {
        if (Lower(Peek()) != *w)
            return false;
        Advance();
    }
    if (infinity && Lower(Peek()) == 'i') {
        // "inf" may go on to "infinity", and then must get there.
        for (const char* w = "inity"; *w != '\0'; ++w) {
            if (Lower(Peek()) != *w)
                return false;
            Advance();
        }
    } else if (!infinity && Peek() == '(') {
        Advance();
        while (IsNanCharacter(Peek()))
            Advance();
        if (Peek() != ')')
            return false;
        Advance();
    }
    const float magnitude =
        infinity ? std::numeric_limits<float>::infinity() : std::numeric_limits<float>::quiet_NaN();
    value = negative ? -magnitude : magnitude;
    return true;
}
