// Builds the whole folder tree that is packed into data.ssd: generated textures, meshes and
// music from the content folder's parameter file, the hand-written scripts copied as they
// are, and the scene sources with their tracks expanded.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ContentOptions {
    std::string contentDir;  // holds assets.txt, scripts/ and scenes/
    std::string outDir;      // emptied, then filled; member "a\b.txt" becomes outDir/a/b.txt
    bool music = true;       // false skips the score (quick test builds)
    std::string fontPath;    // empty: the default DejaVu font
};

// One generated member: its archive name and its bytes.
struct GeneratedMember {
    std::string name;
    std::vector<uint8_t> bytes;
};

bool buildContent(const ContentOptions& options, std::vector<std::string>& written, std::string& error);

// Member name ("meshes\env.dat") to a path below a folder ("DIR/meshes/env.dat").
std::string memberPath(const std::string& dir, const std::string& member);
