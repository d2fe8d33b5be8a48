// Paths as the program keeps them, UTF-8 text, and as std::filesystem takes them. Windows'
// library reads a plain string in the ANSI code page, which cannot spell every folder
// name ("Zoë", Cyrillic, CJK); a UTF-8 string is taken as UTF-8 everywhere.
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path utf8Path(const std::string& text);
std::string utf8String(const std::filesystem::path& path);
