#include "mkcontent/Music.h"
#include "mkcontent/Random.h"
#include <algorithm>
#include <cmath>
#include <vorbis/vorbisenc.h>

namespace {

double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// A soft, slightly hollow single-cycle wave: a few odd-weighted harmonics.
struct Wavetable {
    static constexpr int size = 4096;
    std::vector<float> table;
    explicit Wavetable(const std::vector<double>& harmonics) : table(size + 1) {
        double peak = 0;
        for (int i = 0; i <= size; ++i) {
            double phase = 2.0 * M_PI * i / size, v = 0;
            for (size_t h = 0; h < harmonics.size(); ++h) v += harmonics[h] * std::sin(phase * double(h + 1));
            table[i] = float(v);
            peak = std::max(peak, std::fabs(v));
        }
        for (float& v : table) v = float(v / peak);
    }
    float at(double phase) const {  // phase in [0, 1)
        double p = phase * size;
        int i = int(p);
        float f = float(p - i);
        return table[i] + (table[i + 1] - table[i]) * f;
    }
};

struct Note {
    double start, length;  // seconds
    double pitch;          // MIDI note
    double gain, pan;      // pan -1 (left) .. 1 (right)
    double attack, release;
    int voice;             // 0 pad, 1 bass, 2 bell
};

// Adds one note into the dry stereo buffer.
void renderNote(const Note& n, const Wavetable& wave, int rate, std::vector<float>& out, uint64_t seed) {
    Random random(seed);
    int64_t first = int64_t(n.start * rate);
    int64_t count = int64_t((n.length + n.release) * rate);
    int64_t frames = int64_t(out.size() / 2);
    double hz = midiToHz(n.pitch);
    // pads: three slightly detuned copies drifting against each other
    int copies = n.voice == 0 ? 3 : 1;
    double detune[3] = {0.0, 0.07, -0.06};
    double phase[3] = {random.unit(), random.unit(), random.unit()};
    double left = std::sqrt(0.5 * (1.0 - n.pan)), right = std::sqrt(0.5 * (1.0 + n.pan));
    for (int64_t i = 0; i < count && first + i < frames; ++i) {
        double t = double(i) / rate;
        double env;
        if (n.voice == 2) {
            env = (1.0 - std::exp(-t / 0.01)) * std::exp(-t / (n.length * 0.35));
        } else {
            env = std::min(1.0, t / n.attack);
            if (t > n.length) env *= std::max(0.0, 1.0 - (t - n.length) / n.release);
            env = env * env * (3 - 2 * env);
        }
        double v = 0;
        for (int c = 0; c < copies; ++c) {
            double f = hz * std::pow(2.0, detune[c] / 12.0) * (1.0 + 0.0015 * std::sin(2 * M_PI * 0.15 * t + c));
            phase[c] += f / rate;
            phase[c] -= std::floor(phase[c]);
            v += wave.at(phase[c]);
        }
        v *= n.gain * env / copies;
        size_t k = size_t(first + i) * 2;
        out[k] += float(v * left);
        out[k + 1] += float(v * right);
    }
}

// A small Schroeder reverb: parallel feedback combs then series all-passes, per channel.
struct Reverb {
    struct Comb {
        std::vector<float> buffer;
        size_t pos = 0;
        float feedback, damp, store = 0;
        float process(float in) {
            float out = buffer[pos];
            store = out * (1 - damp) + store * damp;
            buffer[pos] = in + store * feedback;
            pos = (pos + 1) % buffer.size();
            return out;
        }
    };
    struct AllPass {
        std::vector<float> buffer;
        size_t pos = 0;
        float process(float in) {
            float delayed = buffer[pos];
            float out = -in + delayed;
            buffer[pos] = in + delayed * 0.5f;
            pos = (pos + 1) % buffer.size();
            return out;
        }
    };
    std::vector<Comb> combs;
    std::vector<AllPass> passes;
    Reverb(int rate, int spread) {
        const int combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491};
        const int passLengths[] = {556, 441, 341};
        double scale = rate / 44100.0;
        for (int l : combLengths) combs.push_back({std::vector<float>(size_t((l + spread) * scale)), 0, 0.86f, 0.3f});
        for (int l : passLengths) passes.push_back({std::vector<float>(size_t((l + spread) * scale))});
    }
    float process(float in) {
        float sum = 0;
        for (auto& c : combs) sum += c.process(in);
        for (auto& p : passes) sum = p.process(sum);
        return sum;
    }
};

// The two progressions: bass note and four pad notes per chord (MIDI numbers). The piece
// plays them in pairs of cycles, A A B B ..., and B ends on a suspended A that leads back
// into A's first chord, so the loop point is also a cadence.
struct Chord {
    int bass;
    int pad[4];
};
const Chord progressionA[8] = {
    {38, {50, 53, 57, 64}}, {34, {50, 53, 57, 58}}, {41, {53, 57, 60, 64}}, {36, {55, 60, 62, 64}},
    {31, {55, 58, 62, 65}}, {34, {53, 58, 62, 69}}, {33, {52, 57, 61, 64}}, {33, {52, 57, 62, 64}},
};
const Chord progressionB[8] = {
    {31, {50, 53, 57, 58}}, {27, {51, 55, 58, 62}}, {34, {50, 53, 58, 62}}, {33, {53, 57, 60, 65}},
    {38, {50, 53, 57, 62}}, {36, {52, 55, 60, 64}}, {34, {50, 53, 58, 65}}, {33, {52, 55, 57, 62}},
};

