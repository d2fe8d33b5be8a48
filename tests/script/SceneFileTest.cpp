#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "archive/Messages.h"
#include "script/Camera.h"
#include "script/Settings.h"
#include "support/ScriptArchive.h"

namespace {

struct Marker : WorldObject {
    Marker(const char* n, Vec3 p) {
        std::strcpy(name, n);
        position = p;
    }
    void render(const Camera&) override {}
    void update(double) override {}
};

std::vector<std::string> messages;
void recordMessage(const char* text, const char* caption) {
    messages.push_back(std::string(caption) + ": " + text);
}

class SceneFile : public ::testing::Test {
protected:
    void SetUp() override {
        resetSceneState();
        settings.galaxy = false;
        messages.clear();
        setMessageSink(recordMessage);
    }
    void TearDown() override {
        resetSceneState();
        settings.galaxy = false;
        setMessageSink(nullptr);
    }
    // Reads `text` as the member "s\scene.txt".
    void readText(const std::string& text, MemberTexts more = {}) {
        more.push_back({"s\\scene.txt", text});
        ScriptArchive archive(more);
        ASSERT_TRUE(archive.ok());
        std::strcpy(camera.sceneDir, "s\\");
        std::strcpy(camera.sceneFile, "scene.txt");
        camera.readScene();
    }
    World* addWorld(const char* name, const char* sceneDir) {
        auto world = std::make_unique<World>();
        std::strcpy(world->name, name);
        std::strcpy(world->sceneDir, sceneDir);
        worldList.push_back(std::move(world));
        return worldList.back().get();
    }
};

const char* kTwoKeys =
    "keyframe\nposition V(0 0 0)\ntime 0\nend\n"
    "keyframe\nposition V(10 0 0)\ntime 10\nend\nENDKEYS\n";

}  // namespace

TEST_F(SceneFile, SuccessorOrder) {
    variantCounter = 3;
    readText("scene\nrandom 3\ncycle\nnext intro\nend\n");
    EXPECT_EQ(variantCounter, 4);
    EXPECT_STREQ(camera.sceneFile, "intro0.txt");

    // Default range 1.9: the counter's parity.
    variantCounter = 5;
    readText("scene\nnext a\nend\n");
    EXPECT_STREQ(camera.sceneFile, "a1.txt");
    variantCounter = 10;
    readText("scene\ncycle\nnext a\nend\n");
    EXPECT_EQ(variantCounter, 0);
    EXPECT_STREQ(camera.sceneFile, "a0.txt");
    // "random" acts only on later "next" lines; the later "next" wins.
    variantCounter = 3;
    readText("scene\nnext a\nrandom 0\nnext b\nend\n");
    EXPECT_STREQ(camera.sceneFile, "b0.txt");
    variantCounter = 3;
    readText("scene\nrandom 3\nnext c\nrandom 0\nend\n");
    EXPECT_STREQ(camera.sceneFile, "c3.txt");
    // A hugely negative range is clamped rather than asking for a negative count.
    variantCounter = 9;
    readText("scene\nrandom -40\nnext d\nend\n");
    EXPECT_STREQ(camera.sceneFile, "d0.txt");
    // A prefix whose name would not fit in the file name keeps the previous choice.
    readText("scene\nnext abcdefghijklmnopqrstuvwxyz0123\nend\n");
    EXPECT_STREQ(camera.sceneFile, "scene.txt");
}

TEST_F(SceneFile, GalaxyLines) {
    World* x = addWorld("x", "xdir\\");
    addWorld("galaxy", "gdir\\");
    variantCounter = 0;
    const char* text = "scene\nnext plain\nworld x\nregrandom 3\nregnext reg\nregworld galaxy\nend\n";
    readText(text);
    EXPECT_STREQ(camera.sceneFile, "plain0.txt");
    EXPECT_EQ(pendingWorld, x);
    EXPECT_STREQ(camera.sceneDir, "xdir\\");
    settings.galaxy = true;
    variantCounter = 3;
    readText(text);
    EXPECT_STREQ(camera.sceneFile, "reg3.txt");
    EXPECT_STREQ(pendingWorld->name, "galaxy");
    EXPECT_STREQ(camera.sceneDir, "gdir\\");
}

