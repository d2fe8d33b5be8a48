#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/TextureLoader.h"
#include "script/Settings.h"
#include "support/OffscreenGL.h"
#include "support/ScriptArchive.h"
#include "support/TestMesh.h"
#include "world/Billboard.h"
#include "world/Flame.h"
#include "world/Flare.h"
#include "world/Mesh.h"
#include "world/MeshFile.h"
#include "world/ParticleSystem.h"
#include "world/Sphere.h"
#include "world/WorldFile.h"

namespace {

class WorldFileRead : public ::testing::Test {
protected:
    void SetUp() override {
        setGraphicsLoading(false);
        savedWidth = settings.width;
    }
    void TearDown() override {
        settings.width = savedWidth;
        setGraphicsLoading(true);
    }
    ObjectList read(const std::string& text) {
        ScriptArchive archive(MemberTexts{{"w.txt", text}});
        ObjectList list;
        EXPECT_TRUE(readWorldFile(list, "w.txt"));
        return list;
    }
    std::uint32_t savedWidth = 800;
};

template <class Kind>
Kind* as(const ObjectList& list, std::size_t i) {
    return i < list.size() ? dynamic_cast<Kind*>(list[i].get()) : nullptr;
}

}  // namespace

TEST_F(WorldFileRead, KindKeywordsInOrder) {
    EXPECT_EQ(kindFromKeyword("sphere"), ObjectKind::Sphere);
    EXPECT_EQ(kindFromKeyword("billboards"), ObjectKind::Billboard);
    EXPECT_EQ(kindFromKeyword("flare"), ObjectKind::Flare);
    EXPECT_EQ(kindFromKeyword("flame"), ObjectKind::Flame);
    EXPECT_EQ(kindFromKeyword("mesh"), ObjectKind::Mesh);
    EXPECT_EQ(kindFromKeyword("ps"), ObjectKind::ParticleSystem);
    EXPECT_EQ(kindFromKeyword("psst"), ObjectKind::ParticleSystem);
    EXPECT_EQ(kindFromKeyword("ENDWORLD"), ObjectKind::EndWorld);
    EXPECT_EQ(kindFromKeyword("geometry x"), ObjectKind::Geometry);
    EXPECT_EQ(kindFromKeyword("directory"), ObjectKind::Dir);
    EXPECT_EQ(kindFromKeyword("Sphere"), ObjectKind::None);
    EXPECT_EQ(kindFromKeyword("\tsphere"), ObjectKind::None);
    EXPECT_EQ(kindFromKeyword(""), ObjectKind::None);
    EXPECT_EQ(int(ObjectKind::Mesh), 5);
    EXPECT_EQ(int(ObjectKind::Flame), 4);
}

TEST_F(WorldFileRead, SphereAndMeshProperties) {
    ObjectList list = read(
        "comment line\n"
        "sphere\nbegin Earth\nradius 40\nFOV 2\nalpha 0.5\ntiling 3\nenvironment\nlight\n"
        "rotation V(0 0 1) 15 0.5\norient V(0 1 0) 30\nposition V(1 2 3)\nend\n"
        "sphere\nbegin averyveryverylongname\nenv\ngeo\nend\n"
        "mesh\nbegin Ship\norient V(1 0 0) 90\nposition V(4 5 6)\nlook V(0 1 0)\n"
        "right V(0 0 1)\nmaterial\n\tmetal\n\tmap1 a.jpg\n\tmap1 a.jpg\n\tmap1 b.jpg\n"
        "scale 2\nspeed 9\nlight\ninvup\ntiling 8\nend\n"
        "mesh\nbegin Plain\nend\nENDWORLD\nsphere\nbegin After\nend\n");
    ASSERT_EQ(list.size(), 4u);
    Sphere* s = as<Sphere>(list, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->name, "Earth");
    EXPECT_EQ(s->radius, 40);
    EXPECT_EQ(s->fov, 2);
    EXPECT_EQ(s->alpha, 0.5f);
    EXPECT_EQ(s->tiling, 3);
    // "environment" matches "env": an environment sphere; its spin stops, but the later
    // "rotation" line sets it again.
    EXPECT_TRUE(s->isEnv);
    EXPECT_TRUE(s->unlit);
    EXPECT_EQ(s->spinAxis.z, 1);
    EXPECT_EQ(s->spinAngle, 15);
    EXPECT_EQ(s->spinSpeed, 0.5f);
    EXPECT_EQ(s->orientAxis.y, 1);
    EXPECT_EQ(s->orientAngle, 30);
    EXPECT_EQ(s->position.z, 3);
    Sphere* t = as<Sphere>(list, 1);
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->name, "averyveryveryl");  // cut to 14 characters
    EXPECT_EQ(t->spinSpeed, 0);
    EXPECT_EQ(t->radius, 5);
    Mesh* m = as<Mesh>(list, 2);
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->name, "Ship");
    EXPECT_EQ(m->orientAngle, 90);
    EXPECT_EQ(m->position.y, 5);
    EXPECT_EQ(m->look.y, 1);
    EXPECT_EQ(m->right.z, 1);
    // The material block's second line was no "\tchrome": chrome off.
    EXPECT_TRUE(m->metal);
    EXPECT_FALSE(m->chrome);
    EXPECT_TRUE(m->hasTexture);    // "\tmap1" in third place
    EXPECT_FALSE(m->hasTexture2);  // no "\tmap2" in fourth place
    EXPECT_EQ(m->scale, 2);
    EXPECT_EQ(m->tiling, 8);
    EXPECT_TRUE(m->additive);
    Mesh* plain = as<Mesh>(list, 3);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->chrome);
    EXPECT_FALSE(plain->metal);
    EXPECT_EQ(plain->look.z, 1);
    EXPECT_EQ(plain->right.x, 1);
    EXPECT_EQ(plain->tiling, 4);
    EXPECT_TRUE(plain->visible);
}

