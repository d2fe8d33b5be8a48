// Where a frame of the shipped show goes, offscreen on this machine's GL: each world's
// opening scene is played to a fixed point, then the frame is drawn again and again with
// one part of it left out at a time; the difference to the whole frame is that part's
// cost. Beside each part, the pixels it writes (an occlusion query counts the fragments
// that pass) and whether they are blended.
//   bench_frame_parts [WxH] [ROUNDS] [world ...]      (default 1920x1080, 15)
//   bench_frame_parts WxH 0 memory    resident memory step by step while the show starts
// Run from anywhere: it reads the build's data.ssd.
#include <GL/gl.h>
#include <GL/glext.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ComposeFrame.h"
#include "app/GraphicsSetup.h"
#include "app/SaverRun.h"
#include "app/ShowParts.h"
#include "overlay/ClockAndFps.h"
#include "overlay/OverlayProjection.h"
#include "platform/Platform.h"
#include "script/Camera.h"
#include "script/Settings.h"
#include "script/World.h"
#include "world/Billboard.h"
#include "world/Flame.h"
#include "world/Flare.h"
#include "world/Mesh.h"
#include "world/ParticleSystem.h"
#include "world/Sphere.h"
#include "image/TextureLoader.h"
#include "world/SharedLoads.h"

namespace {

enum Part { Sky, SkyBillboards, Spheres, Billboards, FlareGlows, Meshes, Flames, Emitters, kObjectParts };
const char* const kPartNames[kObjectParts] = {"sky spheres",  "sky billboards", "spheres", "billboards",
                                              "flares+ghosts", "meshes",         "flames",  "emitters"};

Part partOf(WorldObject& object) {
    if (auto* s = dynamic_cast<Sphere*>(&object)) return s->isEnv ? Sky : Spheres;
    if (auto* b = dynamic_cast<Billboard*>(&object)) return b->isEnv ? SkyBillboards : Billboards;
    if (dynamic_cast<Flare*>(&object)) return FlareGlows;
    if (dynamic_cast<Mesh*>(&object)) return Meshes;
    if (dynamic_cast<Flame*>(&object)) return Flames;
    return Emitters;
}

using QueryFn = void (*)(GLenum, GLuint);
using EndQueryFn = void (*)(GLenum);
using GenQueriesFn = void (*)(GLsizei, GLuint*);
using GetQueryFn = void (*)(GLuint, GLenum, GLuint*);
QueryFn beginQuery;
EndQueryFn endQuery;
GenQueriesFn genQueries;
GetQueryFn getQueryObject;
GLuint query = 0;

std::uint64_t samplesOf(const std::function<void()>& draw) {
    if (!query) {
        draw();
        return 0;
    }
    beginQuery(GL_SAMPLES_PASSED, query);
    draw();
    endQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    getQueryObject(query, GL_QUERY_RESULT, &samples);
    return samples;
}

// Stands in for an object in its list: draws it and adds what it wrote to its part's count.
class Counted : public WorldObject {
public:
    Counted(WorldObject* real, std::uint64_t* counter) : real_(real), counter_(counter) {}
    void render(const Camera& c) override {
        if (counter_)
            *counter_ += samplesOf([&] { real_->render(c); });
        else
            real_->render(c);  // a frame being timed: no query, which would stall the pipeline
    }
    void update(double dt) override { real_->update(dt); }

private:
    WorldObject* real_;
    std::uint64_t* counter_;
};

std::vector<ObjectList*> showLists() {
    std::vector<ObjectList*> lists;
    if (activeWorld) lists = {activeWorld->firstPass, &activeWorld->objects, &dynamicObjects, activeWorld->postPass};
    return lists;
}

// Wall and process CPU time (all of the renderer's threads) of one call, in ms.
struct Cost {
    double wall = 0;
    double cpu = 0;
};

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Cost timeOnce(const std::function<void()>& draw) {
    glFinish();
    double c0 = cpuMs();
    auto t0 = std::chrono::steady_clock::now();
    draw();
    glFinish();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count(), cpuMs() - c0};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One way of drawing the frame: `enter` changes the show, `leave` puts it back.
struct Variant {
    Variant(std::string n, std::function<void()> in, std::function<void()> out)
        : name(std::move(n)), enter(std::move(in)), leave(std::move(out)) {}
    std::string name;
    std::function<void()> enter, leave;
    std::vector<double> wall, cpu;
    std::uint64_t samples = 0;
};

std::uint64_t frameSamples() { return samplesOf(composeFrame); }

// The show's lists without the objects of one part, for the length of one frame.
struct ListSurgery {
    std::vector<ObjectList*> lists;
    std::vector<ObjectList> saved;
    void leaveOut(int part) {
        lists = showLists();
        saved.clear();
        for (ObjectList* list : lists) {
            saved.push_back(std::move(*list));
            list->clear();
            for (auto& object : saved.back())
                if (partOf(*object) != part) list->push_back(std::make_unique<Counted>(object.get(), nullptr));
        }
    }
    void restore() {
        for (std::size_t i = 0; i < lists.size(); ++i) *lists[i] = std::move(saved[i]);
    }
};

std::vector<Flare*> lensedFlares() {
    std::vector<Flare*> lensed;
    for (ObjectList* list : showLists())
        for (auto& o : *list)
            if (auto* f = dynamic_cast<Flare*>(o.get()); f && f->hasLens) lensed.push_back(f);
    return lensed;
}

void measureWorld(const char* world, const char* scene, int rounds) {
    RunOptions options;
    options.sceneWorld = world;
    options.sceneFile = scene;
    const ShowParts& parts = realShowParts();
    parts.seedRandom(1);
    beginShow(parts, options);
    for (int i = 0; i < 150; ++i) {  // five seconds in
        advanceShow(parts, 1.0 / 30);
        composeFrame();
    }
    static ListSurgery surgery;
    static std::vector<Flare*> lensed;
    lensed = lensedFlares();
    std::vector<Variant> variants;
    variants.emplace_back("whole frame", [] {}, [] {});
    for (int part = 0; part < kObjectParts; ++part)
        variants.emplace_back(kPartNames[part], [part] { surgery.leaveOut(part); }, [] { surgery.restore(); });
    variants.emplace_back(" of which ghosts", [] { for (Flare* f : lensed) f->hasLens = false; },
                        [] { for (Flare* f : lensed) f->hasLens = true; });
    variants.emplace_back("dust", [] { particleFieldOn = false; }, [] { particleFieldOn = true; });
    variants.emplace_back("clock+fps", [] { settings.showClock = settings.showFps = false; },
                        [] { settings.showClock = settings.showFps = true; });
    for (Variant& v : variants) {
        v.enter();
        v.samples = frameSamples();
        v.leave();
    }
    for (int r = 0; r < rounds; ++r) {
        for (Variant& v : variants) {
            v.enter();
            Cost c = timeOnce(composeFrame);
            v.leave();
            v.wall.push_back(c.wall);
            v.cpu.push_back(c.cpu);
        }
    }
    const double pixels = double(settings.width) * settings.height;
    if (std::getenv("FRAME_PARTS_OBJECTS")) {  // every object's own fill, for a closer look
        std::vector<std::uint64_t> counts(256);
        std::vector<std::string> names;
        int n = 0;
        ListSurgery each;
        each.lists = showLists();
        for (ObjectList* list : each.lists) {
            each.saved.push_back(std::move(*list));
            list->clear();
            for (auto& object : each.saved.back()) {
                if (n >= 256) break;
                names.push_back(std::string(kPartNames[partOf(*object)]) + " " + object->name);
                list->push_back(std::make_unique<Counted>(object.get(), &counts[n++]));
            }
        }
        composeFrame();
        each.restore();
        for (int i = 0; i < n; ++i)
            if (counts[i] > 0) std::printf("  object %3d %-30s %.3f screens\n", i, names[i].c_str(), counts[i] / pixels);
    }
    const double wall = median(variants[0].wall), cpu = median(variants[0].cpu);
    std::printf("\n== %s:%s  whole frame: %.2f ms wall (%.1f fps), %.2f ms CPU; %.2f screens written\n", world, scene,
                wall, 1000 / wall, cpu, variants[0].samples / pixels);
    std::printf("%-16s %8s %8s %8s  %s\n", "part left out", "wall ms", "CPU ms", "CPU %", "pixels written (screens)");
    for (std::size_t i = 1; i < variants.size(); ++i) {
        const Variant& v = variants[i];
        double dc = cpu - median(v.cpu);
        std::printf("%-16s %8.2f %8.2f %7.0f%%  %.3f\n", v.name.c_str(), wall - median(v.wall), dc, 100 * dc / cpu,
                    (double(variants[0].samples) - double(v.samples)) / pixels);
    }
    std::vector<double> cw, cc, bw, bc;
    for (int r = 0; r < rounds; ++r) {
        Cost c = timeOnce([] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
        cw.push_back(c.wall);
        cc.push_back(c.cpu);
        c = timeOnce([] {
            beginScreenOverlay();
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_BLEND);
            glRecti(0, 0, 800, 75);
            glRecti(0, 525, 800, 600);
            glEnable(GL_BLEND);
            glEnable(GL_TEXTURE_2D);
            endScreenOverlay();
        });
        bw.push_back(c.wall);
        bc.push_back(c.cpu);
    }
    std::printf("%-16s %8.2f %8.2f %7.0f%%  1 (colour and depth; alone)\n", "clear", median(cw), median(cc),
                100 * median(cc) / cpu);
    std::printf("%-16s %8.2f %8.2f %7.0f%%  0.25 (alone)\n", "letterbox bars", median(bw), median(bc),
                100 * median(bc) / cpu);
}

long residentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Texture memory of a list's objects as the renderer keeps it: 4 bytes a texel, a third
// more for the mipmaps (textures shared by name counted once).
double textureMb(const ObjectList& list, std::vector<unsigned>& seen) {
    double bytes = 0;
    for (const auto& o : list) {
        for (unsigned t : {o->texture, o->texture2}) {
            int w = 0, h = 0;
            if (!t || std::find(seen.begin(), seen.end(), t) != seen.end() || !mipmappedTextureSize(t, w, h)) continue;
            seen.push_back(t);
            bytes += w * h * 4.0 * 4 / 3;
        }
    }
    return bytes / 1048576;
}

// Resident memory step by step while the show starts, and the textures each world holds.
void memoryBreakdown(const ShowParts& parts) {
    long start = residentKb();
    std::printf("resident after the GL context: %.1f MB\n", start / 1024.0);
    MemberBytes music = parts.readMusicMember();
    long step = residentKb();
    std::printf("  music member (%.1f MB of Ogg): +%.1f MB\n", music.size / 1048576.0, (step - start) / 1024.0);
    long before = step;
    SharedLoads shared;  // as the show's start reads its scripts
    parts.buildDigitGlyphs();
    parts.setUpParticleField();
    parts.initCamera();
    parts.readEnvironments();
    step = residentKb();
    std::printf("  digits, dust, env.txt (skies): +%.1f MB\n", (step - before) / 1024.0);
    before = step;
    parts.readWorlds();
    step = residentKb();
    std::printf("  worlds.txt (every world's objects): +%.1f MB\n", (step - before) / 1024.0);
    before = step;
    parts.readDynamicWorld();
    step = residentKb();
    std::printf("  dynamic.txt: +%.1f MB\n", (step - before) / 1024.0);
    std::vector<unsigned> seen;
    double skies = 0;
    for (const auto& e : environmentList) skies += textureMb(e->firstPass, seen) + textureMb(e->postPass, seen);
    std::printf("textures (estimated as kept): skies and environment layers %.1f MB\n", skies);
    for (const auto& w : worldList) std::printf("  world %-14s %.1f MB\n", w->name, textureMb(w->objects, seen));
    std::printf("  dynamic objects %.1f MB\n", textureMb(dynamicObjects, seen));
    std::printf("resident when the show starts: %.1f MB\n", step / 1024.0);
    malloc_trim(0);
    std::printf("  after giving the heap's free memory back: %.1f MB\n", residentKb() / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    int width = 1920, height = 1080, frames = 15;
    if (argc > 1) std::sscanf(argv[1], "%dx%d", &width, &height);
    if (argc > 2) frames = std::atoi(argv[2]);
    std::vector<std::string> worlds;
    for (int i = 3; i < argc; ++i) worlds.push_back(argv[i]);
    if (worlds.empty())
        worlds = {"blue_galaxy:scene0.txt", "green_galaxy:scene0.txt", "red_galaxy:scene0.txt", "giant:a0.txt",
                  "lava:a0.txt",            "ice:a0.txt",              "nebula:a0.txt",         "station:a0.txt"};
    if (chdir(VOIDRIFT_BINARY_DIR "/data") != 0) return 1;
    settings.width = width;
    settings.height = height;
    settings.depth = 32;
    settings.showClock = settings.showFps = true;
    settings.enableMusic = false;
    platform::WindowRequest request;
    request.title = "bench";
    request.width = width;
    request.height = height;
    request.hidden = true;
    if (!platform::initialize(true) || !platform::openWindow(request) || !initGraphics()) {
        std::fprintf(stderr, "no offscreen GL context\n");
        return 1;
    }
    beginQuery = reinterpret_cast<QueryFn>(platform::procAddress("glBeginQuery"));
    endQuery = reinterpret_cast<EndQueryFn>(platform::procAddress("glEndQuery"));
    genQueries = reinterpret_cast<GenQueriesFn>(platform::procAddress("glGenQueries"));
    getQueryObject = reinterpret_cast<GetQueryFn>(platform::procAddress("glGetQueryObjectuiv"));
    if (beginQuery && endQuery && genQueries && getQueryObject) genQueries(1, &query);

    const ShowParts& parts = realShowParts();
    if (argc > 3 && std::string(argv[3]) == "memory") {
        memoryBreakdown(parts);
        return 0;
    }
    parts.buildDigitGlyphs();
    parts.setUpParticleField();
    readShowScripts(parts);
    std::printf("%dx%d, median of %d interleaved rounds per figure; GL: %s\n", width, height, frames,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    for (const std::string& choice : worlds) {
        auto colon = choice.find(':');
        measureWorld(choice.substr(0, colon).c_str(), choice.substr(colon + 1).c_str(), frames);
    }
    parts.releaseLists();
    platform::closeWindow();
    return 0;
}
