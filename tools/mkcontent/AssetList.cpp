#include "mkcontent/AssetList.h"
#include <cstdlib>
#include <sstream>

double AssetLine::number(const std::string& key, double fallback) const {
    auto it = values.find(key);
    return it == values.end() ? fallback : std::strtod(it->second.c_str(), nullptr);
}

Color AssetLine::color(const std::string& key, Color fallback) const {
    auto it = values.find(key);
    if (it == values.end()) return fallback;
    Color c;
    float* parts[3] = {&c.r, &c.g, &c.b};
    std::istringstream in(it->second);
    std::string part;
    for (int i = 0; i < 3 && std::getline(in, part, ','); ++i) *parts[i] = std::strtof(part.c_str(), nullptr);
    return c;
}

std::string AssetLine::text(const std::string& key, const std::string& fallback) const {
    auto it = values.find(key);
    return it == values.end() ? fallback : it->second;
}

bool parseAssetList(const std::string& source, std::vector<AssetLine>& out, std::string& error) {
    std::istringstream lines(source);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream in(line);
        AssetLine asset;
        asset.line = number;
        if (!(in >> asset.kind) || asset.kind[0] == '#') continue;
        std::string word;
        while (in >> word) {
            size_t eq = word.find('=');
            if (eq == std::string::npos) {
                asset.members.push_back(word);
            } else if (eq == 0) {
                error = "line " + std::to_string(number) + ": value without a key";
                return false;
            } else {
                asset.values[word.substr(0, eq)] = word.substr(eq + 1);
            }
        }
        if (asset.members.empty()) {
            error = "line " + std::to_string(number) + ": " + asset.kind + " names no member";
            return false;
        }
        out.push_back(asset);
    }
    return true;
}