std::vector<Note> compose(const MusicParams& p) {
    std::vector<Note> notes;
    Random random(p.seed);
    double span = p.secondsPerChord;
    for (int cycle = 0; cycle < p.cycles; ++cycle) {
        bool second = (cycle / 2) % 2 == 1;
        const Chord* progression = second ? progressionB : progressionA;
        for (int c = 0; c < 8; ++c) {
            const Chord& chord = progression[c];
            double start = (cycle * 8 + c) * span;
            notes.push_back({start, span, double(chord.bass), 0.30, 0.0, 2.0, 3.0, 1});
            for (int k = 0; k < 4; ++k) {
                double pan = -0.6 + 0.4 * k;
                notes.push_back({start, span, double(chord.pad[k]), 0.16, pan, 2.5, 3.5, 0});
            }
            // in the inner cycles of every four a high voice doubles the top of the chord
            if (cycle % 4 == 1 || cycle % 4 == 2) {
                notes.push_back({start + 0.5, span - 0.5, double(chord.pad[3] + 12), 0.07, 0.3, 3.0, 3.5, 0});
            }
            // the B cycles add a fifth over the bass for weight
            if (second) notes.push_back({start, span, double(chord.bass + 7), 0.10, -0.2, 2.5, 3.0, 1});
            // sparse bells from the chord's notes, more of them as the piece goes on
            int bells = 1 + (cycle % 2) + random.below(2);
            for (int b = 0; b < bells; ++b) {
                double when = start + random.range(0.3, span - 0.5);
                int note = chord.pad[random.below(4)] + 12 * (1 + random.below(2));
                notes.push_back({when, 3.0, double(note), 0.10, random.range(-0.8, 0.8), 0.01, 0.5, 2});
            }
        }
    }
    return notes;
}

}  // namespace

int64_t musicFrames(const MusicParams& params) {
    return int64_t(params.secondsPerChord * 8 * params.cycles * params.sampleRate + 0.5);
}

std::vector<float> renderMusic(const MusicParams& params) {
    int rate = params.sampleRate;
    int64_t loop = musicFrames(params);
    int64_t tail = int64_t(params.reverbSeconds * rate);
    std::vector<float> dry(size_t(loop + tail) * 2, 0.0f);
    Wavetable pad({1.0, 0.45, 0.25, 0.12, 0.08, 0.04});
    Wavetable bass({1.0, 0.3, 0.1});
    Wavetable bell({1.0, 0.0, 0.35, 0.0, 0.0, 0.12});
    std::vector<Note> notes = compose(params);
    for (size_t i = 0; i < notes.size(); ++i) {
        const Note& n = notes[i];
        const Wavetable& wave = n.voice == 0 ? pad : n.voice == 1 ? bass : bell;
        renderNote(n, wave, rate, dry, params.seed * 1000 + i);
    }
    // Reverb over the whole rendering including its tail, then fold the tail back.
    Reverb left(rate, 0), right(rate, 23);
    std::vector<float> wet(dry.size());
    for (size_t i = 0; i < dry.size(); i += 2) {
        float mono = 0.5f * (dry[i] + dry[i + 1]);
        wet[i] = dry[i] * 0.8f + left.process(mono) * 0.09f;
        wet[i + 1] = dry[i + 1] * 0.8f + right.process(mono) * 0.09f;
    }
    std::vector<float> out(wet.begin(), wet.begin() + loop * 2);
    for (int64_t i = 0; i < tail * 2 && i < loop * 2; ++i) out[size_t(i)] += wet[size_t(loop * 2 + i)];
    float peak = 0;
    for (float v : out) peak = std::max(peak, std::fabs(v));
    if (peak > 0) {
        float gain = 0.8f / peak;
        for (float& v : out) v *= gain;
    }
    return out;
}

std::vector<uint8_t> encodeOggVorbis(const std::vector<float>& stereo, int sampleRate, float quality,
                                     std::string& error) {
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, sampleRate, quality) != 0) {
        vorbis_info_clear(&vi);
        error = "the Vorbis encoder refused its settings";
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Voidrift");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x566f6964);  // fixed serial number: reproducible bytes
    ogg_page page;
    ogg_packet packet;
    auto flushPages = [&](bool force) {
        while (force ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
            out.insert(out.end(), page.header, page.header + page.header_len);
            out.insert(out.end(), page.body, page.body + page.body_len);
        }
    };
    {
        ogg_packet header, comments, codebooks;
        vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
        ogg_stream_packetin(&os, &header);
        ogg_stream_packetin(&os, &comments);
        ogg_stream_packetin(&os, &codebooks);
        flushPages(true);
    }
    const size_t frames = stereo.size() / 2;
    const size_t chunk = 4096;
    for (size_t done = 0;;) {
        size_t n = std::min(chunk, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i) {
                buffer[0][i] = stereo[(done + i) * 2];
                buffer[1][i] = stereo[(done + i) * 2 + 1];
            }
            vorbis_analysis_wrote(&vd, int(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                flushPages(false);
            }
        }
        if (n == 0) break;
    }
    flushPages(true);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}
