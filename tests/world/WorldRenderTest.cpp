#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/TextureLoader.h"
#include "imppack/ArchiveWriter.h"
#include "support/RenderKit.h"
#include "support/TempDir.h"
#include "script/Random.h"
#include "support/TestJpeg.h"
#include "world/Mesh.h"
#include "world/ParticleField.h"
#include "world/ParticleSystem.h"
#include "world/WorldFile.h"

namespace {

std::vector<std::uint8_t> jpegOf(unsigned char r, unsigned char g, unsigned char b) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 64; ++i) pixels.insert(pixels.end(), {r, g, b});
    return writeTestJpeg(pixels, 8, 8, 3);
}

std::vector<std::uint8_t> textOf(const std::string& s) { return {s.begin(), s.end()}; }

// Every kind, attached and free, as a world file would bring them.
const char* kWorld =
    "geometry meshes\\ship.dat\n"
    "sphere\nbegin sky\nenv\nradius 200\nlight\ntexture textures\\sky.jpg\nend\n"
    "sphere\nbegin planet\nradius 20\nposition V(0.0 0.0 -120.0)\nalpha 0.6\ntexture textures\\planet.jpg\nend\n"
    "sphere\nbegin moon\nradius 5\nposition V(30.0 0.0 -100.0)\ntexture textures\\planet.jpg\nend\n"
    "mesh\nbegin ship\nposition V(0 0 -40)\nmaterial\n\tmetal\n\tchrome\n\tmap1 textures\\hull.jpg\n"
    "\tmap2 textures\\planet.jpg\nscale 2\nend\n"
    "mesh\nbegin barge\nposition V(-8 -3 -30)\nlight\nmaterial\n\tnone\n\tnone\n\tmap1 textures\\hull.jpg\n\tnone\nend\n"
    "flame\nbegin f\ntexture textures\\flame.jpg\nparent ship\norient V(0 0 -1)\nend\n"
    "billboard\nbegin b\nsize 3\nparent ship V(1.0 0.0 0.0)\ncolor V(1 0 0)\ntexture textures\\flame.jpg\n"
    "flash 0 0.5 0.5)\nend\n"
    "billboard\nbegin e\nenv V(0 0 -50)\nsize 4\ntexture textures\\sky.jpg\nend\n"
    "flare\nbegin fl\nsize 20\nposition V(0 5 -60)\ntexture textures\\flame.jpg\nalpha 0 fade: 0.1 0.1\n"
    "lenseffect\n\tsize 5\n\ttexture textures\\lens.jpg\n\ttexture textures\\lens.jpg\n\ttexture textures\\lens.jpg\n"
    "focus 0.5)\nflash 0.3)\norient V(10 10 0)\nend\n"
    "flare\nbegin env\nenv V(0 0 -20)\nsize 10\ntexture textures\\flame.jpg\nend\n"
    "ps\nbegin p\nline\ntime 2\ndens 20\npoint1 V(-10 0 -50)\npoint2 V(10 0 -50)\ntexture textures\\flame.jpg\nend\n"
    "ps\nbegin c\ncirc\ntime 3\ndens 30\npoint1 V(10 0 -50)\npoint2 V(0 0 -50)\nrot V(0 1 0)\n"
    "texture textures\\flame.jpg\nend\n"
    "ps\nbegin still\ncirc\ndens 5\nend\n"
    "ENDWORLD\n";

}  // namespace

TEST(WorldRender, SecondsOfEveryKindWithoutAGlError) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    TempDir dir;
    PackOptions options;
    options.method = Method::Stored;
    ASSERT_TRUE(writeArchive(dir.file("data.ssd"),
                             {{"meshes\\env.dat", cubeMesh().bytes()},
                              {"meshes\\sphere.dat", cubeMesh().bytes()},
                              {"meshes\\ship.dat", cubeMesh().bytes()},
                              {"textures\\sky.jpg", jpegOf(20, 20, 80)},
                              {"textures\\planet.jpg", jpegOf(200, 120, 60)},
                              {"textures\\hull.jpg", jpegOf(160, 160, 160)},
                              {"textures\\flame.jpg", jpegOf(255, 220, 120)},
                              {"textures\\lens.jpg", jpegOf(120, 120, 255)},
                              {"textures\\particle.jpg", jpegOf(255, 255, 255)},
                              {"world.txt", textOf(kWorld)}},
                             options));
    ScopedWorkingDir cwd(dir.path());
    setGraphicsLoading(true);
    resetSceneState();
    seedRandom(5);

    ObjectList list;
    ASSERT_TRUE(readWorldFile(list, "world.txt"));
    ASSERT_EQ(list.size(), 13u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Mesh* ship = dynamic_cast<Mesh*>(findByName(list, "ship"));
    ASSERT_NE(ship, nullptr);
    ASSERT_NE(ship->displayList, 0u);
    Keyframe from, to;
    from.time = 0;
    from.position = make(0, 0, -40);
    from.rotation = Quaternion{0, 0, 0, 1};
    to.time = 3;
    to.position = make(0, 10, -60);
    to.rotation = Quaternion{0, 0.38268343f, 0, 0.92387953f};
    ship->track.keys = {from, to};
    prepareTrack(ship->track);
    setUpParticleField();
    ASSERT_EQ(particleField.positions.size(), 800u);

    Camera camera;
    placeCamera(camera, make(0, 0, 0));
    fogEnabled = true;
    sceneFog.mode = SceneFog::Linear;
    sceneFog.start = 10;
    sceneFog.end = 200;
    const double dt = 1.0 / 60;
    long light = 0;
    for (int frame = 0; frame < 180; ++frame) {
        sceneClock = static_cast<float>(frame * dt);
        for (auto& object : list) object->update(dt);
        camera.position = camera.eye = make(0, 0, static_cast<float>(-frame * 0.05));
        kit.beginFrame(camera);
        for (std::size_t i = 0; i < list.size(); ++i) {
            list[i]->render(camera);
            ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "object " << i << " frame " << frame;
        }
        particleField.render(camera);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "dust frame " << frame;
        if (frame % 60 == 59) {
            expectShowStateKept("frame");
            light += RenderKit::totalLight(kit.pixels());
        }
    }
    EXPECT_GT(light, 0);
    EXPECT_NEAR(ship->position.y, 10, 0.5f);  // flew its track
    fogEnabled = false;
    sceneFog = SceneFog{};
    particleField = ParticleSystem();
    resetSceneState();
}
