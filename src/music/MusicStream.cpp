#include "music/MusicStream.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <bit>
#include <cstdio>
#include <cstring>

namespace {

// libvorbisfile reads the member's buffer in place through these.
std::size_t memoryRead(void* destination, std::size_t size, std::size_t count, void* datasource)
{
    auto* source = static_cast<MusicStream::MemorySourceView*>(datasource);
    if (size == 0 || count == 0)
        return 0;
    const std::uint32_t left = source->size - source->position;
    std::size_t items = count;
    if (items > left / size)
        items = left / size;
    std::memcpy(destination, source->data + source->position, items * size);
    source->position += static_cast<std::uint32_t>(items * size);
    return items;
}

int memorySeek(void* datasource, ogg_int64_t offset, int whence)
{
    auto* source = static_cast<MusicStream::MemorySourceView*>(datasource);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR)
        base = source->position;
    else if (whence == SEEK_END)
        base = source->size;
    else if (whence != SEEK_SET)
        return -1;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(source->size))
        return -1;
    source->position = static_cast<std::uint32_t>(target);
    return 0;
}

long memoryTell(void* datasource)
{
    return static_cast<long>(static_cast<MusicStream::MemorySourceView*>(datasource)->position);
}

// Walks the Ogg pages of the whole buffer: true when every byte belongs to a
// complete page and the last page closes the stream.
bool endsWithWholeFinalPage(const std::uint8_t* data, std::uint32_t size)
{
    constexpr std::uint32_t kChunk = 65536;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    bool lastPageEnds = false;
    std::uint32_t fed = 0;
    for (;;) {
        ogg_page page;
        const long result = ogg_sync_pageseek(&sync, &page);
        if (result > 0) {
            lastPageEnds = ogg_page_eos(&page) != 0;
            continue;
        }
        if (result < 0)
            continue;  // bytes skipped while looking for a page
        if (fed == size)
            break;
        const std::uint32_t count = size - fed < kChunk ? size - fed : kChunk;
        char* buffer = ogg_sync_buffer(&sync, count);
        if (buffer == nullptr)
            break;
        std::memcpy(buffer, data + fed, count);
        ogg_sync_wrote(&sync, count);
        fed += count;
    }
    const bool leftover = sync.fill > sync.returned;
    ogg_sync_clear(&sync);
    return lastPageEnds && !leftover;
}

// Vorbis channel order puts the centre second from three channels up (L C R ...),
// but not for four (FL FR RL RR); the right front is what stereo wants.
int rightChannel(int channels)
{
    if (channels == 1)
        return 0;
    if (channels == 2 || channels == 4)
        return 1;
    return 2;
}

// A damaged stream can yield holes without frames; after this many decode calls in
// a row that give nothing, playback gives up rather than spin on the audio thread.
constexpr int kMaxEmptyDecodes = 64;

}  // namespace

MusicStream::~MusicStream()
{
    close();
}

int MusicStream::open(const std::uint8_t* data, std::uint32_t size, int outputRate)
{
    close();
    if (data == nullptr || size == 0 || outputRate <= 0)
        return OV_ENOTVORBIS;
    source_ = MemorySourceView{data, size, 0};
    file_ = new OggVorbis_File;
    const ov_callbacks callbacks = {memoryRead, memorySeek, nullptr, memoryTell};
    const int result = ov_open_callbacks(&source_, file_, nullptr, 0, callbacks);
    if (result != 0) {
        // A failed open leaves nothing to clear.
        delete file_;
        file_ = nullptr;
        return result;
    }
    outputRate_ = outputRate;
    truncated_ = !endsWithWholeFinalPage(data, size);
    const vorbis_info* info = ov_info(file_, -1);
    sourceRate_ = info != nullptr ? static_cast<int>(info->rate) : 0;
    if (sourceRate_ <= 0) {
        close();
        return OV_EBADHEADER;
    }
    return 0;
}

void MusicStream::close()
{
    if (file_ != nullptr) {
        ov_clear(file_);
        delete file_;
        file_ = nullptr;
    }
    source_ = MemorySourceView{};
    outputRate_ = 0;
    sourceRate_ = 0;
    looping_ = false;
    exhausted_ = false;
    damaged_ = false;
    truncated_ = false;
    decodedSinceRewind_ = false;
    stagedFrames_ = 0;
    stagedTaken_ = 0;
    phase_ = 0.0;
    resamplerPrimed_ = false;
}

