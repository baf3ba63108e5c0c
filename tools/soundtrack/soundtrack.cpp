// Writes the show's soundtrack: a trance piece at 138 beats per minute, 44 bars (about 77 s with
// its tail), synthesised from kick, off-beat bassline, hi-hats, pad and arpeggiated lead, encoded
// as 44100 Hz stereo MP3. Everything is computed from fixed numbers, so every run writes the same
// file.
//
// The mix is made for the spectrum the show reads (512-point bins 86 Hz apart): the kick's falling
// pitch sweeps through bins 1-2 on every beat and is the only part loud there, so bin 2 jumps on
// the beat and rests between; the bass sits below it (bins 0-1), the pad's chords in bins 3-5 and
// the lead's notes and overtones in bins 4-20, all of them ducked by the kick so they pulse with it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/soundtrack/mp3_encode.h"

namespace {

constexpr int kRate = 44100;
constexpr double kBpm = 138.0;
constexpr double kBeat = 60.0 / kBpm;
constexpr double kSixteenth = kBeat / 4.0;
constexpr int kBars = 44;
constexpr double kTail = 1.5;
const double kPi = std::acos(-1.0);

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

struct Bus {
    std::vector<float> left, right;
    explicit Bus(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t Frames() const { return left.size(); }
};

std::size_t FrameAt(double seconds) { return static_cast<std::size_t>(std::llround(seconds * kRate)); }

// Band-limited sawtooth (polynomial correction at each wrap).
struct Saw {
    double phase = 0.0;
    double Next(double hz) {
        double dt = hz / kRate;
        double t = phase;
        double y = 2.0 * t - 1.0;
        if (t < dt) {
            double x = t / dt;
            y -= x + x - x * x - 1.0;
        } else if (t > 1.0 - dt) {
            double x = (t - 1.0) / dt;
            y -= x * x + x + x + 1.0;
        }
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        return y;
    }
};

struct OnePoleLowPass {
    double a = 0.0, state = 0.0;
    explicit OnePoleLowPass(double cutoffHz) : a(1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate)) {}
    double Run(double x) { return state += a * (x - state); }
};

// Chords, one per bar, A minor - F - C - G: pad voicing, bass root, and an eight-step arpeggio.
// The sparkle, high plucks on the eighths, circles 1.3-1.6 kHz.
struct Chord {
    int pad[3];
    int bass;
    int arp[8];
    int sparkle[4];
};
const Chord kChords[4] = {
    {{60, 64, 69}, 33, {69, 72, 76, 79, 81, 79, 76, 72}, {88, 90, 84, 90}},
    {{60, 65, 69}, 29, {65, 69, 72, 76, 77, 76, 72, 69}, {89, 91, 84, 89}},
    {{60, 64, 67}, 36, {67, 72, 76, 79, 83, 79, 76, 72}, {88, 91, 86, 90}},
    {{59, 62, 67}, 31, {67, 71, 74, 78, 79, 78, 74, 71}, {90, 86, 91, 90}},
};

const Chord& ChordOfBar(int bar) { return kChords[bar % 4]; }

void Kick(Bus& drums, double start) {
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(0.40);
    double phase = 0.0;
    for (std::size_t i = 0; i < count && first + i < drums.Frames(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double hz = 48.0 + 140.0 * std::exp(-t / 0.028);
        phase += 2.0 * kPi * hz / kRate;
        double envelope = std::min(1.0, t / 0.0015) * std::exp(-t / 0.20);
        float v = static_cast<float>(0.88 * envelope * std::sin(phase));
        drums.left[first + i] += v;
        drums.right[first + i] += v;
    }
}

struct Noise {
    std::uint32_t state = 0x9E3779B9u;
    double Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

void Hat(Bus& drums, Noise& noise, double start, double decay, double level, double pan) {
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(decay * 6.0);
    // Two one-pole high-passes: what is left is mostly above 6 kHz, far over the bins the show reads.
    OnePoleLowPass low1(6000.0), low2(6000.0);
    for (std::size_t i = 0; i < count && first + i < drums.Frames(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double x = noise.Next();
        double high = x - low1.Run(x);
        high = high - low2.Run(high);
        double v = level * std::exp(-t / decay) * high;
        drums.left[first + i] += static_cast<float>(v * (1.0 - pan));
        drums.right[first + i] += static_cast<float>(v * (1.0 + pan));
    }
}

// Hand clap: a few quick bursts of noise band-passed around 1-2.5 kHz.
void Clap(Bus& drums, Noise& noise, double start, double level) {
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(0.25);
    OnePoleLowPass high1(900.0), high2(900.0), low1(2500.0), low2(2500.0);
    for (std::size_t i = 0; i < count && first + i < drums.Frames(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double x = noise.Next();
        double band = x - high1.Run(x);
        band = band - high2.Run(band);
        band = low2.Run(low1.Run(band));
        double bursts = t < 0.03 ? std::exp(-std::fmod(t, 0.01) / 0.003) : std::exp(-(t - 0.03) / 0.06);
        double v = level * bursts * band;
        drums.left[first + i] += static_cast<float>(v);
        drums.right[first + i] += static_cast<float>(v);
    }
}

void BassNote(Bus& music, double start, double length, int midi) {
    double hz = NoteHz(midi);
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(length + 0.03);
    double phase = 0.0;
    for (std::size_t i = 0; i < count && first + i < music.Frames(); ++i) {
        double t = static_cast<double>(i) / kRate;
        phase += 2.0 * kPi * hz / kRate;
        double envelope = std::min(1.0, t / 0.004) * (0.55 + 0.45 * std::exp(-t / 0.05));
        if (t > length) envelope *= std::max(0.0, 1.0 - (t - length) / 0.03);
        double v = 0.30 * envelope * (std::sin(phase) + 0.30 * std::sin(2.0 * phase) + 0.10 * std::sin(3.0 * phase));
        music.left[first + i] += static_cast<float>(v);
        music.right[first + i] += static_cast<float>(v);
    }
}

void PadChord(Bus& pad, double start, double length, const Chord& chord, double level) {
    static const double kDetune[3] = {-0.006, 0.0, 0.0055};
    static const double kPan[3] = {-0.5, 0.0, 0.5};
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(length + 0.2);
    for (int note = 0; note < 3; ++note) {
        double hz = NoteHz(chord.pad[note]);
        for (int voice = 0; voice < 3; ++voice) {
            // Fixed, different starting phases keep the voices from summing into one click.
            Saw saw;
            saw.phase = 0.13 * (note * 3 + voice + 1) - std::floor(0.13 * (note * 3 + voice + 1));
            double vhz = hz * (1.0 + kDetune[voice]);
            for (std::size_t i = 0; i < count && first + i < pad.Frames(); ++i) {
                double t = static_cast<double>(i) / kRate;
                double envelope = std::min(1.0, t / 0.06);
                if (t > length) envelope *= std::max(0.0, 1.0 - (t - length) / 0.2);
                double v = level * envelope * saw.Next(vhz);
                pad.left[first + i] += static_cast<float>(v * (1.0 - kPan[voice]));
                pad.right[first + i] += static_cast<float>(v * (1.0 + kPan[voice]));
            }
        }
    }
}

void LeadNote(Bus& lead, double start, int midi, double level) {
    double hz = NoteHz(midi);
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(kSixteenth * 1.6);
    Saw saw, sub;
    for (std::size_t i = 0; i < count && first + i < lead.Frames(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double envelope = std::min(1.0, t / 0.002) * std::exp(-t / 0.075);
        double v = level * envelope * (0.7 * saw.Next(hz) + 0.3 * sub.Next(hz * 1.004));
        lead.left[first + i] += static_cast<float>(v);
        lead.right[first + i] += static_cast<float>(v);
    }
}

void Sparkle(Bus& lead, double start, int midi, double level, double pan) {
    double hz = NoteHz(midi);
    std::size_t first = FrameAt(start);
    std::size_t count = FrameAt(0.25);
    double phase = 0.0;
    for (std::size_t i = 0; i < count && first + i < lead.Frames(); ++i) {
        double t = static_cast<double>(i) / kRate;
        phase += 2.0 * kPi * hz / kRate;
        double envelope = std::min(1.0, t / 0.001) * std::exp(-t / 0.06);
        double v = level * envelope * (std::sin(phase) + 0.2 * std::sin(2.0 * phase));
        lead.left[first + i] += static_cast<float>(v * (1.0 - pan));
        lead.right[first + i] += static_cast<float>(v * (1.0 + pan));
    }
}

void LowPass(std::vector<float>& signal, double cutoffHz, int stages) {
    for (int s = 0; s < stages; ++s) {
        OnePoleLowPass filter(cutoffHz);
        for (float& x : signal) x = static_cast<float>(filter.Run(x));
    }
}

// A dotted-eighth echo, each repeat on the other side.
void Echo(Bus& bus, double delaySeconds, double feedback) {
    std::size_t delay = FrameAt(delaySeconds);
    for (std::size_t i = delay; i < bus.Frames(); ++i) {
        bus.left[i] += static_cast<float>(feedback * bus.right[i - delay]);
        bus.right[i] += static_cast<float>(feedback * bus.left[i - delay]);
    }
}

double SoftClip(double x) {
    const double knee = 0.8;
    double a = std::fabs(x);
    if (a <= knee) return x;
    double y = knee + (1.0 - knee) * std::tanh((a - knee) / (1.0 - knee));
    return x < 0 ? -y : y;
}

std::vector<std::int16_t> Render() {
    const double songEnd = kBars * 4 * kBeat;
    const std::size_t frames = FrameAt(songEnd + kTail);
    Bus drums(frames), music(frames), pad(frames), lead(frames);
    Noise noise;
    std::vector<double> kicks;

    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& chord = ChordOfBar(bar);
        double barStart = bar * 4 * kBeat;
        for (int beat = 0; beat < 4; ++beat) {
            double t = barStart + beat * kBeat;
            if (bar < 42) {
                Kick(drums, t);
                kicks.push_back(t);
            }
            if (bar < 42) {
                // Open hat on the off-beat, closed hats on the sixteenths between.
                Hat(drums, noise, t + 2 * kSixteenth, 0.06, 0.16, 0.1);
                if (bar >= 4) {
                    Hat(drums, noise, t + kSixteenth, 0.015, 0.07, -0.3);
                    Hat(drums, noise, t + 3 * kSixteenth, 0.015, 0.09, 0.3);
                }
            }
            if (bar >= 8 && bar < 42 && beat % 2 == 1) Clap(drums, noise, t, 0.9);
            if (bar >= 4 && bar < 42) BassNote(music, t + 2 * kSixteenth, 1.7 * kSixteenth, chord.bass);
            if (bar >= 8 && bar < 42) BassNote(music, t + 3 * kSixteenth, 0.8 * kSixteenth, chord.bass + 12);
        }
        double padLevel = bar < 4 ? 0.025 + 0.008 * bar : 0.055;
        if (bar >= 42) padLevel = 0.055 * (kBars - bar) / 3.0;
        PadChord(pad, barStart, 4 * kBeat, chord, padLevel);
        if (bar >= 10 && bar < 40) {
            double level = bar < 12 ? 0.10 : 0.20;
            for (int step = 0; step < 16; ++step) {
                LeadNote(lead, barStart + step * kSixteenth, chord.arp[step % 8] + (step >= 8 && bar % 2 ? 12 : 0), level);
            }
        }
        if (bar >= 12 && bar < 40) {
            for (int eighth = 0; eighth < 8; ++eighth) {
                Sparkle(lead, barStart + (2 * eighth + 1) * kSixteenth, chord.sparkle[eighth % 4], 0.10,
                        eighth % 2 ? 0.4 : -0.4);
            }
        }
    }
    LowPass(pad.left, 1400.0, 2);
    LowPass(pad.right, 1400.0, 2);
    LowPass(lead.left, 5000.0, 1);
    LowPass(lead.right, 5000.0, 1);
    Echo(lead, 3 * kSixteenth, 0.35);

    // Side-chain: everything but the drums gives way to each kick and swells back before the next.
    std::vector<float> duck(frames, 1.0f);
    for (double k : kicks) {
        std::size_t first = FrameAt(k);
        for (std::size_t i = 0; i < FrameAt(kBeat) && first + i < frames; ++i) {
            double t = static_cast<double>(i) / kRate;
            duck[first + i] = static_cast<float>(1.0 - 0.65 * std::exp(-t / 0.10));
        }
    }

    std::vector<std::int16_t> pcm(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        double fade = 1.0;
        double t = static_cast<double>(i) / kRate;
        if (t > songEnd) fade = std::max(0.0, 1.0 - (t - songEnd) / kTail);
        double d = duck[i];
        double l = drums.left[i] + d * (music.left[i] + pad.left[i] + lead.left[i]);
        double r = drums.right[i] + d * (music.right[i] + pad.right[i] + lead.right[i]);
        pcm[2 * i] = static_cast<std::int16_t>(std::lrint(32000.0 * SoftClip(fade * l)));
        pcm[2 * i + 1] = static_cast<std::int16_t>(std::lrint(32000.0 * SoftClip(fade * r)));
    }
    return pcm;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.mp3\n", argv[0]);
        return 2;
    }
    std::string path = argv[1];
    std::string partial = path + ".part";
    std::vector<std::int16_t> pcm = Render();
    mp3encode::Settings settings;
    settings.rate = kRate;
    settings.channels = 2;
    settings.kbps = 192;
    settings.quality = 5;
    mp3encode::FileWriter writer;
    if (!writer.Open(partial, settings) || !writer.Write(pcm.data(), pcm.size() / 2) || !writer.Close() ||
        std::rename(partial.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
