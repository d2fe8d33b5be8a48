#include "mkcontent/ContentBuild.h"
#include "mkcontent/AssetList.h"
#include "mkcontent/ImageFiles.h"
#include "mkcontent/Lettering.h"
#include "mkcontent/MeshData.h"
#include "mkcontent/Music.h"
#include "mkcontent/Shapes.h"
#include "mkcontent/Shots.h"
#include "mkcontent/Textures.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utime.h>

namespace fs = std::filesystem;

std::string memberPath(const std::string& dir, const std::string& member) {
    std::string relative = member;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return dir + "/" + relative;
}

namespace {

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

// Every file gets the same modification time, so the packed archive does not depend on
// when it was built.
bool writeFile(const std::string& path, const void* data, size_t size) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(static_cast<const char*>(data), std::streamsize(size));
    out.close();
    if (!out) return false;
    utimbuf times{1767225600, 1767225600};  // 2026-01-01 00:00 UTC
    return utime(path.c_str(), &times) == 0;
}

bool powerOfTwoOrFail(const Image& image, const AssetLine& asset, std::string& error) {
    if (isPowerOfTwo(image.width) && isPowerOfTwo(image.height)) return true;
    error = "line " + std::to_string(asset.line) + ": picture sides must be powers of two";
    return false;
}

std::vector<uint8_t> encodeFor(const std::string& member, const Image& image, int quality) {
    std::string lower = member;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".tga") == 0) return encodeTga(image);
    return encodeJpeg(image, quality);
}

bool paintAsset(const AssetLine& a, Image& image, std::string& error) {
    const Color white{1, 1, 1, 1};
    uint64_t seed = uint64_t(a.number("seed", 1));
    int size = int(a.number("size", 256));
    if (a.kind == "planet") {
        static const std::pair<const char*, PlanetKind> kinds[] = {
            {"rocky", PlanetKind::rocky}, {"gas", PlanetKind::gasGiant}, {"ice", PlanetKind::ice},
            {"lava", PlanetKind::lava}, {"sun", PlanetKind::sun}, {"ocean", PlanetKind::ocean},
            {"star", PlanetKind::star}};
        std::string name = a.text("kind", "rocky");
        for (const auto& k : kinds) {
            if (name == k.first) {
                image = paintPlanet(k.second, int(a.number("width", 512)), seed, a.color("tint", white));
                return true;
            }
        }
        error = "line " + std::to_string(a.line) + ": unknown planet kind " + name;
        return false;
    }
    if (a.kind == "clouds") image = paintClouds(int(a.number("width", 512)), seed);
    else if (a.kind == "sky")
        image = paintSky(int(a.number("width", 1024)), seed, a.color("a", {0.1f, 0.2f, 0.5f, 1}),
                         a.color("b", {0.4f, 0.1f, 0.4f, 1}), a.number("strength", 0.7), a.number("stars", 6));
    else if (a.kind == "galaxy") image = paintGalaxy(size, seed, a.color("tint", white));
    else if (a.kind == "puff") image = paintNebulaPuff(size, seed, a.color("inner", white), a.color("outer", white));
    else if (a.kind == "glow") image = paintFlareGlow(size, a.color("tint", white), int(a.number("rays", 4)));
    else if (a.kind == "lensring") image = paintLensRing(size);
    else if (a.kind == "lensdisc") image = paintLensDisc(size);
    else if (a.kind == "lenshex") image = paintLensHex(size);
    else if (a.kind == "particle") image = paintParticle(size, a.color("tint", white));
    else if (a.kind == "hull") image = paintHull(size, seed, a.color("base", white), a.color("accent", white));
    else if (a.kind == "chrome")
        image = paintChrome(size, a.color("sky", {0.3f, 0.4f, 0.8f, 1}), a.color("ground", {0.1f, 0.08f, 0.06f, 1}));
    else if (a.kind == "flame") image = paintFlame(size);
    else if (a.kind == "aurora")
        image = paintAurora(int(a.number("width", 256)), int(a.number("height", 128)), seed,
                            a.color("low", {0.2f, 1.0f, 0.5f, 1}), a.color("high", {0.6f, 0.2f, 1.0f, 1}));
    else if (a.kind == "ring") image = paintRing(size, seed, a.color("tint", white));
    else if (a.kind == "navlight") image = paintNavLight(size, a.color("tint", white));
    else if (a.kind == "alphaglow") image = paintAlphaGlow(size, a.color("tint", white));
    else {
        error = "line " + std::to_string(a.line) + ": unknown asset kind " + a.kind;
        return false;
    }
    return true;
}

bool meshAsset(const AssetLine& a, MeshData& mesh, std::string& error) {
    std::string shape = a.text("shape", "");
    int segments = int(a.number("segments", 48)), rings = int(a.number("rings", 24));
    if (shape == "sphere") mesh = makeUvSphere(segments, rings, false);
    else if (shape == "envsphere") mesh = makeUvSphere(segments, rings, true);
    else if (shape == "fighter") mesh = makeFighter();
    else if (shape == "freighter") mesh = makeFreighter();
    else if (shape == "courier") mesh = makeCourier();
    else if (shape == "hauler") mesh = makeHauler();
    else if (shape == "probe") mesh = makeProbe();
    else if (shape == "station") mesh = makeStation();
    else if (shape == "asteroid") mesh = makeAsteroid(uint64_t(a.number("seed", 1)));
    else {
        error = "line " + std::to_string(a.line) + ": unknown mesh shape " + shape;
        return false;
    }
    return true;
}