int MusicStream::read(std::int16_t* out, int frames)
{
    if (file_ == nullptr || frames <= 0)
        return 0;
    if (sourceRate_ == outputRate_)
        return copyFrames(out, frames);
    return resampleFrames(out, frames);
}

// One call into the decoder: stages what it gives, or handles the end of the data.
void MusicStream::decodeChunk()
{
    const int bigEndian = std::endian::native == std::endian::big ? 1 : 0;
    int link = 0;
    const long result = ov_read(file_, decoded_, kDecodeBytes, bigEndian, 2, 1, &link);
    if (result > 0) {
        stage(static_cast<int>(result), link);
        return;
    }
    if (result == OV_HOLE) {
        // Lost or corrupt pages: decoding resumes after them.
        damaged_ = true;
        return;
    }
    if (result < 0)
        damaged_ = true;
    // The end of the data, or damage that ends it. Looping starts over, unless the
    // whole pass gave no sound: then there is nothing to loop.
    if (!looping_ || !decodedSinceRewind_ || ov_pcm_seek(file_, 0) != 0) {
        exhausted_ = true;
        return;
    }
    decodedSinceRewind_ = false;
}

// Converts `bytes` of interleaved samples of one link to stereo frames.
void MusicStream::stage(int bytes, int link)
{
    const vorbis_info* info = ov_info(file_, link);
    if (info == nullptr || info->channels < 1) {
        damaged_ = true;
        return;
    }
    const int channels = info->channels;
    if (info->rate > 0)
        sourceRate_ = static_cast<int>(info->rate);
    const int right = rightChannel(channels);
    const int frames = bytes / (channels * 2);
    std::int16_t sample[2];
    for (int i = 0; i < frames; ++i) {
        const char* frame = decoded_ + i * channels * 2;
        std::memcpy(&sample[0], frame, 2);
        std::memcpy(&sample[1], frame + right * 2, 2);
        staging_[i * 2] = sample[0];
        staging_[i * 2 + 1] = sample[1];
    }
    stagedFrames_ = frames;
    stagedTaken_ = 0;
    if (frames > 0)
        decodedSinceRewind_ = true;
}

// Makes staged frames available; false once the stream has none left.
bool MusicStream::refill()
{
    for (int attempt = 0; attempt < kMaxEmptyDecodes; ++attempt) {
        if (stagedTaken_ < stagedFrames_)
            return true;
        if (exhausted_)
            return false;
        decodeChunk();
    }
    if (stagedTaken_ < stagedFrames_)
        return true;
    damaged_ = true;
    exhausted_ = true;
    return false;
}

int MusicStream::copyFrames(std::int16_t* out, int frames)
{
    int written = 0;
    while (written < frames && refill()) {
        int count = stagedFrames_ - stagedTaken_;
        if (count > frames - written)
            count = frames - written;
        std::memcpy(out + written * kChannels, staging_ + stagedTaken_ * kChannels,
                    static_cast<std::size_t>(count) * kChannels * sizeof(std::int16_t));
        stagedTaken_ += count;
        written += count;
    }
    return written;
}

bool MusicStream::takeSourceFrame(std::int16_t frame[kChannels])
{
    if (!refill())
        return false;
    frame[0] = staging_[stagedTaken_ * kChannels];
    frame[1] = staging_[stagedTaken_ * kChannels + 1];
    ++stagedTaken_;
    return true;
}

int MusicStream::resampleFrames(std::int16_t* out, int frames)
{
    if (!resamplerPrimed_) {
        if (!takeSourceFrame(previous_) || !takeSourceFrame(next_))
            return 0;
        phase_ = 0.0;
        resamplerPrimed_ = true;
    }
    const double step = static_cast<double>(sourceRate_) / outputRate_;
    int written = 0;
    while (written < frames) {
        while (phase_ >= 1.0) {
            std::int16_t following[kChannels];
            if (!takeSourceFrame(following))
                return written;
            previous_[0] = next_[0];
            previous_[1] = next_[1];
            next_[0] = following[0];
            next_[1] = following[1];
            phase_ -= 1.0;
        }
        for (int c = 0; c < kChannels; ++c) {
            const double value = previous_[c] + (next_[c] - previous_[c]) * phase_;
            out[written * kChannels + c] = static_cast<std::int16_t>(value < 0 ? value - 0.5 : value + 0.5);
        }
        phase_ += step;
        ++written;
    }
    return written;
}
