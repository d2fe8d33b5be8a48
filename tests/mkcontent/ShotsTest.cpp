// The track authoring helper: look-at orientations in the player's camera frame, and the
// expansion of camera and fly blocks into keyframe blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "mkcontent/Shots.h"

namespace {

struct ExpandedKey {
    V3 position;
    Quat rotation;
    double time = -1;
    bool freeze = false;
};

// Reads back the keyframe blocks of an expansion the way the player does: leading spaces are
// dropped, tabs are kept (so a tab-indented property would not count).
std::vector<ExpandedKey> keysOf(const std::string& text) {
    std::vector<ExpandedKey> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(' ');
        std::string body = start == std::string::npos ? "" : line.substr(start);
        if (body.rfind("keyframe", 0) == 0) keys.emplace_back();
        if (keys.empty()) continue;
        ExpandedKey& k = keys.back();
        std::sscanf(body.c_str(), "position V(%lf %lf %lf)", &k.position.x, &k.position.y, &k.position.z);
        std::sscanf(body.c_str(), "quaternion Q(%lf %lf %lf %lf)", &k.rotation.x, &k.rotation.y, &k.rotation.z,
                    &k.rotation.w);
        std::sscanf(body.c_str(), "time %lf", &k.time);
        if (body.rfind("freeze", 0) == 0) k.freeze = true;
    }
    return keys;
}

void expectNear(V3 a, V3 b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

}  // namespace

TEST(Shots, LookRotationPutsViewOnXAndUpOnZ) {
    const V3 directions[] = {{1, 0, 0}, {0, 0, -1}, {-1, 0, 0}, {0.3, -0.8, 0.5}, {-2, 1, 3}, {0, 0, 1}};
    for (V3 d : directions) {
        Quat q = lookRotation(d, {0, 1, 0});
        EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0, 1e-9);
        expectNear(forwardOf(q), normalized(d), 1e-9);
        V3 up = upOf(q);
        EXPECT_NEAR(dot(up, normalized(d)), 0.0, 1e-9);
        EXPECT_GT(up.y, 0.0) << "up stays on the sky side";
        // up lies in the plane of the view direction and the wanted up: no sideways lean
        EXPECT_NEAR(dot(up, normalized(cross(d, V3{0, 1, 0}))), 0.0, 1e-9);
    }
    // straight up or down has no unique frame, but must still give a valid one
    Quat q = lookRotation({0, 1, 0}, {0, 1, 0});
    expectNear(forwardOf(q), {0, 1, 0}, 1e-9);
    EXPECT_NEAR(dot(upOf(q), {0, 1, 0}), 0.0, 1e-9);
}

TEST(Shots, CameraBlockBecomesKeyframesLookingAtTheirTargets) {
    std::string out, error;
    ASSERT_TRUE(expandScene("scene test\n"
                            "fback 0 2\n"
                            "camera\n"
                            "  key 0  10 0 0  look 0 0 0\n"
                            "  key 5  0 10 10  look 0 0 0 roll 30\n"
                            "  key 10 -10 0 0  look 0 5 0 freeze\n"
                            "done\n"
                            "end\n",
                            out, error))
        << error;
    EXPECT_EQ(out.rfind("scene test\nfback 0 2\nKEYFRAMES\nkeyframe\n", 0), 0u) << out;
    EXPECT_NE(out.find("ENDKEYS\nend\n"), std::string::npos);
    std::vector<ExpandedKey> keys = keysOf(out);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1].time, 5);
    EXPECT_TRUE(keys[2].freeze);
    EXPECT_FALSE(keys[0].freeze);
    expectNear(forwardOf(keys[0].rotation), {-1, 0, 0}, 1e-5);
    expectNear(forwardOf(keys[1].rotation), normalized({0, -10, -10}), 1e-5);
    // roll turns the up vector away from the world's up, about the view axis
    EXPECT_NEAR(dot(upOf(keys[1].rotation), normalized(cross({0, -1, -1}, {0, 1, 0}))), std::sin(M_PI / 6), 1e-4);
    expectNear(forwardOf(keys[2].rotation), normalized({10, 5, 0}), 1e-5);
    // neighbouring keys stay in one hemisphere so the player interpolates the short way
    for (size_t i = 1; i < keys.size(); ++i) {
        const Quat& a = keys[i - 1].rotation;
        const Quat& b = keys[i].rotation;
        EXPECT_GE(a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w, 0.0);
    }
}

TEST(Shots, FlyBlockFacesAlongItsPathAndOrbitPlacesKeysOnTheCircle) {
    std::string out, error;
    ASSERT_TRUE(expandScene("scene\n"
                            "fly fighter1\n"
                            "  key 0  0 0 0\n"
                            "  key 4  40 0 0\n"
                            "  key 8  40 0 -40\n"
                            "done\n"
                            "camera\n"
                            "  orbit 0 12 4  100 0 0  50 10  0 90  look 100 0 0\n"
                            "done\n"
                            "end\n",
                            out, error))
        << error;
    EXPECT_NE(out.find("set fighter1\nkeyframe\n"), std::string::npos);
    std::vector<ExpandedKey> keys = keysOf(out);
    ASSERT_EQ(keys.size(), 3u + 5u);
    expectNear(forwardOf(keys[0].rotation), {1, 0, 0}, 1e-5);
    expectNear(forwardOf(keys[1].rotation), normalized({40, 0, -40}), 1e-5);  // half chord of its neighbours
    expectNear(forwardOf(keys[2].rotation), {0, 0, -1}, 1e-5);
    for (size_t i = 3; i < keys.size(); ++i) {
        V3 offset = keys[i].position - V3{100, 0, 0};
        EXPECT_NEAR(offset.y, 10, 1e-3);
        EXPECT_NEAR(std::hypot(offset.x, offset.z), 50, 1e-2);
        EXPECT_NEAR(keys[i].time, (i - 3) * 3.0, 1e-9);
    }
    expectNear(keys[3].position, {150, 10, 0}, 1e-3);
    expectNear(keys[7].position, {100, 10, -50}, 1e-3);
}

TEST(Shots, MalformedSourcesAreRejectedWithTheirLine) {
    const char* bad[] = {
        "scene\ncamera\n  key 0 0 0 0\n  key 0 1 0 0\ndone\nend\n",          // times must increase
        "scene\ncamera\n  key 0 0 0 0\n  key 2 1 0 0\nend\n",                // block never closed
        "scene\ncamera\n  key 0 0 0 0\ndone\nend\n",                         // one key is not a track
        "scene\ncamera\n  key 0 0 0\n  key 1 1 0 0\ndone\nend\n",            // missing coordinate
        "scene\ncamera\n  key 0 0 0 0 glance 1 2 3\n  key 1 1 0 0\ndone\n",  // unknown option
        "scene\nfly a_name_that_is_too_long\n  key 0 0 0 0\n  key 1 1 0 0\ndone\n",
    };
    for (const char* source : bad) {
        std::string out, error;
        EXPECT_FALSE(expandScene(source, out, error)) << source;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
    }
    std::string longLine = "scene\n" + std::string(128, 'x') + "\nend\n", out, error;
    EXPECT_FALSE(expandScene(longLine, out, error));
}
