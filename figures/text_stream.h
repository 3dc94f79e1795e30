// A read-only text stream with the C library's "%s", "%d" and "%f" conversions and its line read.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "figures/byte_source.h"

// One "%s" token in a buffer of 128 bytes.
struct Token {
    static constexpr int kBufferSize = 128;
    char text[kBufferSize] = {};
    // Longer than 127 characters: read to its end and dropped, so it equals no word.
    bool overlong = false;

    // Compared as a C string: exact, case-sensitive, up to the first NUL byte.
    bool Is(const char* word) const;
};

// Reads like a C stream opened in text mode: CR LF comes out as LF. Each conversion follows the
// C library's formatted input: white space is skipped first, a failed conversion leaves its target
// unchanged, and any read that runs into the end of the bytes sets the end-of-file indicator.
class TextStream {
  public:
    explicit TextStream(std::unique_ptr<ByteSource> source);

    // "%s". False when the end came before any character (the token is then left as it was).
    bool ScanToken(Token& token);
    // "%d". A number beyond the int range is clamped to it.
    bool ScanInt(int& value);
    // "%f", with decimal, hexadecimal, infinity and NaN forms; out of range gives +-inf or +-0.
    bool ScanFloat(float& value);
    // An fgets into a buffer of bufferSize bytes, the text thrown away: at most bufferSize - 1
    // characters, up to and including the line end.
    void DiscardLine(int bufferSize);

    // The end-of-file indicator.
    bool AtEnd() const { return atEnd_; }

  private:
    // The next character without taking it, or -1 at the end (which sets the indicator, as the
    // C library's look-ahead read does).
    int Peek();
    void Advance() { ++position_; }
    // Makes at least count raw bytes available from position_; false if the source ran dry first.
    bool Ensure(std::size_t count);
    bool SkipSpace();
    void SkipNonSpace();
    bool ScanInfinityOrNaN(int first, bool negative, float& value);
    bool ScanHexBody(bool negative, float& value);

    std::unique_ptr<ByteSource> source_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool sourceDone_ = false;
    bool atEnd_ = false;
};

// C's isspace in the "C" locale.
inline bool IsSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
inline bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}
