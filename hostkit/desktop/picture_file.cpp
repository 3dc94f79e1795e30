// Temporary file, checked writes, then a rename that replaces or one that never does.
#include "hostkit/desktop/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "hostkit/indexed_png.h"

namespace hostkit {
namespace {

// Numbered names are tried this far; a folder with a thousand pictures of one second is odd.
constexpr int kMaxNumber = 1000;

std::string Numbered(const std::string& path, int n) {
    if (n < 2)
        return path;
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string suffix = "-" + std::to_string(n);
    return hasExtension ? path.substr(0, dot) + suffix + path.substr(dot) : path + suffix;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes, int* why) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *why = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Moves `from` to `to` unless `to` exists: EEXIST then, 0 on success, another errno otherwise.
int MoveIfFree(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the no-replace rename: a hard link is just as exclusive.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

}  // namespace

std::string WriteFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                            ExistingFile existing, std::string* error) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = (slash == std::string::npos ? "" : folder) + "." + base + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        *error = path + ": cannot be written: " + std::strerror(errno);
        return "";
    }
    ::fchmod(fd, 0644);
    int why = 0;
    const bool written = WriteAll(fd, bytes, &why);
    if (::close(fd) != 0 && written)
        why = errno;
    if (!written || why != 0) {
        ::unlink(temporary.c_str());
        *error = path + ": cannot be written: " + std::strerror(why);
        return "";
    }
    if (existing == ExistingFile::Replace) {
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            why = errno;
            ::unlink(temporary.c_str());
            *error = path + ": cannot be written: " + std::strerror(why);
            return "";
        }
        return path;
    }
    for (int n = 1; n <= kMaxNumber; ++n) {
        const std::string candidate = Numbered(path, n);
        why = MoveIfFree(temporary, candidate);
        if (why == 0)
            return candidate;
        if (why != EEXIST)
            break;
    }
    ::unlink(temporary.c_str());
    *error = path + ": cannot be written: " +
             (why == EEXIST ? std::string("every numbered name is taken") : std::strerror(why));
    return "";
}

std::string WriteIndexedPngFile(const std::string& path, const BYTE* pixels, int pitch, int width,
                                int height, const PALETTEENTRY* palette, int compressionLevel) {
    const std::vector<std::uint8_t> png =
        EncodeIndexedPng(pixels, pitch, width, height, palette, compressionLevel);
    if (png.empty())
        return path + ": cannot be written: the picture is empty";
    std::string error;
    WriteFileSafely(path, png, ExistingFile::Replace, &error);
    return error;
}

}  // namespace hostkit
