#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/TextureLoader.h"
#include "script/Camera.h"
#include "support/ScriptArchive.h"

namespace {

class Worlds : public ::testing::Test {
protected:
    void SetUp() override { setGraphicsLoading(false); }
    void TearDown() override { setGraphicsLoading(true); }
};

const char* kOneSphere = "sphere\nbegin One\nend\nENDWORLD\n";
const char* kTwoSpheres = "sphere\nbegin Two\nend\nsphere\nbegin Three\nend\nENDWORLD\n";

}  // namespace

TEST_F(Worlds, EnvironmentsAndWorlds) {
    ScriptArchive archive(MemberTexts{
        {"one.txt", kOneSphere},
        {"two.txt", kTwoSpheres},
        {"env.txt", "free text\r\n"
                    "env space\r\nfirstpass one.txt\r\nfirstpass two.txt\r\nENV_END\r\npostpass two.txt\r\nend\r\n"
                    "env space\r\nfirstpass two.txt\r\nend\r\n"
                    "env bare\r\nend\r\n"
                    "\tenv tabbed\r\nend\r\n"
                    "env averyveryverylongenvironmentname\r\nend\r\n"
                    "ENV_END\r\nenv late\r\nend\r\n"},
        {"worlds.txt", "world blue_galaxy\nenv space\nobjects one.txt\nobjects two.txt\n"
                       "scenedir blue\\\nend\n"
                       "world blue_galaxy\nscenedir dup\\\nend\n"
                       "world nowhere\nenv nosuch\nscenedir abc\nscenedir abc\\\nend\n"
                       "world bare\nend\n"
                       "world abcdefghijklmnopqrstuvwxyz\nscenedir " + std::string(80, 'd') + "\nend\n"
                       "WORLD_END\n"}});
    EnvironmentList environments;
    readEnvironments(environments, "env.txt");
    // Duplicates are both kept; a tab-indented "env" is no block; "ENV_END" inside a
    // block is ignored, and ends the file outside one.
    ASSERT_EQ(environments.size(), 4u);
    EXPECT_STREQ(environments[0]->name, "space");
    ASSERT_EQ(environments[0]->firstPass.size(), 3u);
    EXPECT_STREQ(environments[0]->firstPass[0]->name, "One");
    EXPECT_STREQ(environments[0]->firstPass[2]->name, "Three");
    EXPECT_EQ(environments[0]->postPass.size(), 2u);
    EXPECT_EQ(findEnvironment(environments, "space"), environments[0].get());
    EXPECT_EQ(findEnvironment(environments, "Space"), nullptr);
    EXPECT_EQ(findEnvironment(environments, "late"), nullptr);
    EXPECT_TRUE(environments[2]->firstPass.empty());
    EXPECT_EQ(std::strlen(environments[3]->name), 19u);

    WorldList worlds;
    readWorlds(worlds, environments, "worlds.txt");
    ASSERT_EQ(worlds.size(), 5u);
    World* blue = findWorld(worlds, "blue_galaxy");
    EXPECT_EQ(blue, worlds[0].get());
    EXPECT_EQ(blue->objects.size(), 3u);
    EXPECT_EQ(blue->firstPass, &environments[0]->firstPass);  // shared, not copied
    EXPECT_EQ(blue->postPass, &environments[0]->postPass);
    EXPECT_STREQ(blue->sceneDir, "blue\\");
    // An unknown environment leaves empty passes; the later "scenedir" wins.
    World* nowhere = findWorld(worlds, "nowhere");
    ASSERT_NE(nowhere, nullptr);
    EXPECT_TRUE(nowhere->firstPass->empty());
    EXPECT_TRUE(nowhere->postPass->empty());
    EXPECT_STREQ(nowhere->sceneDir, "abc\\");
    EXPECT_STREQ(findWorld(worlds, "bare")->sceneDir, "");
    EXPECT_EQ(std::strlen(worlds[4]->name), 21u);
    EXPECT_EQ(std::strlen(worlds[4]->sceneDir), 49u);
    EXPECT_EQ(findWorld(worlds, "nosuch"), nullptr);
    worlds.clear();
    // A stop asked for between worlds ends the reading there.
    static int asked = 0;
    readWorlds(worlds, environments, "worlds.txt", [] { return ++asked <= 2; });
    EXPECT_EQ(worlds.size(), 2u);
    worlds.clear();
    // Missing members add nothing.
    readEnvironments(environments, "gone.txt");
    readWorlds(worlds, environments, "gone.txt");
    EXPECT_EQ(environments.size(), 4u);
    EXPECT_TRUE(worlds.empty());
}

TEST_F(Worlds, SceneDirectoryIsARawPrefix) {
    resetSceneState();
    ScriptArchive archive(MemberTexts{{"abc\\scene2.txt", "scene\nnext from_dir\nend\n"},
                                      {"abcscene2.txt", "scene\nnext from_prefix\nend\n"}});
    std::strcpy(camera.sceneFile, "scene2.txt");
    std::strcpy(camera.sceneDir, "abc\\");
    camera.readScene();
    EXPECT_STREQ(camera.sceneFile, "from_dir0.txt");
    std::strcpy(camera.sceneFile, "scene2.txt");
    std::strcpy(camera.sceneDir, "abc");
    camera.readScene();
    EXPECT_STREQ(camera.sceneFile, "from_prefix0.txt");
    resetSceneState();
}
