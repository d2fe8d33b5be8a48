// Cost of drawing the show on this machine's GL (Mesa's software renderer offscreen):
// the dust field, a textured planet, a flare's occlusion test, a whole composed frame of
// a synthetic world at 1024 x 768, and the mesh member check.
//   bench_render [benchmark options]
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>

#include "../tests/support/TestMesh.h"
#include "app/ComposeFrame.h"
#include "app/GraphicsSetup.h"
#include "platform/Platform.h"
#include "script/Camera.h"
#include "script/Random.h"
#include "script/Settings.h"
#include "world/Flare.h"
#include "world/MeshData.h"
#include "world/Mesh.h"
#include "world/ParticleSystem.h"
#include "world/Sphere.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// A UV sphere of unit radius with smooth normals.
TestMesh uvSphere(int slices, int stacks) {
    TestMesh m;
    const float pi = 3.14159265f;
    for (int j = 0; j <= stacks; ++j) {
        for (int i = 0; i <= slices; ++i) {
            float theta = pi * j / stacks, phi = 2 * pi * i / slices;
            m.positions.insert(m.positions.end(),
                               {std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)});
            m.texCoords.insert(m.texCoords.end(), {float(i) / slices, 1 - float(j) / stacks});
        }
    }
    auto at = [slices](int i, int j) { return static_cast<std::uint32_t>(j * (slices + 1) + i); };
    for (int j = 0; j < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            std::uint32_t a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            for (std::uint32_t k : {a, c, b, a, d, c}) {
                m.faces.push_back(k);
                m.texFaces.push_back(k);
                m.normals.insert(m.normals.end(), {m.positions[k * 3], m.positions[k * 3 + 1], m.positions[k * 3 + 2]});
            }
        }
    }
    return m;
}

unsigned compile(const TestMesh& mesh) {
    auto bytes = mesh.bytes();
    MeshLayout layout;
    if (checkMeshData(bytes.data(), bytes.size(), layout)) return 0;
    return compileMeshList(bytes.data(), layout);
}

unsigned noiseTexture(int size) {
    std::vector<unsigned char> texels(static_cast<std::size_t>(size) * size * 3);
    for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<unsigned char>(randomDraw());
    unsigned name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

struct Scene {
    bool ready = false;
    unsigned sphereList = 0;
    unsigned texture = 0;
    Environment environment;
    World world;
};

Scene& scene() {
    static Scene s;
    if (s.ready) return s;
    s.ready = true;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.depth = 32;
    settings.showClock = false;
    settings.showFps = false;
    if (!platform::initialize(true)) return s;
    platform::WindowRequest request;
    request.title = "bench";
    request.width = kWidth;
    request.height = kHeight;
    request.hidden = true;
    if (!platform::openWindow(request) || !initGraphics()) return s;
    seedRandom(1);
    s.sphereList = compile(uvSphere(48, 24));
    s.texture = noiseTexture(256);

    auto sky = std::make_unique<Sphere>();
    sky->displayList = s.sphereList;
    sky->texture = s.texture;
    sky->hasTexture = true;
    sky->isEnv = true;
    sky->radius = 500;
    s.environment.firstPass.push_back(std::move(sky));
    for (int k = 0; k < 2; ++k) {
        auto planet = std::make_unique<Sphere>();
        planet->displayList = s.sphereList;
        planet->texture = s.texture;
        planet->hasTexture = true;
        planet->radius = k ? 10.0f : 40.0f;
        planet->position = make(k ? 30.0f : -20.0f, 0, k ? -80.0f : -200.0f);
        s.world.objects.push_back(std::move(planet));
    }
    auto ship = std::make_unique<Mesh>();
    ship->displayList = s.sphereList;
    ship->texture = s.texture;
    ship->hasTexture = true;
    ship->position = make(0, -5, -40);
    ship->scale = 4;
    s.world.objects.push_back(std::move(ship));
    for (int k = 0; k < 4; ++k) {
        auto flare = std::make_unique<Flare>();
        flare->texture = s.texture;
        flare->hasTexture = true;
        flare->position = make(-30.0f + 20 * k, 20, -150);
        flare->size = 40;
        flare->alpha = 1;
        flare->hasLens = k == 0;
        for (unsigned& t : flare->lensTextures) t = s.texture;
        s.world.objects.push_back(std::move(flare));
    }
    auto emitter = std::make_unique<ParticleSystem>();
    emitter->mode = ParticleSystem::CircleEmitter;
    emitter->texture = s.texture;
    emitter->point1 = make(20, 0, -60);
    emitter->point2 = make(0, 0, -60);
    emitter->right = make(0, 1, 0);
    emitter->period = 4;
    emitter->createParticles(100);
    s.world.objects.push_back(std::move(emitter));
    s.world.firstPass = &s.environment.firstPass;
    s.world.postPass = &s.environment.postPass;

    particleField.mode = ParticleSystem::Field;
    particleField.texture = s.texture;
    particleField.size = 0.3f;
    particleField.createParticles(800);
    camera.place();
    camera.position = camera.eye = make(0, 0, 0);
    activeWorld = &s.world;
    return s;
}

bool ready(benchmark::State& state) {
    if (scene().sphereList != 0) return true;
    state.SkipWithError("no offscreen GL context");
    return false;
}

void BM_DustField(benchmark::State& state) {
    if (!ready(state)) return;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        particleField.render(camera);
        glFinish();
    }
}
BENCHMARK(BM_DustField)->Unit(benchmark::kMillisecond);

void BM_Planet(benchmark::State& state) {
    if (!ready(state)) return;
    Sphere& planet = static_cast<Sphere&>(*scene().world.objects[0]);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        planet.render(camera);
        glFinish();
    }
}
BENCHMARK(BM_Planet)->Unit(benchmark::kMillisecond);

void BM_FlareOcclusionTest(benchmark::State& state) {
    if (!ready(state)) return;
    Flare& flare = static_cast<Flare&>(*scene().world.objects[4]);
    float alpha = flare.alpha;
    flare.alpha = 0;  // test only, no glow
    for (auto _ : state) flare.render(camera);
    glFinish();
    flare.alpha = alpha;
}
BENCHMARK(BM_FlareOcclusionTest)->Unit(benchmark::kMicrosecond);

void BM_ComposeFrame(benchmark::State& state) {
    if (!ready(state)) return;
    const double dt = 1.0 / 60;
    for (auto _ : state) {
        updateDrawLists(dt);
        composeFrame();
        glFinish();
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMillisecond);

void BM_MeshCheck(benchmark::State& state) {
    auto bytes = uvSphere(200, 100).bytes();
    MeshLayout layout;
    for (auto _ : state) benchmark::DoNotOptimize(checkMeshData(bytes.data(), bytes.size(), layout));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_MeshCheck)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
