#include "mkcontent/Lettering.h"
#include "mkcontent/Textures.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include <algorithm>
#include <cmath>

namespace {

// One FreeType face, released on every path out.
class Font {
public:
    explicit Font(const std::string& path) {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            return;
        }
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) face = nullptr;
    }
    ~Font() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    bool ok() const { return face != nullptr; }

    // Ink extent of a text at the current size: advance width, and rows above and below
    // the baseline.
    void measure(const std::string& text, int& width, int& ascent, int& descent) {
        width = 0;
        ascent = 0;
        descent = 0;
        for (char ch : text) {
            if (FT_Load_Char(face, FT_ULong((unsigned char)ch), FT_LOAD_RENDER) != 0) continue;
            FT_GlyphSlot g = face->glyph;
            width += int(g->advance.x >> 6);
            ascent = std::max(ascent, g->bitmap_top);
            descent = std::max(descent, int(g->bitmap.rows) - g->bitmap_top);
        }
    }

    // Adds the text's coverage times colour, pen starting at (x, baseline).
    void draw(Image& image, const std::string& text, int x, int baseline, Color color, int tracking = 0) {
        for (char ch : text) {
            if (FT_Load_Char(face, FT_ULong((unsigned char)ch), FT_LOAD_RENDER) != 0) continue;
            FT_GlyphSlot g = face->glyph;
            for (unsigned row = 0; row < g->bitmap.rows; ++row) {
                for (unsigned col = 0; col < g->bitmap.width; ++col) {
                    int px = x + g->bitmap_left + int(col), py = baseline - g->bitmap_top + int(row);
                    if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
                    double cover = g->bitmap.buffer[row * unsigned(g->bitmap.pitch) + col] / 255.0;
                    Color& p = image.at(px, py);
                    p = added(p, scaled(color, cover));
                }
            }
            x += int(g->advance.x >> 6) + tracking;
        }
    }

    FT_Face face = nullptr;

private:
    FT_Library library = nullptr;
};

void boxBlur(Image& image, int radius) {
    Image copy = image;
    for (int pass = 0; pass < 2; ++pass) {
        const Image source = copy;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                Color sum{0, 0, 0, 1};
                int count = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int sx = pass == 0 ? std::clamp(x + k, 0, image.width - 1) : x;
                    int sy = pass == 1 ? std::clamp(y + k, 0, image.height - 1) : y;
                    sum = added(sum, source.at(sx, sy));
                    ++count;
                }
                copy.at(x, y) = scaled(sum, 1.0 / count);
            }
        }
    }
    image = copy;
}

}  // namespace

void digitCell(int index, int& left, int& top) {
    left = (index % 4) * 64;
    top = (index / 4) * 64;
}

bool paintDigitSheet(const std::string& fontPath, Image& out, std::string& error) {
    Font font(fontPath);
    if (!font.ok()) {
        error = "cannot open the font " + fontPath;
        return false;
    }
    out = Image(256, 256);
    FT_Set_Pixel_Sizes(font.face, 0, 50);
    int dummy, ascent, descent;
    font.measure("0123456789", dummy, ascent, descent);
    const char* glyphs = "0123456789:";
    for (int i = 0; i < 11; ++i) {
        std::string text(1, glyphs[i]);
        int width, a, d;
        font.measure(text, width, a, d);
        int left, top;
        digitCell(i, left, top);
        int baseline = top + (64 + ascent) / 2;
        font.draw(out, text, left + (64 - width) / 2, baseline, Color{1, 1, 1, 1});
    }
    return true;
}

bool paintTitleCard(const std::string& fontPath, Image& card, Image& glow, std::string& error) {
    Font font(fontPath);
    if (!font.ok()) {
        error = "cannot open the font " + fontPath;
        return false;
    }
    // The card is shown 256 x 296, taller than its square texture: letters are drawn wider
    // than high by that ratio so they look right on screen.
    const double stretch = 296.0 / 256.0;
    card = paintGalaxy(512, 4242, Color{0.35f, 0.55f, 1.0f, 1});
    for (Color& c : card.pixels) c = scaled(c, 0.8);
    Image letters(512, 512);
    FT_Set_Pixel_Sizes(font.face, FT_UInt(62 * stretch), 72);
    int width, ascent, descent;
    font.measure("VOIDRIFT", width, ascent, descent);
    int tracking = 4;
    width += tracking * 7;
    font.draw(letters, "VOIDRIFT", (512 - width) / 2, 290, Color{1.0f, 1.0f, 1.0f, 1}, tracking);
    FT_Set_Pixel_Sizes(font.face, FT_UInt(26 * stretch), 26);
    font.measure("3D SCREENSAVER", width, ascent, descent);
    tracking = 6;
    width += tracking * 13;
    font.draw(letters, "3D SCREENSAVER", (512 - width) / 2, 350, Color{0.6f, 0.8f, 1.0f, 1}, tracking);
    for (size_t i = 0; i < card.pixels.size(); ++i) card.pixels[i] = added(card.pixels[i], letters.pixels[i]);
    // A thin line under the title.
    for (int x = 96; x < 416; ++x) {
        double f = std::sin(M_PI * (x - 96) / 320.0);
        Color& p = card.at(x, 312);
        p = added(p, Color{float(0.5 * f), float(0.7 * f), float(f), 1});
    }
    glow = letters;
    for (Color& c : glow.pixels) c = Color{c.r * 0.4f, c.g * 0.7f, c.b * 1.0f, 1};
    boxBlur(glow, 10);
    for (Color& c : glow.pixels) c = scaled(c, 3.0);
    Image halo(512, 512);
    halo.addGlow(256, 280, 250, Color{0.15f, 0.25f, 0.6f, 1}, 2.0);
    for (size_t i = 0; i < glow.pixels.size(); ++i) glow.pixels[i] = added(glow.pixels[i], halo.pixels[i]);
    return true;
}

bool paintDialogPicture(const std::string& fontPath, int width, int height, Image& out, std::string& error) {
    Font font(fontPath);
    if (!font.ok()) {
        error = "cannot open the font " + fontPath;
        return false;
    }
    out = paintPictureScene(width, height, 107);
    int titleSize = height / 6;
    Image letters(width, height);
    FT_Set_Pixel_Sizes(font.face, 0, FT_UInt(titleSize));
    int tracking = titleSize / 8;
    int left = width / 14, baseline = height - height / 5;
    font.draw(letters, "VOIDRIFT", left, baseline, Color{1.0f, 1.0f, 1.0f, 1}, tracking);
    FT_Set_Pixel_Sizes(font.face, 0, FT_UInt(titleSize * 2 / 5 + 1));
    font.draw(letters, "3D SCREENSAVER", left + 1, baseline + titleSize / 2 + 2, Color{0.6f, 0.8f, 1.0f, 1}, 2);
    // A soft dark halo keeps the letters readable over the stars.
    Image shade = letters;
    boxBlur(shade, 3);
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        Color& p = out.pixels[i];
        double cover = std::min(1.0, 2.5 * double(shade.pixels[i].r));
        p = added(scaled(p, 1.0 - 0.8 * cover), letters.pixels[i]);
    }
    return true;
}
