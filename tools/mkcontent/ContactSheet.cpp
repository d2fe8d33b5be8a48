#include "mkcontent/ContactSheet.h"
#include <algorithm>
#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>
#include <png.h>

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void jpegFail(j_common_ptr info) { longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

bool readJpeg(FILE* file, Image& out) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out = Image(int(info.output_width), int(info.output_height));
    std::vector<uint8_t> row(size_t(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        int y = int(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < out.width; ++x)
            out.at(x, y) = {row[x * 3] / 255.0f, row[x * 3 + 1] / 255.0f, row[x * 3 + 2] / 255.0f, 1};
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool readPng(const std::string& path, Image& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return false;
    out = Image(int(image.width), int(image.height));
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = {pixels[i * 3] / 255.0f, pixels[i * 3 + 1] / 255.0f, pixels[i * 3 + 2] / 255.0f, 1};
    return true;
}

}  // namespace

bool readPicture(const std::string& path, Image& out) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    unsigned char magic[2] = {0, 0};
    size_t got = std::fread(magic, 1, 2, file);
    std::rewind(file);
    bool ok = false;
    if (got == 2 && magic[0] == 0xFF && magic[1] == 0xD8) ok = readJpeg(file, out);
    std::fclose(file);
    if (got == 2 && magic[0] == 0x89 && magic[1] == 'P') ok = readPng(path, out);
    return ok;
}

bool writePng(const std::string& path, const Image& image) {
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    info.width = png_uint_32(image.width);
    info.height = png_uint_32(image.height);
    info.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb = image.bytes(3);
    return png_image_write_to_file(&info, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

Image makeContactSheet(const std::vector<std::string>& paths, int columns, int cellWidth, int cellHeight) {
    const int gap = 4;
    int rows = int((paths.size() + size_t(columns) - 1) / size_t(columns));
    Image sheet(columns * (cellWidth + gap) + gap, rows * (cellHeight + gap) + gap);
    for (Color& c : sheet.pixels) c = {0.12f, 0.12f, 0.14f, 1};
    for (size_t i = 0; i < paths.size(); ++i) {
        int left = gap + int(i % size_t(columns)) * (cellWidth + gap);
        int top = gap + int(i / size_t(columns)) * (cellHeight + gap);
        Image picture;
        if (!readPicture(paths[i], picture) || picture.width == 0 || picture.height == 0) continue;
        double scale = std::min(double(cellWidth) / picture.width, double(cellHeight) / picture.height);
        int w = std::max(1, int(picture.width * scale)), h = std::max(1, int(picture.height * scale));
        int ox = left + (cellWidth - w) / 2, oy = top + (cellHeight - h) / 2;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                // box filter over the source texels this cell pixel covers
                int x0 = int(x / scale), x1 = std::max(x0 + 1, int((x + 1) / scale));
                int y0 = int(y / scale), y1 = std::max(y0 + 1, int((y + 1) / scale));
                Color sum{0, 0, 0, 1};
                int count = 0;
                for (int sy = y0; sy < y1 && sy < picture.height; ++sy)
                    for (int sx = x0; sx < x1 && sx < picture.width; ++sx, ++count) sum = added(sum, picture.at(sx, sy));
                sheet.at(ox + x, oy + y) = scaled(sum, count ? 1.0 / count : 0);
            }
        }
    }
    return sheet;
}
