// Resources and the old file-handle calls on Linux: no resource store, POSIX file descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win32.h"

extern "C" {

// A Linux program carries no resources: every lookup misses.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    (void)module;
    (void)name;
    (void)type;
    return nullptr;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    (void)module;
    (void)resource;
    return nullptr;
}

LPVOID LockResource(HGLOBAL resource) {
    (void)resource;
    return nullptr;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    (void)module;
    (void)resource;
    return 0;
}

HFILE _lopen(LPCSTR path, int mode) {
    if (path == nullptr)
        return HFILE_ERROR;
    const int access = (mode & 3) == 1 ? O_WRONLY : (mode & 3) == 2 ? O_RDWR : O_RDONLY;
    // Without O_NONBLOCK, opening a named pipe would wait for a writer for ever.
    const int fd = open(path, access | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return HFILE_ERROR;
    // Only regular files: folders are not files to read, as on Windows, and pipes and devices
    // could give bytes without end or none at all.
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return HFILE_ERROR;
    }
    return fd;
}

// Reads until `bytes` are in or the file ends; fewer only at the end of the file.
UINT _lread(HFILE file, LPVOID buffer, UINT bytes) {
    if (file < 0 || (buffer == nullptr && bytes > 0))
        return static_cast<UINT>(HFILE_ERROR);
    auto* out = static_cast<BYTE*>(buffer);
    UINT got = 0;
    while (got < bytes) {
        const ssize_t n = read(file, out + got, bytes - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return got > 0 ? got : static_cast<UINT>(HFILE_ERROR);
        if (n == 0)
            break;
        got += static_cast<UINT>(n);
    }
    return got;
}

HFILE _lclose(HFILE file) {
    if (file < 0 || close(file) != 0)
        return HFILE_ERROR;
    return 0;
}

}  // extern "C"
