#include "app/CheckData.h"

#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/StartChecks.h"
#include "archive/ArchiveMember.h"
#include "archive/ArchiveResult.h"
#include "archive/ExtractMember.h"
#include "script/Scan.h"
#include "world/WorldFile.h"

namespace {

// One script member read line by line, with line numbers for the report.
struct Script {
    ArchiveMember member;
    std::string name;
    int number = 0;
    char line[ArchiveMember::kLineCapacity] = {};
    bool opened = false;

    explicit Script(const std::string& memberName) : name(memberName) {
        opened = member.open(memberName.c_str()) == 0;
    }
    void next() {
        member.readLine(line);
        ++number;
    }
    bool exhausted() const { return member.atEnd() && line[0] == '\0'; }
    bool blank() const {
        for (const char* p = line; *p != '\0'; ++p)
            if (*p != ' ' && *p != '\t') return false;
        return true;
    }
    bool is(const char* keyword) const { return keywordTest(line, keyword); }
};

bool anyKeyword(const char* line, const std::vector<const char*>& keywords) {
    for (const char* keyword : keywords)
        if (keywordTest(line, keyword)) return true;
    return false;
}

const std::vector<const char*>& kindKeywords(ObjectKind kind) {
    static const std::map<ObjectKind, std::vector<const char*>> table = {
        {ObjectKind::Sphere, {"radius", "FOV", "alpha", "tiling", "env", "geo", "light", "texture",
                              "rotation", "orient", "position"}},
        {ObjectKind::Billboard, {"size", "rotation", "parent", "FOV", "alpha", "orient off", "env",
                                 "flash", "texture", "up", "right", "position", "color", "xy"}},
        {ObjectKind::Flare, {"size", "flash", "focus", "parent", "FOV", "alpha", "env", "texture",
                             "position", "lenseffect", "rotation", "xy", "orient"}},
        {ObjectKind::Mesh, {"orient", "position", "look", "right", "material", "scale", "speed",
                            "light", "invup", "tiling"}},
        {ObjectKind::Flame, {"texture", "size", "offset", "orient", "colorfrom", "colorto", "parent"}},
        {ObjectKind::ParticleSystem, {"texture", "size", "line", "circ", "time", "dens", "point1",
                                      "point2", "rot"}},
    };
    static const std::vector<const char*> none;
    auto found = table.find(kind);
    return found != table.end() ? found->second : none;
}

struct SceneState {
    std::string dir;
    std::string file;
};

class DataCheck {
public:
    explicit DataCheck(std::FILE* out) : out_(out) {}

    int run() {
        // An archive that cannot serve at all is one fault, not every member missing.
        std::string problem = archiveProblem();
        if (!problem.empty()) {
            report(problem);
            return count_;
        }
        checkEnvironments();
        checkWorlds();
        checkWorldFile("dynamic.txt", "start-up", &dynamicNames_);
        checkMember("textures\\particle.jpg", "start-up");
        checkMember("music.ogg", "start-up");
        checkScenes();
        return count_;
    }

private:
    void report(const std::string& text) {
        if (!reported_.insert(text).second) return;
        std::fprintf(out_, "%s\n", text.c_str());
        ++count_;
    }
    void report(const Script& script, const std::string& text) {
        report(script.name + ":" + std::to_string(script.number) + ": " + text);
    }
    void unknownLine(const Script& script, const char* block) {
        report(script, std::string("no keyword of the ") + block + " matches \"" + script.line + "\"");
    }

    // A member some script names; `from` says which.
    void checkMember(const std::string& name, const std::string& from) {
        if (!members_.insert(name).second) return;
        if (!checkIntegrity(name)) report(name + ": missing (named by " + from + ")");
    }

    // What opening a member does not show: a checksum that does not match, a stream that
    // fails part-way. False when the archive has no such member.
    bool checkIntegrity(const std::string& name) {
        std::uint8_t* data = nullptr;
        std::uint32_t size = 0;
        bool crcMatches = false;
        int result = extractMember("data.ssd", name.c_str(), data, size, &crcMatches);
        delete[] data;
        if (result == archive_result::kNotFound) return false;
        if (result != 0) report(name + ": cannot be decoded: " + resultSentence(result));
        else if (!crcMatches) report(name + ": fails its CRC check");
        return true;
    }

