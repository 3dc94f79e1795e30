// Writing test sound files.
#include "tests/player/sound_files.h"

#include <sndfile.h>
#include <stdlib.h>

#include <filesystem>
#include <vector>

namespace player_testing {

ScratchFolder::ScratchFolder(bool inMemory) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tolvek-player-XXXXXX").string();
    // Tens of thousands of folders are made and removed in a moment in memory; on some disks
    // removing them takes a minute.
    std::string inRam = "/dev/shm/tolvek-player-XXXXXX";
    if (inMemory && mkdtemp(inRam.data()) != nullptr)
        path_ = inRam;
    else
        path_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (path_ != "/tmp")
        std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text.push_back(static_cast<char>(c));
    return text;
}

std::string WriteSoundFile(const std::string& path, int format, int sampleRate, int channels,
                           long frames, const std::function<double(long, int)>& sample) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return sf_strerror(nullptr);
    std::vector<double> data(static_cast<std::size_t>(frames) * channels);
    for (long f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            data[static_cast<std::size_t>(f * channels + c)] = sample(f, c);
        }
    }
    sf_count_t written = sf_writef_double(file, data.data(), frames);
    sf_close(file);
    return written == frames ? std::string() : std::string("short write");
}

std::string WriteSamples16(const std::string& path, int sampleRate, int channels, long frames,
                           const std::function<short(long, int)>& sample) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return sf_strerror(nullptr);
    std::vector<short> data(static_cast<std::size_t>(frames) * channels);
    for (long f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            data[static_cast<std::size_t>(f * channels + c)] = sample(f, c);
        }
    }
    sf_count_t written = sf_writef_short(file, data.data(), frames);
    sf_close(file);
    return written == frames ? std::string() : std::string("short write");
}

}  // namespace player_testing
