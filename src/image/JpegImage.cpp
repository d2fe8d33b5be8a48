#include "image/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <jerror.h>

#include "archive/ArchiveMember.h"
#include "archive/Messages.h"

namespace {

// The library's error manager with a way back out of a fatal error.
struct SilentErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

// Formats the message as the library would, and shows it nowhere.
void outputSilently(j_common_ptr info) {
    char buffer[JMSG_LENGTH_MAX];
    info->err->format_message(info, buffer);
}

// The library's standard policy: the first warning (or every one at trace level 3) is
// output, warnings are counted; trace messages are output up to the trace level.
void emitSilently(j_common_ptr info, int level) {
    jpeg_error_mgr* err = info->err;
    if (level < 0) {
        if (err->num_warnings == 0 || err->trace_level >= 3) err->output_message(info);
        err->num_warnings++;
    } else if (err->trace_level >= level) {
        err->output_message(info);
    }
}

// A fatal error must not return into the library: leave the decode altogether.
[[noreturn]] void exitToCaller(j_common_ptr info) {
    info->err->output_message(info);
    SilentErrorManager* manager = reinterpret_cast<SilentErrorManager*>(info->err);
    std::longjmp(manager->escape, 1);
}

// The whole JPEG is one buffer; once it is used up the source supplies an end-of-image
// marker, so a truncated stream ends instead of reading past the data.
struct MemorySource {
    jpeg_source_mgr base;
    const JOCTET* data;
    std::size_t size;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr info) {
    MemorySource* source = reinterpret_cast<MemorySource*>(info->src);
    source->base.next_input_byte = source->data;
    source->base.bytes_in_buffer = source->size;
}

boolean fillInputBuffer(j_decompress_ptr info) {
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = sizeof(kEndOfImage);
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = info->src;
    std::size_t n = static_cast<std::size_t>(count);
    if (n > source->bytes_in_buffer) n = source->bytes_in_buffer;
    source->next_input_byte += n;
    source->bytes_in_buffer -= n;
}

// A damaged restart marker: report failure (the library then suspends).
boolean refuseResync(j_decompress_ptr, int) { return FALSE; }

void termSource(j_decompress_ptr info) {
    MemorySource* source = reinterpret_cast<MemorySource*>(info->src);
    source->base.next_input_byte = source->data;
    source->base.bytes_in_buffer = source->size;
}

void clearImage(JpegImage& image) {
    image.stride = 0;
    image.width = 0;
    image.height = 0;
    image.components = 0;
    image.pixels.clear();
    image.pixels.shrink_to_fit();
}

// Everything that must survive a longjmp lives here, outside the setjmp frame.
struct Decoder {
    jpeg_decompress_struct info;
    SilentErrorManager errors;
    MemorySource source;
    std::vector<JSAMPROW> rows;
};

void installSource(Decoder& decoder, const std::uint8_t* bytes, std::size_t size) {
    MemorySource& source = decoder.source;
    source.data = bytes;
    source.size = size;
    source.base.init_source = initSource;
    source.base.fill_input_buffer = fillInputBuffer;
    source.base.skip_input_data = skipInputData;
    source.base.resync_to_restart = refuseResync;
    source.base.term_source = termSource;
    source.base.next_input_byte = bytes;
    source.base.bytes_in_buffer = size;
    decoder.info.src = &source.base;
}

// The part of the start that may longjmp out; kept free of objects with destructors.
bool startDecoder(Decoder& decoder, const std::uint8_t* bytes, std::size_t size, JpegImage& image,
                  std::uint64_t maxPixels) {
    jpeg_decompress_struct& info = decoder.info;
    if (setjmp(decoder.errors.escape)) return false;
    installSource(decoder, bytes, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (std::uint64_t(info.image_width) * info.image_height > maxPixels) return false;
    if (!jpeg_start_decompress(&info)) return false;

    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.components = info.output_components;
    image.stride = image.width * image.components;
    image.pixels.assign(std::size_t(image.stride) * image.height, 0);
    decoder.rows.resize(image.height);
    for (int i = 0; i < image.height; ++i)
        decoder.rows[i] = image.pixels.data() + std::size_t(image.height - 1 - i) * image.stride;
    return true;
}

enum class RowsRead { More, Ended, Failed };

// Reads up to `count` scanlines into the row table. Ends early when the library suspends
// (a damaged restart marker), which would otherwise repeat forever.
RowsRead readRows(Decoder& decoder, unsigned count) {
    jpeg_decompress_struct& info = decoder.info;
    if (setjmp(decoder.errors.escape)) return RowsRead::Failed;
    unsigned target = info.output_height - info.output_scanline;
    if (count < target) target = count;
    target += info.output_scanline;
    while (info.output_scanline < target) {
        JDIMENSION got =
            jpeg_read_scanlines(&info, decoder.rows.data() + info.output_scanline, target - info.output_scanline);
        if (got == 0) return RowsRead::Ended;
    }
    return info.output_scanline < info.output_height ? RowsRead::More : RowsRead::Ended;
}

}  // namespace

struct JpegRowDecoder::State {
    Decoder decoder{};
    bool started = false;
};

JpegRowDecoder::JpegRowDecoder() = default;

JpegRowDecoder::~JpegRowDecoder() { end(); }

void JpegRowDecoder::end() {
    if (state_ && state_->started) jpeg_destroy_decompress(&state_->decoder.info);
    state_.reset();
}

bool JpegRowDecoder::start(const std::uint8_t* bytes, std::size_t size, JpegImage& image, std::uint64_t maxPixels) {
    end();
    clearImage(image);
    image_ = &image;
    state_ = std::make_unique<State>();
    Decoder& decoder = state_->decoder;
    decoder.info.err = jpeg_std_error(&decoder.errors.base);
    decoder.errors.base.error_exit = exitToCaller;
    decoder.errors.base.emit_message = emitSilently;
    decoder.errors.base.output_message = outputSilently;
    jpeg_CreateDecompress(&decoder.info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    state_->started = true;
    if (startDecoder(decoder, bytes, size, image, maxPixels)) return true;
    end();
    clearImage(image);
    return false;
}

bool JpegRowDecoder::decodeRows(int count) {
    if (!state_) return false;
    RowsRead read = readRows(state_->decoder, count > 0 ? unsigned(count) : 1u);
    if (read == RowsRead::More) return true;
    failed_ = read == RowsRead::Failed;
    if (failed_) clearImage(*image_);
    end();
    return false;
}

bool decodeJpeg(const std::uint8_t* bytes, std::size_t size, JpegImage& image,
                std::uint64_t maxPixels) {
    JpegRowDecoder decoder;
    if (!decoder.start(bytes, size, image, maxPixels)) return false;
    while (decoder.decodeRows(image.height)) {
    }
    return !decoder.failed();
}

bool openJpegMember(const char* memberName, ArchiveMember& member) {
    if (member.open(memberName) == 0) return true;
    char text[64 + ArchiveMember::kNameCapacity];
    std::snprintf(text, sizeof(text), "ARCH:Can't load JPG file: %s", memberName);
    showMessage(text, "Error");
    return false;
}

bool loadJpeg(const char* memberName, JpegImage& image) {
    ArchiveMember member;
    if (!openJpegMember(memberName, member)) {
        clearImage(image);
        return false;
    }
    bool ok = decodeJpeg(member.data(), member.size(), image);
    member.close();
    return ok;
}
