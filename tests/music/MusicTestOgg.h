// Test helpers for the music tests: a sine wave encoded with libvorbisenc, and the
// reference decode of any Ogg buffer through libvorbisfile's own stdio reader.
#pragma once

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

// `seconds` of a sine at `frequency` Hz, amplitude 0.5, in every channel, with
// optional white noise of amplitude `noise` (which makes many more pages).
inline std::vector<std::uint8_t> encodeSineOgg(int rate, int channels, double seconds, double frequency,
                                               double noise = 0.0)
{
    std::uint32_t noiseState = 12345;
    std::vector<std::uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    auto append = [&out](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        append(page);

    const long total = std::lround(seconds * rate);
    constexpr long kChunk = 1024;
    long written = 0;
    bool ended = false;
    while (!ended) {
        const long count = total - written < kChunk ? total - written : kChunk;
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (long i = 0; i < count; ++i) {
                const double t = static_cast<double>(written + i) / rate;
                const double tone = 0.5 * std::sin(2.0 * std::numbers::pi * frequency * t);
                for (int c = 0; c < channels; ++c) {
                    noiseState = noiseState * 1664525u + 1013904223u;
                    const double hiss = noise * ((noiseState >> 8) / 8388608.0 - 1.0);
                    buffer[c][i] = static_cast<float>(tone + hiss);
                }
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            written += count;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(page);
                    if (ogg_page_eos(&page))
                        ended = true;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

// Every sample libvorbisfile decodes from `ogg` (16-bit, host order), read through
// its stdio reader rather than the stream's own memory callbacks; `channels` gets
// the channel count.
inline std::vector<std::int16_t> referenceDecode(const std::vector<std::uint8_t>& ogg, int* channels = nullptr)
{
    std::vector<std::int16_t> samples;
    // A temporary file rather than fmemopen, which Windows lacks.
    FILE* file = std::tmpfile();
    if (file == nullptr)
        return samples;
    if (std::fwrite(ogg.data(), 1, ogg.size(), file) != ogg.size()) {
        std::fclose(file);
        return samples;
    }
    std::rewind(file);
    OggVorbis_File vf;
    if (ov_open(file, &vf, nullptr, 0) != 0) {
        std::fclose(file);
        return samples;
    }
    if (channels != nullptr)
        *channels = ov_info(&vf, -1)->channels;
    char buffer[4096];
    int link = 0;
    for (;;) {
        const long got = ov_read(&vf, buffer, sizeof buffer, std::endian::native == std::endian::big, 2, 1, &link);
        if (got == OV_HOLE)
            continue;
        if (got <= 0)
            break;
        const std::size_t old = samples.size();
        samples.resize(old + static_cast<std::size_t>(got) / 2);
        std::memcpy(samples.data() + old, buffer, static_cast<std::size_t>(got));
    }
    ov_clear(&vf);  // closes the file
    return samples;
}
