#include <gtest/gtest.h>

#include <cstring>

#include "script/Scan.h"

TEST(KeywordTest, PrefixAndCase) {
    EXPECT_TRUE(keywordTest("worlds x", "world"));
    EXPECT_TRUE(keywordTest("endless", "end"));
    EXPECT_FALSE(keywordTest("Scene 1", "scene"));
    EXPECT_FALSE(keywordTest("\tworld x", "world"));
    EXPECT_FALSE(keywordTest("wor", "world"));
    EXPECT_FALSE(keywordTest("", "end"));
    EXPECT_FALSE(keywordTest("ENDKEYS", "end"));
}

TEST(ScanLine, FormatsAndBlanks) {
    float x = -1, y = -1, z = -1, w = -1;
    EXPECT_EQ(scanLine("position V(1 -2.5 3e2)", "position V(%f %f %f)", &x, &y, &z), 3);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -2.5f);
    EXPECT_EQ(z, 300);
    // A blank in the format matches a run of white space, tabs included, or none.
    EXPECT_EQ(scanLine("quaternion   Q(0\t0 1   0.5)", "quaternion Q(%f %f %f %f)", &x, &y, &z, &w), 4);
    EXPECT_EQ(w, 0.5f);
    EXPECT_EQ(scanLine("\tsize 7", "\tsize %f", &x), 1);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(scanLine("size 7", "\tsize %f", &x), 1);
    int n = 0;
    EXPECT_EQ(scanLine("dens 250", "dens %d", &n), 1);
    EXPECT_EQ(n, 250);
    // A mismatch stops the scan; fields already stored stay, later ones are untouched.
    x = y = 9;
    EXPECT_EQ(scanLine("fout 2 x", "fout %f %f", &x, &y), 1);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 9);
    EXPECT_EQ(scanLine("position (1 2 3)", "position V(%f %f %f)", &x, &y, &z), 0);
    EXPECT_EQ(scanLine("time", "time %f", &x), 0);
    // Out-of-range integers saturate instead of wrapping.
    EXPECT_EQ(scanLine("dens 99999999999999", "dens %d", &n), 1);
    EXPECT_EQ(n, 2147483647);
}

TEST(ScanLine, WordsAreBounded) {
    char a[8];
    char b[8];
    float d = 0;
    std::memset(a, 'Q', sizeof a);
    EXPECT_EQ(scanLine("crosslook A B 50", "crosslook %s %s %f", a, 8, b, 8, &d), 3);
    EXPECT_STREQ(a, "A");
    EXPECT_STREQ(b, "B");
    EXPECT_EQ(d, 50);
    // A long word is cut to the capacity, and the rest of it is not taken for the next field.
    char guard[4] = {'g', 'g', 'g', 0};
    EXPECT_EQ(scanLine("crosslook averyverylongname other 7", "crosslook %s %s %f", a, 8, b, 8, &d), 3);
    EXPECT_STREQ(a, "averyve");
    EXPECT_STREQ(b, "other");
    EXPECT_EQ(d, 7);
    EXPECT_STREQ(guard, "ggg");
    EXPECT_EQ(scanLine("env ", "env %s", a, 8), 0);
    char name[5];
    copyName(name, 5, "planetary");
    EXPECT_STREQ(name, "plan");
}