TEST_F(WorldFileRead, ConversionsAndParents) {
    settings.width = 1600;  // W / 800 = 2
    ObjectList list = read(
        "sphere\nbegin Sun\nend\n"
        "flare\nbegin ignored\nsize 10\nalpha 0.5 fade: 0.1 0.2\nrotation 30 2\nflash 0.7)\n"
        "focus 0.3)\nparent Sun V(1 2 3)\nlenseffect\n\tsize 4\n\ttexture a.jpg\n\ttexture b.jpg\n"
        "\ttexture c.jpg\nxy 2\norient V(0 0 1)\nend\n"
        "billboard\nbegin x\nrotation 10 0.5\nparent Nobody V(1 1 1)\norient\nflash 0 1 2)\n"
        "color V(1 0 0)\nup V(0 0 1)\nright V(0 1 0)\nxy 3\nend\n"
        "billboard\nbegin y\norient off\nparent Later V(0 0 0)\nenv V(7 8 9)\nend\n"
        "flame\nbegin f\nparent Sun\norient V(0 0 -2)\ncolorfrom V(1 0 0)\ncolorto V(0 1 0)\n"
        "size 2\noffset 0.5\nend\n"
        "mesh\nbegin Later\nend\n"
        "ps\nbegin p\nline\ntime 3\ndens 25\npoint1 V(1 0 0)\npoint2 V(0 1 0)\nrot V(0 0 1)\nend\n"
        "ps\nbegin q\ncirc\ndens -4\nend\n"
        "ENDWORLD\n");
    ASSERT_EQ(list.size(), 8u);
    Flare* f = as<Flare>(list, 1);
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->name, "");  // only spheres and meshes keep their name
    EXPECT_EQ(f->size, 20);
    EXPECT_EQ(f->lensSize, 8);
    EXPECT_TRUE(f->hasLens);
    EXPECT_EQ(f->alpha, 0.5f);
    EXPECT_FLOAT_EQ(f->fadeIn, 6);
    EXPECT_FLOAT_EQ(f->fadeOut, 12);
    EXPECT_EQ(f->angle, 30);
    EXPECT_EQ(f->spin, 120);
    EXPECT_TRUE(f->hasFlash);
    EXPECT_FLOAT_EQ(f->flash, 0.7f);
    EXPECT_TRUE(f->hasFocus);
    EXPECT_EQ(f->parent, list[0].get());
    EXPECT_EQ(f->offset.z, 3);
    EXPECT_EQ(f->xy, 2);  // the line after the four lens lines is a property again
    EXPECT_TRUE(f->hasOrient);
    Billboard* b = as<Billboard>(list, 2);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->spin, 30);
    EXPECT_EQ(b->parent, nullptr);
    EXPECT_EQ(b->offset.x, 1);
    EXPECT_FALSE(b->fixedOrientation);  // "orient" without "off" is ignored
    EXPECT_TRUE(b->hasFlash);
    EXPECT_EQ(b->darkTime, 1);
    EXPECT_EQ(b->litTime, 2);
    EXPECT_EQ(b->up.z, 1);
    EXPECT_EQ(b->right.y, 1);
    EXPECT_EQ(b->xy, 3);
    Billboard* c = as<Billboard>(list, 3);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->fixedOrientation);
    EXPECT_TRUE(c->isEnv);
    EXPECT_EQ(c->offset.y, 8);
    EXPECT_EQ(c->parent, nullptr);  // parents must come earlier in the file
    EXPECT_GE(c->spin, -60);
    EXPECT_LE(c->spin, 60);
    Flame* fl = as<Flame>(list, 4);
    ASSERT_NE(fl, nullptr);
    EXPECT_EQ(fl->parent, list[0].get());
    EXPECT_EQ(fl->anchor.z, -2);
    EXPECT_EQ(fl->colorFrom.x, 1);
    EXPECT_EQ(fl->colorTo.y, 1);
    EXPECT_EQ(fl->size, 2);
    EXPECT_EQ(fl->offset, 0.5f);
    ParticleSystem* p = as<ParticleSystem>(list, 6);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->mode, ParticleSystem::LineEmitter);
    EXPECT_EQ(p->period, 3);
    EXPECT_EQ(p->count, 25);
    EXPECT_EQ(p->positions.size(), 25u);
    EXPECT_EQ(p->velocities.size(), 25u);
    EXPECT_EQ(p->right.z, 1);
    EXPECT_EQ(p->point2.y, 1);
    for (const Vec3& v : p->positions) EXPECT_NEAR(length(v), 250, 1e-2);
    ParticleSystem* q = as<ParticleSystem>(list, 7);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->mode, ParticleSystem::CircleEmitter);
    EXPECT_EQ(q->count, 0);
    EXPECT_TRUE(q->positions.empty());
}