    // Whether a script can be read; when not, its fault is said (`missing` when absent).
    bool readable(const Script& script, const std::string& missing) {
        if (!checkIntegrity(script.name)) {
            report(missing);
            return false;
        }
        return script.opened;
    }

    std::string word(const Script& script, const char* format) {
        char value[ArchiveMember::kLineCapacity] = {};
        scanLine(script.line, format, value, int(sizeof value));
        return value;
    }

    void checkEnvironments() {
        Script env("env.txt");
        if (!readable(env, "env.txt: missing")) return;
        for (;;) {
            env.next();
            if (env.is("ENV_END")) return;
            if (env.exhausted()) return report(env, "ends before \"ENV_END\"");
            if (!env.is("env")) continue;
            std::string name = word(env, "env %s");
            if (name.size() > 19) report(env, "environment name longer than 19 characters");
            environments_.insert(name.substr(0, 19));
            std::string from = "env.txt";
            while (!env.is("end")) {
                env.next();
                if (env.exhausted()) return report(env, "block \"" + name + "\" has no \"end\"");
                if (env.is("firstpass")) checkWorldFile(word(env, "firstpass %s"), from, nullptr);
                else if (env.is("postpass")) checkWorldFile(word(env, "postpass %s"), from, nullptr);
                else if (!env.is("end") && !env.blank()) unknownLine(env, "env block");
            }
        }
    }

    void checkWorlds() {
        Script worlds("worlds.txt");
        if (!readable(worlds, "worlds.txt: missing")) return;
        for (;;) {
            worlds.next();
            if (worlds.is("WORLD_END")) return;
            if (worlds.exhausted()) return report(worlds, "ends before \"WORLD_END\"");
            if (!worlds.is("world")) continue;
            std::string name = word(worlds, "world %s").substr(0, 21);
            std::string dir;
            while (!worlds.is("end")) {
                worlds.next();
                if (worlds.exhausted()) return report(worlds, "block \"" + name + "\" has no \"end\"");
                bool known = worlds.is("end") || worlds.blank();
                if (worlds.is("env")) {
                    known = true;
                    std::string env = word(worlds, "env %s");
                    if (!environments_.count(env)) report(worlds, "unknown environment \"" + env + "\"");
                }
                if (worlds.is("objects")) {
                    known = true;
                    checkWorldFile(word(worlds, "objects %s"), "worlds.txt", nullptr);
                }
                if (worlds.is("scenedir")) {
                    known = true;
                    dir = word(worlds, "scenedir %s").substr(0, 49);
                }
                if (!known) unknownLine(worlds, "world block");
            }
            if (worldDirs_.empty()) firstWorldDir_ = dir;
            if (!worldDirs_.count(name)) worldDirs_[name] = dir;
        }
    }

    void checkWorldFile(const std::string& name, const std::string& from, std::set<std::string>* names) {
        checkMember("meshes\\env.dat", name);
        checkMember("meshes\\sphere.dat", name);
        if (!worldFiles_.insert(name).second && names == nullptr) return;
        Script file(name);
        if (!readable(file, name + ": missing (named by " + from + ")")) return;
        std::set<std::string> localNames;
        file.next();
        for (;;) {
            ObjectKind kind = kindFromKeyword(file.line);
            if (kind == ObjectKind::EndWorld) break;
            if (file.exhausted()) return report(file, "ends before \"ENDWORLD\"");
            if (kind == ObjectKind::Geometry) checkMember(word(file, "geometry %s"), name);
            if (!kindKeywords(kind).empty() && !checkBlock(file, kind, localNames)) return;
            file.next();
        }
        if (names != nullptr) names->insert(localNames.begin(), localNames.end());
    }

