// The generator's parameter file: one asset per line, "KIND MEMBER key=value ...", with
// colours written r,g,b. Lines starting with "#" and blank lines are skipped.
#pragma once
#include "mkcontent/Image.h"
#include <map>
#include <string>
#include <vector>

struct AssetLine {
    int line = 0;
    std::string kind;
    std::vector<std::string> members;  // archive member names, backslash-separated
    std::map<std::string, std::string> values;

    double number(const std::string& key, double fallback) const;
    Color color(const std::string& key, Color fallback) const;
    std::string text(const std::string& key, const std::string& fallback) const;
};

// Parses the whole file; false with error (naming the line) on a malformed line.
bool parseAssetList(const std::string& source, std::vector<AssetLine>& out, std::string& error);
