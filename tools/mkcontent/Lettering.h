// Text drawn from a real font through FreeType: the clock's digit sheet and the title card.
#pragma once
#include "mkcontent/Image.h"
#include <string>

// The font the show's lettering uses.
constexpr const char* defaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The digit sheet "c.jpg": 256 x 256, a 4 x 4 grid of 64-pixel cells read row by row from
// the top: 0 1 2 3 / 4 5 6 7 / 8 9 : (the rest black). Glyphs are white on black and sit
// centred in their cells. False (with error) when the font cannot be used.
bool paintDigitSheet(const std::string& fontPath, Image& out, std::string& error);

// The title card "load.jpg" and its glow "loadg.jpg", 512 x 512 each.
bool paintTitleCard(const std::string& fontPath, Image& card, Image& glow, std::string& error);

// Where glyph i (0..10, "0".."9" then ":") lies in the digit sheet, in pixels from the top left.
void digitCell(int index, int& left, int& top);

// The dialog pictures, 24-bit BMP resources on Windows and embedded on Linux: a still of
// the show with the name over it. The configuration picture is 263 x 166, the preview 155 x 115.
bool paintDialogPicture(const std::string& fontPath, int width, int height, Image& out, std::string& error);
