// The program keeps text as UTF-8; Windows' wide functions take UTF-16. These convert at
// the boundary, so folder names in any language survive (ANSI functions would lose
// whatever the code page cannot spell).
#pragma once

#include <string>

std::wstring wideText(const std::string& utf8);
std::string utf8Text(const std::wstring& wide);