    // False when the member ended inside the block.
    bool checkBlock(Script& file, ObjectKind kind, std::set<std::string>& names) {
        do {
            file.next();
            if (file.exhausted()) return report(file, "object block without \"begin\""), false;
            if (!file.is("begin") && !file.blank()) unknownLine(file, "object block");
        } while (!file.is("begin"));
        std::string name = word(file, "begin %s");
        if (kind == ObjectKind::Sphere || kind == ObjectKind::Mesh) {
            if (name.size() > 14) report(file, "object name longer than 14 characters");
            names.insert(name.substr(0, 14));
        }
        for (;;) {
            file.next();
            if (file.exhausted()) return report(file, "object block without \"end\""), false;
            if (file.is("end")) return true;
            if (!anyKeyword(file.line, kindKeywords(kind))) {
                if (!file.blank()) unknownLine(file, "object block");
                continue;
            }
            checkProperty(file, names);
        }
    }

    void checkProperty(Script& file, const std::set<std::string>& names) {
        if (file.is("texture")) checkMember(word(file, "texture %s"), file.name);
        if (file.is("parent")) {
            std::string parent = word(file, "parent %s");
            if (!names.count(parent)) report(file, "no earlier sphere or mesh named \"" + parent + "\"");
        }
        if (file.is("lenseffect")) {
            file.next();
            if (!file.is("\tsize")) report(file, "lens size line expected");
            for (int i = 0; i < 3; ++i) {
                file.next();
                if (file.is("\ttexture")) checkMember(word(file, "\ttexture %s"), file.name);
                else report(file, "lens texture line expected");
            }
        }
        if (file.is("material")) {
            for (int i = 0; i < 4; ++i) {
                file.next();
                if (file.is("\tmap1")) checkMember(word(file, "\tmap1 %s"), file.name);
                if (file.is("\tmap2")) checkMember(word(file, "\tmap2 %s"), file.name);
            }
        }
    }

    void checkTrack(Script& scene) {
        int keys = 0;
        float lastTime = 0;
        for (;;) {
            scene.next();
            if (scene.is("ENDKEYS")) break;
            if (scene.exhausted()) return report(scene, "keyframes without \"ENDKEYS\"");
            if (!scene.is("keyframe")) {
                if (!scene.blank()) unknownLine(scene, "keyframe list");
                continue;
            }
            float time = 0;
            for (;;) {
                scene.next();
                if (scene.exhausted()) return report(scene, "keyframe without \"end\"");
                if (scene.is("end")) break;
                if (scene.is("time")) scanLine(scene.line, "time %f", &time);
                if (!anyKeyword(scene.line, {"position", "gradient", "quaternion", "time", "freeze"}) &&
                    !scene.blank())
                    unknownLine(scene, "keyframe block");
            }
            if (keys > 0 && !(time > lastTime)) report(scene, "key times do not increase");
            lastTime = time;
            ++keys;
        }
        if (keys < 2) report(scene, "a track needs at least two keys");
    }

    void lookUpObject(const Script& scene, const std::string& name) {
        if (!dynamicNames_.count(name)) report(scene, "no object \"" + name + "\" in dynamic.txt");
    }

