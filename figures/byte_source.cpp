// The file and memory byte sources of the DXF reader.
#include "figures/byte_source.h"

#include <algorithm>
#include <cstring>

std::size_t MemorySource::Read(char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, bytes_.size() - offset_);
    std::memcpy(buffer, bytes_.data() + offset_, count);
    offset_ += count;
    return count;
}

std::unique_ptr<FileSource> FileSource::Open(const char* fileName) {
    if (fileName == nullptr)
        return nullptr;
    // Binary: the text stream above turns CR LF into LF itself, the same on every system.
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr)
        return nullptr;
    return std::unique_ptr<FileSource>(new FileSource(file));
}

FileSource::~FileSource() {
    std::fclose(file_);
}

std::size_t FileSource::Read(char* buffer, std::size_t size) {
    return std::fread(buffer, 1, size, file_);
}
