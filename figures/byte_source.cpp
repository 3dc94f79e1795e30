// The file and memory byte sources of the DXF reader.
#include "figures/byte_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "figures/figure_constants.h"
#include "platform/win32.h"

std::size_t MemorySource::Read(char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, bytes_.size() - offset_);
    std::memcpy(buffer, bytes_.data() + offset_, count);
    offset_ += count;
    return count;
}

std::unique_ptr<FileSource> FileSource::Open(const char* fileName) {
    if (fileName == nullptr)
        return nullptr;
    // A named pipe would block the open, and a device could give bytes without end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return nullptr;
    // Binary: the text stream above turns CR LF into LF itself, the same on every system.
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr)
        return nullptr;
    return std::unique_ptr<FileSource>(new FileSource(file, fileName));
}

FileSource::~FileSource() {
    std::fclose(file_);
}

std::size_t FileSource::Read(char* buffer, std::size_t size) {
    const std::size_t room = figures::kMaxDrawingBytes - readBytes_;
    if (room == 0)
        return 0;
    const std::size_t got = std::fread(buffer, 1, std::min(size, room), file_);
    readBytes_ += got;
    if (readBytes_ == figures::kMaxDrawingBytes && got > 0 && std::fgetc(file_) != EOF) {
        const std::string line = "tolvek: figure file " + fileName_ + " is larger than " +
                                 std::to_string(figures::kMaxDrawingBytes >> 20) +
                                 " MiB; the rest is not read\n";
        OutputDebugStringA(line.c_str());
    }
    return got;
}