TEST_F(SceneFile, WorldSwitchTakesEffectNextScene) {
    World* first = addWorld("first", "s\\");
    World* second = addWorld("second", "t\\");
    activeWorld = first;
    MemberTexts more = {{"t\\scene.txt", "scene\nend\n"}};
    more.push_back({"s\\scene.txt", "scene\nworld second\nworld nosuch\nend\n"});
    ScriptArchive archive(more);
    std::strcpy(camera.sceneDir, "s\\");
    std::strcpy(camera.sceneFile, "scene.txt");
    camera.readScene();
    EXPECT_EQ(activeWorld, first);  // still the old world during this scene
    EXPECT_TRUE(camera.worldPending);
    EXPECT_STREQ(camera.sceneDir, "t\\");  // an unknown name changed nothing
    camera.readScene();
    EXPECT_EQ(activeWorld, second);
    EXPECT_FALSE(camera.worldPending);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SceneFile, TracksAndObjects) {
    dynamicObjects.push_back(std::make_unique<Marker>("ship", Vec3{1, 2, 3}));
    dynamicObjects.push_back(std::make_unique<Marker>("other", Vec3{0, 0, 0}));
    WorldObject* ship = dynamicObjects[0].get();
    WorldObject* other = dynamicObjects[1].get();
    std::string text = std::string("junk before\nscene 1\nKEYFRAMES\n") +
                       "keyframe\ntime 0\nENDKEYS\nposition V(1 1 1)\nend\n"
                       "keyframe\ntime 4\nposition V(5 1 1)\nfreeze\nend\nENDKEYS\n" +
                       "set ship\n" + kTwoKeys + "set ghost\n" + kTwoKeys + "next after\nend\n";
    readText(text);
    // "ENDKEYS" inside a block is ignored; the block ends at "end".
    ASSERT_EQ(camera.track.size(), 2u);
    EXPECT_EQ(camera.track.keys[0].position.x, 1);
    EXPECT_TRUE(camera.track.keys[1].freeze);
    EXPECT_EQ(camera.track.keys[1].gradient.x, 4);  // prepared
    EXPECT_TRUE(ship->visible);
    EXPECT_EQ(ship->track.size(), 2u);
    EXPECT_FALSE(other->visible);
    // The unknown object's blocks were consumed: the scene body went on after them.
    EXPECT_STREQ(camera.sceneFile, "after0.txt");
    // A later scene that does not name the ship hides it and empties its track.
    readText("scene\nKEYFRAMES\n" + std::string(kTwoKeys) + "KEYFRAMES\n" + kTwoKeys + "end\n");
    EXPECT_FALSE(ship->visible);
    EXPECT_TRUE(ship->track.empty());
    EXPECT_EQ(camera.track.size(), 4u);  // a second block appends
}

TEST_F(SceneFile, ModesFadesFog) {
    dynamicObjects.push_back(std::make_unique<Marker>("A", Vec3{0, 0, 0}));
    dynamicObjects.push_back(std::make_unique<Marker>("B", Vec3{0, 0, -10}));
    readText("scene\norient B\ncrosslook A B 50\nfout 2 4\nfback 0 1\nwout 5 6\nwback 7 8\n"
             "linefog 10 200\nfogcolor V(0.5 0.25 1)\nsoff\nend\n");
    EXPECT_EQ(camera.orientTarget, dynamicObjects[1].get());
    EXPECT_EQ(camera.crossFrom, dynamicObjects[0].get());
    EXPECT_EQ(camera.crossDistance, 50);
    EXPECT_EQ(fadeOutBlack.start, 2);
    EXPECT_EQ(fadeOutBlack.end, 4);
    EXPECT_EQ(fadeInBlack.end, 1);
    EXPECT_EQ(fadeOutWhite.start, 5);
    EXPECT_EQ(fadeInWhite.end, 8);
    EXPECT_TRUE(fogEnabled);
    EXPECT_EQ(sceneFog.mode, SceneFog::Linear);
    EXPECT_EQ(sceneFog.end, 200);
    EXPECT_EQ(sceneFog.color[1], 0.25f);
    EXPECT_EQ(sceneFog.color[3], 1);
    EXPECT_FALSE(particleFieldOn);
    camera.applyLookModes();
    EXPECT_NEAR(camera.position.z, 50, 1e-5);

    // The next scene resets the per-scene values; fog parameters persist, "reset" clears
    // the look modes, unknown names do nothing.
    readText("scene\norient A\nreset\ncrosslook A nosuch 3\nexpfog 0.02\nend\n");
    EXPECT_EQ(camera.orientTarget, nullptr);
    EXPECT_EQ(camera.crossFrom, nullptr);
    EXPECT_EQ(fadeOutBlack.start, -1);
    EXPECT_EQ(fadeInWhite.end, -1);
    EXPECT_TRUE(particleFieldOn);
    EXPECT_TRUE(fogEnabled);
    EXPECT_EQ(sceneFog.mode, SceneFog::Exponential);
    EXPECT_EQ(sceneFog.density, 0.02f);
    EXPECT_EQ(sceneFog.end, 200);
    readText("scene\nend\n");
    EXPECT_FALSE(fogEnabled);
}

TEST_F(SceneFile, DamagedFilesEnd) {
    // Missing member: the message, and an empty scene.
    {
        ScriptArchive archive(MemberTexts{{"other.txt", "x"}});
        std::strcpy(camera.sceneDir, "dir\\");
        std::strcpy(camera.sceneFile, "scene3.txt");
        camera.readScene();
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "ARCHIVE Error: Scene: dir\\scene3.txt not open");
    EXPECT_TRUE(camera.track.empty());
    // No "scene" line, no "end" line, a track without "ENDKEYS", a block without "end",
    // and a last line without a line feed: each reader stops at the member's end.
    readText("nothing here\n");
    variantCounter = 1;
    readText("scene\nnext a");
    EXPECT_STREQ(camera.sceneFile, "a1.txt");
    readText("scene\nKEYFRAMES\nkeyframe\ntime 0\nend\nkeyframe\ntime 5");
    EXPECT_EQ(camera.track.size(), 2u);
    readText("scene\r\nset\r\nKEYFRAMES\r\n");
    // An over-long line neither overruns nor hides the lines after it.
    readText("scene\nnext " + std::string(400, 'x') + "\nnext z\nend\n");
    EXPECT_STREQ(camera.sceneFile, "z1.txt");
    variantCounter = 0;
    // Leading spaces go, a tab stays; carriage returns vanish wherever they stand.
    readText("   scene\n\tnext tabbed\n  ne\rxt cr\r\nend\n");
    EXPECT_STREQ(camera.sceneFile, "cr0.txt");
    // "Scene" is not "scene"; "endless" ends the body.
    readText("Scene\nnext no\nscene\nendless\nnext late\nend\n");
    EXPECT_STREQ(camera.sceneFile, "scene.txt");
}