// One asset line to its members' bytes.
bool generate(const AssetLine& a, const ContentOptions& options, std::vector<GeneratedMember>& out,
              std::string& error) {
    int quality = int(a.number("quality", 88));
    std::string font = options.fontPath.empty() ? defaultFontPath : options.fontPath;
    if (a.kind == "digits") {
        Image sheet;
        if (!paintDigitSheet(font, sheet, error)) return false;
        out.push_back({a.members[0], encodeJpeg(sheet, 95)});
        return true;
    }
    if (a.kind == "title") {
        Image card, glow;
        if (a.members.size() < 2) {
            error = "line " + std::to_string(a.line) + ": title needs the card and the glow member";
            return false;
        }
        if (!paintTitleCard(font, card, glow, error)) return false;
        out.push_back({a.members[0], encodeJpeg(card, 92)});
        out.push_back({a.members[1], encodeJpeg(glow, 92)});
        return true;
    }
    if (a.kind == "mesh") {
        MeshData mesh;
        if (!meshAsset(a, mesh, error)) return false;
        out.push_back({a.members[0], encodeMesh(mesh)});
        return true;
    }
    if (a.kind == "music") {
        if (!options.music) return true;
        MusicParams params;
        params.secondsPerChord = a.number("chord", params.secondsPerChord);
        params.cycles = int(a.number("cycles", params.cycles));
        params.seed = uint64_t(a.number("seed", double(params.seed)));
        params.quality = float(a.number("quality", params.quality));
        std::vector<float> samples = renderMusic(params);
        std::vector<uint8_t> ogg = encodeOggVorbis(samples, params.sampleRate, params.quality, error);
        if (ogg.empty()) return false;
        out.push_back({a.members[0], std::move(ogg)});
        return true;
    }
    Image image;
    if (!paintAsset(a, image, error) || !powerOfTwoOrFail(image, a, error)) return false;
    for (const std::string& member : a.members) out.push_back({member, encodeFor(member, image, quality)});
    return true;
}

bool copyScripts(const std::string& from, const std::string& to, std::vector<std::string>& written,
                 std::string& error) {
    if (!fs::exists(from)) return true;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::string text;
        std::string relative = fs::relative(file, from).generic_string();
        if (!readFile(file.string(), text) || !writeFile(to + "/" + relative, text.data(), text.size())) {
            error = "cannot copy " + file.string();
            return false;
        }
        written.push_back(relative);
    }
    return true;
}

// Scene sources "scenes/DIR/NAME.scn" become the members "DIR\NAME.txt".
bool expandScenes(const std::string& from, const std::string& to, std::vector<std::string>& written,
                  std::string& error) {
    if (!fs::exists(from)) return true;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        if (entry.is_regular_file() && entry.path().extension() == ".scn") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::string source, text;
        fs::path relative = fs::relative(file, from);
        relative.replace_extension(".txt");
        if (!readFile(file.string(), source)) {
            error = "cannot read " + file.string();
            return false;
        }
        if (!expandScene(source, text, error)) {
            error = file.string() + ": " + error;
            return false;
        }
        if (!writeFile(to + "/" + relative.generic_string(), text.data(), text.size())) {
            error = "cannot write the expansion of " + file.string();
            return false;
        }
        written.push_back(relative.generic_string());
    }
    return true;
}

}  // namespace

bool buildContent(const ContentOptions& options, std::vector<std::string>& written, std::string& error) {
    std::string list;
    if (!readFile(options.contentDir + "/assets.txt", list)) {
        error = "cannot read " + options.contentDir + "/assets.txt";
        return false;
    }
    std::vector<AssetLine> assets;
    if (!parseAssetList(list, assets, error)) {
        error = "assets.txt " + error;
        return false;
    }
    std::error_code ignored;
    fs::remove_all(options.outDir, ignored);
    fs::create_directories(options.outDir);
    // The score takes longest: it is made on a second thread while the pictures are painted.
    std::vector<GeneratedMember> musicMembers;
    std::string musicError;
    bool musicOk = true;
    std::thread musicThread;
    for (const AssetLine& a : assets) {
        if (a.kind != "music") continue;
        musicThread = std::thread([&, a] { musicOk = generate(a, options, musicMembers, musicError); });
        break;
    }
    std::vector<GeneratedMember> members;
    bool ok = true;
    for (const AssetLine& a : assets) {
        if (a.kind == "music") continue;
        if (!generate(a, options, members, error)) {
            ok = false;
            break;
        }
    }
    if (musicThread.joinable()) musicThread.join();
    if (!ok) return false;
    if (!musicOk) {
        error = musicError;
        return false;
    }
    members.insert(members.end(), musicMembers.begin(), musicMembers.end());
    for (const GeneratedMember& m : members) {
        if (!writeFile(memberPath(options.outDir, m.name), m.bytes.data(), m.bytes.size())) {
            error = "cannot write " + m.name;
            return false;
        }
        written.push_back(m.name);
    }
    if (!copyScripts(options.contentDir + "/scripts", options.outDir, written, error) ||
        !expandScenes(options.contentDir + "/scenes", options.outDir, written, error)) {
        return false;
    }
    // Folders get the fixed time too, whatever the packer records.
    utimbuf times{1767225600, 1767225600};
    for (const auto& entry : fs::recursive_directory_iterator(options.outDir)) {
        if (entry.is_directory()) utime(entry.path().c_str(), &times);
    }
    utime(options.outDir.c_str(), &times);
    return true;
}
