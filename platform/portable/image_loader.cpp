// LoadImageA on Linux: bitmap files read with a bound and decoded; there is no resource store.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/bmp_decoder.h"
#include "platform/portable/gdi_objects.h"

namespace {

// The one line a picture that cannot be loaded leaves on the error output.
void ReportBadPicture(const char* name, const std::string& reason) {
    std::fprintf(stderr, "picture %s: %s\n", name, reason.c_str());
    std::fflush(stderr);
}

// Empty on success, otherwise why the file could not be read.
std::string ReadPictureFile(const char* path, std::vector<std::uint8_t>& bytes) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer for ever.
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::string("cannot open: ") + std::strerror(errno);
    struct stat info {};
    std::string problem;
    if (fstat(fd, &info) != 0) {
        problem = std::string("cannot read: ") + std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        problem = "not a regular file";
    } else if (info.st_size > platform::kMaxBmpFileBytes) {
        problem = "file of " + std::to_string(info.st_size) + " bytes is too large for a picture";
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                problem = std::string("cannot read: ") + std::strerror(errno);
                break;
            }
            if (n == 0)
                break;  // the file shrank while we read it
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
    }
    close(fd);
    return problem;
}

}  // namespace

extern "C" HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                             UINT flags) {
    (void)instance;
    // Small values are resource numbers, not names.
    if (reinterpret_cast<std::uintptr_t>(name) < 0x10000)
        return nullptr;
    // Without LR_LOADFROMFILE the name is a resource: Linux has no resource store.
    if ((flags & LR_LOADFROMFILE) == 0)
        return nullptr;
    if (type != IMAGE_BITMAP) {
        ReportBadPicture(name, "only bitmaps can be loaded");
        return nullptr;
    }
    if (width != 0 || height != 0) {
        ReportBadPicture(name, "loading at a size other than the picture's own is not offered");
        return nullptr;
    }
    std::vector<std::uint8_t> bytes;
    if (std::string problem = ReadPictureFile(name, bytes); !problem.empty()) {
        ReportBadPicture(name, problem);
        return nullptr;
    }
    platform::BmpDecodeResult decoded = platform::DecodeBmp(bytes);
    if (!decoded.ok()) {
        ReportBadPicture(name, decoded.error);
        return nullptr;
    }
    auto* picture = new HGDIOBJ__;
    picture->picture = std::move(decoded.image);
    return picture;
}
