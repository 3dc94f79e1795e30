// Synthesis of the built-in tune: bar after bar, each note is mixed into a window of two bars
// of doubles, and what lies before the bar being written is final and goes out as 16 bits.
// Mixing the whole tune first held 85 MB at once; the window holds 3 MB.
#include "hostkit/builtin_tune.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace hostkit {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kBeat = kTuneBarSeconds / 4.0;

// A small deterministic generator, so the tune never depends on the C library.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double Next() {  // -1..1
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
    }
    std::uint32_t Below(std::uint32_t n) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 16) % n;
    }

  private:
    std::uint32_t state_;
};

// The loudest moment of the mix (bar 45's kick on the bass and the melody), and the gain that
// puts it at 89 % of full scale. Fixed rather than measured after mixing, so the samples can be
// written out bar by bar; a test checks it is still the tune's loudest moment.
constexpr double kLoudestMix = 1.3318485556595168;
constexpr double kGain = 0.89 * 32767.0 / kLoudestMix;

class Mix {
  public:
    explicit Mix(std::size_t frames) : samples_(frames * 2) {}

    // Adds a voice from `start` seconds for `seconds`: sample(t) with t from the note's start,
    // panned from -1 (left) to 1 (right). It starts at or after the bar being written and ends
    // within the next one.
    template <typename Voice>
    void Add(double start, double seconds, double pan, Voice voice) {
        auto first = static_cast<std::size_t>(start * kTuneSampleRate);
        auto count = static_cast<std::size_t>(seconds * kTuneSampleRate);
        double gainLeft = std::sqrt(0.5 * (1.0 - pan));
        double gainRight = std::sqrt(0.5 * (1.0 + pan));
        const std::size_t total = samples_.size() / 2;
        for (std::size_t i = 0; i < count && first + i < total; ++i) {
            const std::size_t at = first + i - origin_;
            if (first + i < origin_ || at >= kWindow)
                throw std::logic_error("a note of the built-in tune falls outside its window");
            double value = voice(static_cast<double>(i) / kTuneSampleRate);
            left_[at] += value * gainLeft;
            right_[at] += value * gainRight;
        }
    }

    // Everything before `frame` is final: written out, and the window moved on to start there.
    void Complete(std::size_t frame) {
        frame = std::min(frame, samples_.size() / 2);
        const std::size_t done = frame - origin_;
        for (std::size_t i = 0; i < done; ++i) {
            samples_[2 * (origin_ + i)] = Quantize(left_[i]);
            samples_[2 * (origin_ + i) + 1] = Quantize(right_[i]);
        }
        std::copy(left_.begin() + static_cast<std::ptrdiff_t>(done), left_.end(), left_.begin());
        std::copy(right_.begin() + static_cast<std::ptrdiff_t>(done), right_.end(), right_.begin());
        std::fill(left_.end() - static_cast<std::ptrdiff_t>(done), left_.end(), 0.0);
        std::fill(right_.end() - static_cast<std::ptrdiff_t>(done), right_.end(), 0.0);
        origin_ = frame;
    }

    std::vector<std::int16_t> Take() { return std::move(samples_); }

  private:
    static constexpr std::size_t kWindow =
        static_cast<std::size_t>(2 * kTuneBarSeconds * kTuneSampleRate);

    static std::int16_t Quantize(double value) {
        return static_cast<std::int16_t>(std::clamp(std::lround(value * kGain), -32768L, 32767L));
    }

    std::vector<std::int16_t> samples_;  // the tune, left and right interleaved
    std::size_t origin_ = 0;             // the frame at the window's start
    std::vector<double> left_ = std::vector<double>(kWindow);
    std::vector<double> right_ = std::vector<double>(kWindow);
};

double NoteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void Kick(Mix& mix, double at, double level) {
    mix.Add(at, 0.35, 0.0, [level](double t) {
        double phase = kTwoPi * (45.0 * t + (75.0 / 18.0) * (1.0 - std::exp(-18.0 * t)));
        return level * std::sin(phase) * std::exp(-9.0 * t);
    });
}

void Snare(Mix& mix, double at, double level, Noise& noise) {
    mix.Add(at, 0.22, 0.1, [level, &noise](double t) {
        double body = 0.5 * std::sin(kTwoPi * 185.0 * t) * std::exp(-30.0 * t);
        return level * (body + 0.6 * noise.Next() * std::exp(-16.0 * t));
    });
}

void Hat(Mix& mix, double at, double level, Noise& noise) {
    double previous = 0.0;
    mix.Add(at, 0.06, 0.4, [level, &noise, previous](double t) mutable {
        double value = noise.Next();
        double high = value - previous;  // a crude high pass
        previous = value;
        return level * 0.5 * high * std::exp(-70.0 * t);
    });
}

void Bass(Mix& mix, double at, double seconds, int midi, double level) {
    double hz = NoteHz(midi);
    mix.Add(at, seconds, -0.1, [hz, level, seconds](double t) {
        double value = std::sin(kTwoPi * hz * t) + 0.45 * std::sin(2 * kTwoPi * hz * t) +
                       0.2 * std::sin(3 * kTwoPi * hz * t);
        double release = std::min(1.0, (seconds - t) * 40.0);
        return level * value * std::exp(-3.0 * t) * release;
    });
}

