// Where the DXF reader's bytes come from: a file on disk or bytes held in memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 once the bytes are used up (or the file cannot be read).
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// A copy of some bytes, so the caller's buffer may go away; used by tests and fuzzers.
class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* buffer, std::size_t size) override;

  private:
    std::string bytes_;
    std::size_t offset_ = 0;
};

class FileSource final : public ByteSource {
  public:
    // Null when the file cannot be opened or is not a regular file (a folder, a pipe, a device).
    static std::unique_ptr<FileSource> Open(const char* fileName);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    std::size_t Read(char* buffer, std::size_t size) override;

  private:
    FileSource(std::FILE* file, const char* fileName) : file_(file), fileName_(fileName) {}
    std::FILE* file_;
    std::string fileName_;
    std::size_t readBytes_ = 0;
};
