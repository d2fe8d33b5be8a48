// The help page that "Visit..." opens: voidrift.html, installed beside the program on
// Windows and beside the data (PREFIX/share/voidrift) on Linux.
#pragma once

#include <string>

// The page's path, looked for where data.ssd is looked for when no "Path" names a folder,
// seen from the program's folder; "" when it is in none of them.
std::string findHelpPage(const std::string& programFolder);
