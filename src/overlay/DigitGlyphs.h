// Eleven textured glyphs, "0" to "9" and ":", cut from the 4 x 4 grid of "c.jpg" and
// kept as display lists for the run; each glyph advances the pen by 44.8 units.
#pragma once

struct DigitGlyphs {
    unsigned texture = 0;    // "c.jpg"
    unsigned firstList = 0;  // glyph i draws the character '0' + i
};

extern DigitGlyphs digitGlyphs;

// Loads "c.jpg" and records the glyph lists (once, after the GL set-up).
void buildDigitGlyphs();
// Records the glyph lists for a texture already loaded.
void buildDigitGlyphLists(unsigned texture);

// Draws `text` with its first glyph at (x, y) in the current space. Translations add up
// on the modelview matrix; the caller's end of the overlay discards them. Characters
// other than digits and ':' draw nothing and do not advance.
void drawDigits(int x, int y, const char* text);