TEST_F(WorldFileRead, DamagedFilesStop) {
    // No "ENDWORLD", a block without "end", a block without "begin", a missing member.
    EXPECT_EQ(read("sphere\nbegin A\nend\n").size(), 1u);
    EXPECT_EQ(read("sphere\nbegin A\nradius 3").size(), 1u);
    EXPECT_EQ(read("sphere\nradius 3\n").size(), 0u);
    EXPECT_EQ(read("mesh\nbegin M\nmaterial\n").size(), 1u);
    EXPECT_EQ(read("flare\nbegin F\nlenseffect\n\tsize 2").size(), 1u);
    EXPECT_EQ(read("").size(), 0u);
    ObjectList list = read("sphere\nbegin " + std::string(300, 'n') + "\ntexture " +
                           std::string(200, 't') + "\nend\nsphere\nbegin B\nend\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::strlen(list[0]->name), 14u);
    EXPECT_STREQ(list[1]->name, "B");
    // A damaged particle count cannot demand gigabytes.
    ObjectList dense = read("ps\nbegin p\ndens 2000000000\nend\n");
    ASSERT_EQ(dense.size(), 1u);
    EXPECT_LE(static_cast<ParticleSystem*>(dense[0].get())->positions.size(), 100000u);
    EXPECT_EQ(static_cast<ParticleSystem*>(dense[0].get())->count,
              int(static_cast<ParticleSystem*>(dense[0].get())->positions.size()));
    // Tabs stay part of a line: a tab-indented kind keyword opens no block.
    EXPECT_EQ(read("\tsphere\nbegin T\nend\nsphere\r\nbegin   C\r\nradius 9\r\nend\r\n").size(), 1u);
    ScriptArchive archive(MemberTexts{{"w.txt", "x"}});
    ObjectList none;
    EXPECT_FALSE(readWorldFile(none, "missing.txt"));
    EXPECT_TRUE(none.empty());
    // One file read into two lists: two independent sets of objects.
    ObjectList a = read("sphere\nbegin S\nend\nENDWORLD\n");
    ObjectList b = read("sphere\nbegin S\nend\nENDWORLD\n");
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_NE(a[0].get(), b[0].get());
    EXPECT_EQ(findByName(a, "S"), a[0].get());
    EXPECT_EQ(findByName(a, "s"), nullptr);
}

TEST(WorldFileGeometry, SlotsFollowGeometryLines) {
    OffscreenGL gl;
    ASSERT_TRUE(gl.ok());
    setGraphicsLoading(true);
    auto meshBytes = squareMesh().bytes();
    std::string mesh(meshBytes.begin(), meshBytes.end());
    ScriptArchive archive(MemberTexts{
        {"meshes\\env.dat", mesh},
        {"meshes\\sphere.dat", mesh},
        {"meshes\\one.dat", mesh},
        {"meshes\\two.dat", mesh},
        {"w.txt", "geometry meshes\\one.dat\nmesh\nbegin A\nend\nmesh\nbegin B\nend\n"
                  "geometry meshes\\two.dat\nmesh\nbegin C\nend\ngeometry meshes\\none.dat\n"
                  "mesh\nbegin D\nend\nsphere\nbegin S\nend\nsphere\nbegin E\nenv\nend\nENDWORLD\n"}});
    ObjectList list;
    ASSERT_TRUE(readWorldFile(list, "w.txt"));
    ASSERT_EQ(list.size(), 6u);
    auto meshList = [&](int i) { return static_cast<Mesh*>(list[i].get())->displayList; };
    EXPECT_NE(meshList(0), 0u);
    EXPECT_EQ(meshList(0), meshList(1));
    EXPECT_NE(meshList(2), meshList(0));
    EXPECT_EQ(meshList(3), meshList(2));  // a missing member keeps the slot as it was
    EXPECT_EQ(static_cast<Sphere*>(list[4].get())->displayList, geometrySlots.sphere);
    EXPECT_EQ(static_cast<Sphere*>(list[5].get())->displayList, geometrySlots.environment);
    EXPECT_NE(geometrySlots.sphere, geometrySlots.environment);
}
