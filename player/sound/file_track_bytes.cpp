// Sound files held in memory, read through libsndfile's virtual input: the same decoding front
// as files on disk, for bytes that never were a file (fuzzing, tests).
#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "player/sound/file_track.h"

namespace player {
namespace {

struct MemoryFile {
    std::string bytes;
    sf_count_t position = 0;
};

sf_count_t MemoryLength(void* data) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(data)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* data) {
    auto* file = static_cast<MemoryFile*>(data);
    const sf_count_t size = static_cast<sf_count_t>(file->bytes.size());
    sf_count_t base = whence == SEEK_CUR ? file->position : whence == SEEK_END ? size : 0;
    // Positions before the start are refused; past the end they read nothing.
    if (offset < -base || offset > std::numeric_limits<sf_count_t>::max() - base)
        return -1;
    file->position = base + offset;
    return file->position;
}

sf_count_t MemoryRead(void* out, sf_count_t count, void* data) {
    auto* file = static_cast<MemoryFile*>(data);
    const sf_count_t size = static_cast<sf_count_t>(file->bytes.size());
    if (count <= 0 || file->position >= size)
        return 0;
    const sf_count_t n = std::min(count, size - file->position);
    std::memcpy(out, file->bytes.data() + file->position, static_cast<std::size_t>(n));
    file->position += n;
    return n;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t MemoryTell(void* data) {
    return static_cast<MemoryFile*>(data)->position;
}

}  // namespace

std::unique_ptr<FileTrack> FileTrack::OpenBytes(std::string_view bytes, const std::string& name,
                                                std::string* error) {
    static SF_VIRTUAL_IO io = {MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    auto memory = std::make_shared<MemoryFile>();
    memory->bytes.assign(bytes);
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, memory.get());
    std::unique_ptr<FileTrack> track(new FileTrack());
    track->path_ = name;
    track->bytes_ = std::move(memory);
    return Start(std::move(track), file, info.channels, info.samplerate, info.frames,
                 info.seekable != 0, error);
}

}  // namespace player
