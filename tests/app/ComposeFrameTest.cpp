#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ComposeFrame.h"
#include "app/FrameTimer.h"
#include "app/SaverState.h"
#include "overlay/DigitGlyphs.h"
#include "support/RenderKit.h"
#include "world/ParticleSystem.h"
#include "world/Sphere.h"

namespace {

std::vector<std::string> calls;

// Notes every render and update, and that the GL was error-free when it was reached.
class Probe : public WorldObject {
public:
    explicit Probe(std::string label) : label_(std::move(label)) {}
    void render(const Camera&) override {
        calls.push_back("render " + label_);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << label_;
    }
    void update(double) override { calls.push_back("update " + label_); }

private:
    std::string label_;
};

std::int64_t fakeTicks = 0;
std::int64_t fakeCounter() { return fakeTicks; }

// A world whose first pass is an unlit white sky dome filling the view.
struct ComposeFixture : ::testing::Test {
    RenderKit kit;
    Environment environment;
    World world;

    void SetUp() override {
        ASSERT_TRUE(kit.gl.ok());
        resetSceneState();
        saverState = SaverState{};
        setCounterSource(fakeCounter, 1000);
        queryFrequency();
        fakeTicks = 0;
        rateTimer.start();
        settings.showClock = false;
        settings.showFps = false;
        world.firstPass = &environment.firstPass;
        world.postPass = &environment.postPass;
        calls.clear();
    }
    void TearDown() override {
        setCounterSource(nullptr, 0);  // back to the platform's counter
        releaseDrawLists();
        resetSceneState();
    }

    void addSky() {
        auto sky = std::make_unique<Sphere>();
        sky->displayList = compileTestMesh(cubeMesh());
        sky->texture = solidTexture(255, 255, 255);
        sky->hasTexture = true;
        sky->isEnv = true;
        sky->radius = 100;
        environment.firstPass.push_back(std::move(sky));
    }
};

}  // namespace

TEST_F(ComposeFixture, NoActiveWorldShowsOnlyTheClearedBuffer) {
    addSky();
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    settings.showFps = true;
    composeFrame();
    auto pixels = kit.pixels();
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        ASSERT_NEAR(pixels[i], 51, 1);
        ASSERT_NEAR(pixels[i + 1], 102, 1);
        ASSERT_NEAR(pixels[i + 2], 153, 1);
    }
    EXPECT_EQ(saverState.frameCount, 0u);
    glClearColor(0, 0, 0, 0);
}

TEST_F(ComposeFixture, LayersAreDrawnAndUpdatedInOrder) {
    environment.firstPass.push_back(std::make_unique<Probe>("first"));
    world.objects.push_back(std::make_unique<Probe>("world"));
    world.objects.push_back(std::make_unique<Probe>("world2"));
    dynamicObjects.push_back(std::make_unique<Probe>("dynamic"));
    environment.postPass.push_back(std::make_unique<Probe>("post"));
    activeWorld = &world;
    updateDrawLists(0.01);  // before the first frame the lists are empty: only dynamic objects
    EXPECT_EQ(calls, (std::vector<std::string>{"update dynamic"}));
    calls.clear();
    composeFrame();
    EXPECT_EQ(calls, (std::vector<std::string>{"render first", "render world", "render world2", "render dynamic",
                                               "render post"}));
    calls.clear();
    updateDrawLists(0.01);
    EXPECT_EQ(calls, (std::vector<std::string>{"update first", "update world", "update world2", "update dynamic",
                                               "update post"}));
    expectShowStateKept("after the frame");
    EXPECT_EQ(saverState.frameCount, 1u);
}

TEST_F(ComposeFixture, FadesDimTheViewButNeverTheBars) {
    addSky();
    activeWorld = &world;
    composeFrame();
    auto pixels = kit.pixels();
    int full = RenderKit::at(pixels, 160, 120)[0];
    EXPECT_GT(full, 240);
    for (int y : {0, 29, 210, 239}) EXPECT_EQ(RenderKit::brightness(pixels, 100, y), 0) << y;

    fadeOutBlack = FadeWindow{2, 4};  // "fout 2 4" at scene time 3: half way to black
    camera.time = 3;
    composeFrame();
    pixels = kit.pixels();
    EXPECT_NEAR(RenderKit::at(pixels, 160, 120)[0], full / 2, 3);
    EXPECT_NEAR(RenderKit::at(pixels, 5, 35)[1], full / 2, 3);
    for (int y : {0, 29, 210, 239}) EXPECT_EQ(RenderKit::brightness(pixels, 100, y), 0) << y;

    fadeOutWhite = FadeWindow{0, 10};  // a white fade leaves the bars black as well
    composeFrame();
    pixels = kit.pixels();
    for (int y : {0, 29, 210, 239}) EXPECT_EQ(RenderKit::brightness(pixels, 300, y), 0) << y;
    expectShowStateKept("after fades");
}

TEST_F(ComposeFixture, RateWindowAndDustFieldSwitch) {
    activeWorld = &world;
    particleField.mode = ParticleSystem::Field;
    particleField.texture = solidTexture(255, 255, 255);
    particleField.size = 3;
    particleField.positions = {make(0, 0, -60)};
    particleField.velocities = {make(0, 0, 0)};
    particleField.accelerations = {make(0, 0, 0)};
    camera.position = camera.eye = make(0, 0, 0);
    particleFieldOn = false;
    composeFrame();
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);
    particleFieldOn = true;
    composeFrame();
    EXPECT_GT(RenderKit::brightness(kit.pixels(), 160, 120), 0);

    // 60 more frames 20 ms apart: the window closes at the first check past one second
    // (1.02 s), showing the 2 + 50 frames composed before it.
    saverState.mouseTravel = 5;
    for (int i = 0; i < 60; ++i) {
        fakeTicks += 20;
        composeFrame();
    }
    EXPECT_EQ(saverState.shownFps, 52u);
    EXPECT_LT(saverState.frameCount, 15u);
    EXPECT_EQ(saverState.mouseTravel, 0);
    particleField = ParticleSystem();
}

TEST_F(ComposeFixture, FrameRateDigitsSitAtTheLeftOfTheTopBar) {
    activeWorld = &world;
    buildDigitGlyphLists(solidTexture(255, 255, 255));
    saverState.shownFps = 88;
    composeFrame();
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);  // off by default here
    settings.showFps = true;
    composeFrame();
    auto pixels = kit.pixels();
    // Overlay (0, 540)..(89.6, 604) of 800 x 600 is x 0..35, rows 216..239 of this window.
    EXPECT_GT(RenderKit::brightness(pixels, 10, 230), 600);
    EXPECT_GT(RenderKit::brightness(pixels, 30, 230), 600);
    EXPECT_EQ(RenderKit::brightness(pixels, 60, 230), 0);
    EXPECT_EQ(RenderKit::brightness(pixels, 10, 200), 0);
    settings.showFps = false;
    expectShowStateKept("after digits");
}
