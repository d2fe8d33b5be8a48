#include "overlay/DigitGlyphs.h"

#include <GL/gl.h>

#include "image/TextureLoader.h"

DigitGlyphs digitGlyphs;

namespace {

constexpr int kGlyphCount = 11;
constexpr float kCell = 0.25f;
constexpr float kGlyphSize = 64;
constexpr float kAdvance = 64 * 0.7f;

// One glyph: cell (i mod 4, i div 4) of the grid, rows counted from the texture's top.
void recordGlyph(int i) {
    float u = float(i % 4) / 4;
    float v = float(i / 4) / 4;
    glBegin(GL_QUADS);
    glTexCoord2f(u, 1 - v - kCell);
    glVertex2f(0, 0);
    glTexCoord2f(u + kCell, 1 - v - kCell);
    glVertex2f(kGlyphSize, 0);
    glTexCoord2f(u + kCell, 1 - v);
    glVertex2f(kGlyphSize, kGlyphSize);
    glTexCoord2f(u, 1 - v);
    glVertex2f(0, kGlyphSize);
    glEnd();
    glTranslatef(kAdvance, 0, 0);
}

}  // namespace

void buildDigitGlyphLists(unsigned texture) {
    digitGlyphs.texture = texture;
    digitGlyphs.firstList = glGenLists(kGlyphCount);
    // Bound outside the lists, so drawing a glyph does not bind anything.
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int i = 0; i < kGlyphCount; ++i) {
        glNewList(digitGlyphs.firstList + i, GL_COMPILE);
        recordGlyph(i);
        glEndList();
    }
}

void buildDigitGlyphs() { buildDigitGlyphLists(loadMipmappedJpegTexture("c.jpg")); }

void drawDigits(int x, int y, const char* text) {
    glTranslatef(float(x), float(y), 0);
    if (digitGlyphs.firstList == 0) return;
    for (const char* c = text; *c; ++c) {
        if (*c >= '0' && *c <= ':') glCallList(digitGlyphs.firstList + (*c - '0'));
    }
}
