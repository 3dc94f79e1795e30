// Fuzzes the player's sound decoding front: a sound file in memory through libsndfile, the
// bounded decoding window, and the conversion into the plug-in's waveform and spectrum bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "hostkit/waveform.h"
#include "player/sound/file_track.h"

namespace {

// Frames the host hands the plug-in from `start`, converted as the player converts them.
void Show(player::FileTrack& track, std::int64_t start, winampVisModule& module) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(kWaveformSamples) * 2);
    const int got = track.Read(start, kWaveformSamples, samples.data());
    if (got < 0 || got > kWaveformSamples)
        fuzzing::Fail("a read returned more frames than asked for");
    if (track.heldFrames() > track.windowCapacityFrames() + 4096)
        fuzzing::Fail("the decoded window outgrew its bound");
    const hostkit::SoundWindow window{samples.data(), kWaveformSamples, track.storedChannels()};
    hostkit::FillWaveform(window, module);
    hostkit::FillSpectrum(window, module);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::QuietDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    auto track = player::FileTrack::OpenBytes(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.snd", &error);
    if (track == nullptr) {
        if (error.empty())
            fuzzing::Fail("a refused sound file gave no reason");
        return 0;
    }
    if (track->sampleRate() < 1000 || track->sampleRate() > 768000 || track->sourceChannels() < 1 ||
        track->sourceChannels() > 8) {
        fuzzing::Fail("a track was opened with a rate or channel count it refuses");
    }
    winampVisModule module{};
    module.spectrumNch = 2;
    const std::int64_t length = track->lengthFrames();
    // Playing on, a jump back to the start, a seek near the end, and past it.
    for (std::int64_t start : {std::int64_t{0}, std::int64_t{735}, std::int64_t{1470}}) {
        Show(*track, start, module);
    }
    Show(*track, length / 2, module);
    Show(*track, -300, module);
    Show(*track, length - 100, module);
    Show(*track, length + 10, module);
    return 0;
}
