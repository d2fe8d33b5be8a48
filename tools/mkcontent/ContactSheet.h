// Contact sheets: many pictures (JPEG or PNG files) scaled into one PNG grid, for looking at
// the generated textures and the recorded stills.
#pragma once
#include "mkcontent/Image.h"
#include <string>
#include <vector>

// Reads a JPEG or PNG file (by its first bytes) into an image; false when it cannot.
bool readPicture(const std::string& path, Image& out);
bool writePng(const std::string& path, const Image& image);

// Lays the pictures out left to right, top to bottom, each scaled to fit a cell of
// cellWidth x cellHeight with its aspect kept; unreadable files leave a dark cell.
Image makeContactSheet(const std::vector<std::string>& paths, int columns, int cellWidth, int cellHeight);