    // Reads one scene file and queues every scene file it can lead to, with the Galaxy
    // setting off and on.
    void checkScene(const SceneState& state, const std::string& from) {
        std::string name = state.dir + state.file;
        Script scene(name);
        if (!readable(scene, name + ": missing scene (reached from " + from + ")")) return;
        do scene.next();
        while (!scene.is("scene") && !scene.exhausted());
        if (scene.exhausted()) return report(scene, "no \"scene\" line");
        float range[2] = {1.9f, 1.9f};
        std::string prefix[2];
        int count[2] = {-1, -1};
        std::string dir[2] = {state.dir, state.dir};
        for (;;) {
            scene.next();
            if (scene.exhausted()) {
                report(scene, "scene without \"end\"");
                break;
            }
            if (scene.is("end")) break;
            bool known = scene.blank();
            for (int galaxy = 0; galaxy < 2; ++galaxy) {
                bool next = scene.is("next") || (galaxy && scene.is("regnext"));
                if (next) {
                    prefix[galaxy] = word(scene, scene.is("next") ? "next %s" : "regnext %s");
                    count[galaxy] = range[galaxy] > 0 ? int(range[galaxy]) : 0;
                }
                bool world = scene.is("world") || (galaxy && scene.is("regworld"));
                if (world) {
                    std::string w = word(scene, scene.is("world") ? "world %s" : "regworld %s");
                    auto found = worldDirs_.find(w.substr(0, 15));
                    if (found != worldDirs_.end()) dir[galaxy] = found->second;
                    else report(scene, "unknown world \"" + w + "\"");
                }
                if (scene.is("random") || (galaxy && scene.is("regrandom"))) {
                    float value = 0;
                    scanLine(scene.line, scene.is("random") ? "random %f" : "regrandom %f", &value);
                    range[galaxy] = value + 0.9f;
                }
            }
            for (const char* k : {"next", "world", "regnext", "regworld", "random", "regrandom", "reset",
                                  "cycle", "fback", "fout", "wback", "wout", "expfog", "linefog",
                                  "fogcolor", "soff"})
                known = known || scene.is(k);
            if (scene.is("KEYFRAMES")) {
                known = true;
                checkTrack(scene);
            }
            if (scene.is("set")) {
                known = true;
                lookUpObject(scene, word(scene, "set %s"));
                checkTrack(scene);
            }
            if (scene.is("orient")) {
                known = true;
                lookUpObject(scene, word(scene, "orient %s"));
            }
            if (scene.is("crosslook")) {
                known = true;
                char a[16] = {}, b[16] = {};
                scanLine(scene.line, "crosslook %s %s", a, 16, b, 16);
                lookUpObject(scene, a);
                lookUpObject(scene, b);
            }
            if (!known) unknownLine(scene, "scene");
        }
        for (int galaxy = 0; galaxy < 2; ++galaxy) {
            if (count[galaxy] < 0) {
                queue(SceneState{dir[galaxy], state.file}, name);
                continue;
            }
            int last = count[galaxy] < 10 ? count[galaxy] : 10;  // the counter stays 0..10
            for (int k = 0; k <= last; ++k) {
                std::string file = prefix[galaxy] + std::to_string(k) + ".txt";
                if (file.size() > 31) report(scene, "next scene name \"" + file + "\" is too long");
                else queue(SceneState{dir[galaxy], file}, name);
            }
        }
    }

    void queue(const SceneState& state, const std::string& from) {
        if (scenes_.insert(state.dir + "\n" + state.file).second) pending_.push_back({state, from});
    }

    void checkScenes() {
        for (const char* galaxy : {"blue_galaxy", "green_galaxy", "red_galaxy"}) {
            auto found = worldDirs_.find(galaxy);
            if (found == worldDirs_.end()) {
                report(std::string("worlds.txt: no opening world \"") + galaxy + "\"");
                if (worldDirs_.empty()) continue;
            }
            // A missing opening world falls back to the first world of the list.
            const std::string& dir = found != worldDirs_.end() ? found->second : firstWorldDir_;
            for (int n = 0; n < 4; ++n)
                queue(SceneState{dir, "scene" + std::to_string(n) + ".txt"}, galaxy);
        }
        while (!pending_.empty()) {
            auto [state, from] = pending_.front();
            pending_.pop_front();
            checkScene(state, from);
        }
    }

    std::FILE* out_;
    int count_ = 0;
    std::set<std::string> reported_;
    std::set<std::string> members_;
    std::set<std::string> worldFiles_;
    std::set<std::string> environments_;
    std::map<std::string, std::string> worldDirs_;
    std::string firstWorldDir_;
    std::set<std::string> dynamicNames_;
    std::set<std::string> scenes_;
    std::deque<std::pair<SceneState, std::string>> pending_;
};

}  // namespace

int checkShowData(std::FILE* out) {
    DataCheck check(out);
    return check.run();
}

int runCheckData(std::FILE* out) { return checkShowData(out) == 0 ? 0 : 1; }
