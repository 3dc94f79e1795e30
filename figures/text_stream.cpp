// The token, integer and line reads of the DXF reader's text stream.
#include "figures/text_stream.h"

#include <climits>
#include <cstring>

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

}  // namespace

bool Token::Is(const char* word) const {
    return !overlong && std::strcmp(text, word) == 0;
}

TextStream::TextStream(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), buffer_(kBufferBytes) {}

bool TextStream::Ensure(std::size_t count) {
    if (end_ - position_ >= count)
        return true;
    if (sourceDone_)
        return false;
    std::memmove(buffer_.data(), buffer_.data() + position_, end_ - position_);
    end_ -= position_;
    position_ = 0;
    while (end_ < count && !sourceDone_) {
        const std::size_t got = source_->Read(buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0)
            sourceDone_ = true;
        end_ += got;
    }
    return end_ >= count;
}

int TextStream::Peek() {
    // Once set, the indicator stays set, as on a C stream.
    if (atEnd_ || !Ensure(1)) {
        atEnd_ = true;
        return -1;
    }
    if (buffer_[position_] == '\r' && Ensure(2) && buffer_[position_ + 1] == '\n') {
        ++position_;  // text mode: the CR of a CR LF pair is not seen
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

bool TextStream::SkipSpace() {
    int c = Peek();
    while (c >= 0 && IsSpace(c)) {
        Advance();
        c = Peek();
    }
    return c >= 0;
}

void TextStream::SkipNonSpace() {
    // Straight over the buffer: a token can be as long as the file.
    while (Ensure(1)) {
        while (position_ < end_ && !IsSpace(static_cast<unsigned char>(buffer_[position_]))) {
            ++position_;
        }
        if (position_ < end_)
            return;
    }
    atEnd_ = true;
}

bool TextStream::ScanToken(Token& token) {
    if (!SkipSpace())
        return false;
    Token read;
    int length = 0;
    for (int c = Peek(); c >= 0 && !IsSpace(c); c = Peek()) {
        if (length == Token::kBufferSize - 1) {
            // Too long for the buffer: dropped whole rather than split, so no piece of it can
            // pass for a keyword.
            SkipNonSpace();
            read.overlong = true;
            break;
        }
        read.text[length++] = static_cast<char>(c);
        Advance();
    }
    if (read.overlong)
        read.text[0] = '\0';
    token = read;
    return true;
}

bool TextStream::ScanInt(int& value) {
    if (!SkipSpace())
        return false;
    int c = Peek();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        Advance();  // a sign with no digit after it stays read, as in the C library
        c = Peek();
    }
    if (!IsDigit(c))
        return false;
    long long magnitude = 0;
    for (; IsDigit(c); c = Peek()) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 1LL + INT_MAX)
            magnitude = 1LL + INT_MAX;
        Advance();
    }
    if (negative) {
        value = static_cast<int>(-magnitude);
    } else {
        value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    return true;
}

void TextStream::DiscardLine(int bufferSize) {
    for (int taken = 0; taken < bufferSize - 1; ++taken) {
        const int c = Peek();
        if (c < 0)
            return;
        Advance();
        if (c == '\n')
            return;
    }
}