void Lead(Mix& mix, double at, double seconds, int midi, double level, double pan) {
    double hz = NoteHz(midi);
    mix.Add(at, seconds, pan, [hz, level, seconds](double t) {
        double vibrato = 1.0 + 0.004 * std::sin(kTwoPi * 5.5 * t) * std::min(1.0, t * 4.0);
        double phase = kTwoPi * hz * vibrato * t;
        double value = std::sin(phase) + std::sin(3 * phase) / 3.0 + std::sin(5 * phase) / 5.0;
        double attack = std::min(1.0, t * 200.0);
        double release = std::min(1.0, (seconds - t) * 30.0);
        return level * value * attack * release * std::exp(-1.5 * t);
    });
}

void Pad(Mix& mix, double at, double seconds, const std::array<int, 3>& chord, double level) {
    for (std::size_t k = 0; k < chord.size(); ++k) {
        double hz = NoteHz(chord[k] + 12);
        double pan = static_cast<double>(k) - 1.0;
        mix.Add(at, seconds, pan * 0.6, [hz, level, seconds](double t) {
            double swell = std::sin(std::numbers::pi * t / seconds);
            return level * swell *
                   (std::sin(kTwoPi * hz * t) + 0.3 * std::sin(kTwoPi * 2.01 * hz * t));
        });
    }
}

// A minor, F major, C major, G major: roots and triads as MIDI notes.
constexpr std::array<int, 4> kRoots = {45, 41, 48, 43};
constexpr std::array<std::array<int, 3>, 4> kChords = {
    {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}}};
// A minor pentatonic around the fifth octave.
constexpr std::array<int, 8> kScale = {69, 72, 74, 76, 79, 81, 84, 86};

}  // namespace

std::unique_ptr<MemoryTrack> MakeBuiltinTune() {
    const auto frames = static_cast<std::size_t>(kTuneBars * kTuneBarSeconds * kTuneSampleRate);
    Mix mix(frames);
    Noise drums(0x7011u);
    Noise melody(0x5eedu);
    int note = 3;
    for (int bar = 0; bar < kTuneBars; ++bar) {
        const double start = bar * kTuneBarSeconds;
        mix.Complete(static_cast<std::size_t>(start * kTuneSampleRate));
        const int chord = bar % 4;
        const bool intro = bar < 4;
        const bool breakdown = bar >= 28 && bar < 32;
        const bool withMelody = (bar >= 12 && bar < 28) || (bar >= 32 && bar < 46);
        const double fade = bar == kTuneBars - 1 ? 0.4 : 1.0;
        if (breakdown) {
            Pad(mix, start, kTuneBarSeconds, kChords[static_cast<std::size_t>(chord)], 0.07);
            Lead(mix, start, kBeat * 2, kScale[static_cast<std::size_t>(chord + 2)], 0.05, 0.3);
            continue;
        }
        for (int beat = 0; beat < 4; ++beat) {
            const double at = start + beat * kBeat;
            if (beat % 2 == 0 || (bar % 4 == 3 && beat == 3))
                Kick(mix, at, 0.9 * fade);
            if (!intro && beat % 2 == 1)
                Snare(mix, at, 0.45 * fade, drums);
            for (int half = 0; half < 2; ++half) {
                Hat(mix, at + half * kBeat / 2, (half == 0 ? 0.25 : 0.15) * fade, drums);
            }
        }
        // A fill of sixteenth snares before every eighth bar.
        if (bar % 8 == 7) {
            for (int s = 0; s < 4; ++s)
                Snare(mix, start + 3 * kBeat + s * kBeat / 4, 0.3, drums);
        }
        if (bar >= 4) {
            const int root = kRoots[static_cast<std::size_t>(chord)];
            for (int eighth = 0; eighth < 8; ++eighth) {
                int midi = root + (eighth % 4 == 2 ? 12 : 0) + (eighth == 7 ? 7 : 0);
                Bass(mix, start + eighth * kBeat / 2, kBeat / 2 * 0.9, midi, 0.32 * fade);
            }
        }
        if (withMelody) {
            // A random walk over the scale, with rests, the same every run.
            for (int eighth = 0; eighth < 8; ++eighth) {
                if (melody.Below(5) == 0)
                    continue;
                note = std::clamp(note + static_cast<int>(melody.Below(5)) - 2, 0, 7);
                double length = (melody.Below(3) == 0 ? 2 : 1) * kBeat / 2;
                double pan = bar >= 32 ? -0.3 : 0.2;
                Lead(mix, start + eighth * kBeat / 2, length,
                     kScale[static_cast<std::size_t>(note)], 0.16 * fade, pan);
            }
        }
    }
    mix.Complete(frames);
    return std::make_unique<MemoryTrack>("built-in tune", kTuneSampleRate, 2, mix.Take());
}

}  // namespace hostkit
