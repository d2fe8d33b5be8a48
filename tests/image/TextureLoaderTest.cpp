#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/ArchiveMember.h"
#include "image/DeferredTextures.h"
#include "image/JpegImage.h"
#include "image/TextureBuild.h"
#include "image/TextureLoader.h"
#include "imppack/ArchiveWriter.h"
#include "support/MessageRecorder.h"
#include "support/OffscreenGL.h"
#include "support/TempDir.h"
#include "support/TestJpeg.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Red over blue, top row first.
const Bytes kRedOverBlue = {250, 10, 10, 10, 10, 250};

Bytes tga(std::uint8_t depth, std::uint16_t width, std::uint16_t height, const Bytes& body) {
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                 std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height), std::uint8_t(height >> 8),
                 depth, 0};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// Pixels that vary everywhere, so that each level differs from a slightly wrong halving.
Bytes noise(int width, int height, int components) {
    Bytes out(std::size_t(width) * height * components);
    std::uint32_t state = 12345;
    for (auto& byte : out) {
        state = state * 1103515245u + 12345u;
        byte = std::uint8_t(state >> 16);
    }
    return out;
}

// A GL context and an archive of test images in the working directory, for the whole suite.
class TextureLoader : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!gl) gl = new OffscreenGL(64, 64);
        dir = new TempDir;
        Bytes grey(16 * 16, 77);
        std::vector<PackInput> inputs = {
            {"noise.jpg", writeTestJpeg(noise(1024, 512, 3), 1024, 512, 3)},
            {"tall.jpg", writeTestJpeg(noise(2, 128, 3), 2, 128, 3)},
            {"wide.jpg", writeTestJpeg(noise(256, 4, 1), 256, 4, 1)},
            {"broken.jpg", Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3}},
            {"textures\\bands.jpg", writeTestJpeg(bandedPixels(100, 60, kRedOverBlue), 100, 60, 3)},
            {"lens.jpg", writeTestJpeg(bandedPixels(64, 32, kRedOverBlue), 64, 32, 3)},
            {"grey.jpg", writeTestJpeg(grey, 16, 16, 1)},
            {"dot.jpg", writeTestJpeg(Bytes{200, 100, 50}, 1, 1, 3)},
            {"alpha.tga", tga(32, 2, 1, {1, 2, 3, 4, 5, 6, 7, 8})},
            {"opaque.tga", tga(24, 2, 1, {1, 2, 3, 4, 5, 6})},
            {"onebit.tga", tga(1, 8, 1, {0xFF})},
        };
        std::string error;
        ASSERT_TRUE(writeArchive(dir->file("data.ssd"), inputs, PackOptions{}, &error)) << error;
    }
    // The context stays until the process ends: closing it unloads the GL driver, whose
    // own allocations would then show up as leaks without a name to suppress them by.
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(gl->ok());
        cwd = new ScopedWorkingDir(dir->path());
        setGraphicsLoading(true);
    }
    void TearDown() override {
        delete cwd;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    static GLint level(int lod, GLenum what) {
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, lod, what, &value);
        return value;
    }
    static GLint parameter(GLenum what) {
        GLint value = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
        return value;
    }
    static GLuint bound() {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return GLuint(name);
    }
    // A level of the bound texture as RGBA bytes, bottom row first.
    static Bytes texels(int lod = 0) {
        Bytes out(std::size_t(level(lod, GL_TEXTURE_WIDTH)) * level(lod, GL_TEXTURE_HEIGHT) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, lod, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    // Every level of a texture, down to the first empty one.
    static std::vector<Bytes> chain(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        std::vector<Bytes> levels;
        for (int lod = 0; lod < 16 && level(lod, GL_TEXTURE_WIDTH) > 0; ++lod) levels.push_back(texels(lod));
        return levels;
    }
    // The internal format of each level: RGB storage, not RGBA.
    static std::vector<GLint> formats(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        std::vector<GLint> out;
        for (int lod = 0; lod < 16 && level(lod, GL_TEXTURE_WIDTH) > 0; ++lod)
            out.push_back(level(lod, GL_TEXTURE_INTERNAL_FORMAT));
        return out;
    }

    static OffscreenGL* gl;
    static TempDir* dir;
    ScopedWorkingDir* cwd = nullptr;
};

OffscreenGL* TextureLoader::gl = nullptr;
TempDir* TextureLoader::dir = nullptr;

bool isPowerOfTwo(GLint n) { return n > 0 && (n & (n - 1)) == 0; }

TEST_F(TextureLoader, MipmappedJpegIsRescaledWithACompleteChain) {
    GLuint texture = loadMipmappedJpegTexture("TEXTURES\\Bands.jpg");
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(bound(), texture);
    GLint w = level(0, GL_TEXTURE_WIDTH), h = level(0, GL_TEXTURE_HEIGHT);
    EXPECT_TRUE(isPowerOfTwo(w)) << w;
    EXPECT_TRUE(isPowerOfTwo(h)) << h;
    int lod = 0;
    for (GLint lw = w, lh = h; lw > 1 || lh > 1; lw = lw > 1 ? lw / 2 : 1, lh = lh > 1 ? lh / 2 : 1, ++lod) {
        ASSERT_EQ(level(lod, GL_TEXTURE_WIDTH), lw) << lod;
        ASSERT_EQ(level(lod, GL_TEXTURE_HEIGHT), lh) << lod;
    }
    EXPECT_EQ(level(lod, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(level(lod, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);

    // Texture row 0 is the picture's bottom row: blue there, red at the top.
    Bytes t = texels();
    std::size_t top = (std::size_t(h) - 1) * w * 4;
    EXPECT_GT(t[2], 150);
    EXPECT_LT(t[0], 100);
    EXPECT_GT(t[top], 150);
    EXPECT_LT(t[top + 2], 100);

    // Every load decodes again and makes a texture of its own.
    GLuint again = loadMipmappedJpegTexture("textures\\bands.jpg");
    EXPECT_NE(again, texture);
    EXPECT_EQ(bound(), again);
}

TEST_F(TextureLoader, MissingJpegShowsTheMessageAndKeepsAnEmptyTexture) {
    MessageRecorder messages;
    JpegImage image;
    image.width = 5;
    EXPECT_FALSE(loadJpeg("nothere.jpg", image));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.stride, 0);
    EXPECT_TRUE(image.pixels.empty());
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all()[0].text, "ARCH:Can't load JPG file: nothere.jpg");
    EXPECT_EQ(messages.all()[0].caption, "Error");

    GLuint texture = loadMipmappedJpegTexture("textures\\missing.jpg");
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(bound(), texture);
    EXPECT_EQ(level(0, GL_TEXTURE_WIDTH), 0);
    ASSERT_EQ(messages.all().size(), 2u);
    EXPECT_EQ(messages.all()[1].text, "ARCH:Can't load JPG file: textures\\missing.jpg");

    GLuint lens = loadPlainJpegTexture("missing.jpg");
    EXPECT_NE(lens, 0u);
    EXPECT_EQ(bound(), lens);
    EXPECT_EQ(level(0, GL_TEXTURE_WIDTH), 0);

    EXPECT_TRUE(loadJpeg("lens.jpg", image));
    EXPECT_EQ(image.stride, 64 * 3);
    EXPECT_EQ(messages.all().size(), 3u);
}

TEST_F(TextureLoader, PlainJpegHasOneLevelAtItsOwnSize) {
    GLuint texture = loadPlainJpegTexture("lens.jpg");
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(bound(), texture);
    EXPECT_EQ(level(0, GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(level(0, GL_TEXTURE_HEIGHT), 32);
    EXPECT_EQ(level(1, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
}

TEST_F(TextureLoader, GreyJpegIsUploadedAsEqualRgb) {
    GLuint texture = loadMipmappedJpegTexture("grey.jpg");
    ASSERT_NE(texture, 0u);
    Bytes t = texels();
    ASSERT_EQ(t.size(), 16u * 16 * 4);
    for (std::size_t i = 0; i < t.size(); i += 4) {
        ASSERT_NEAR(t[i], 77, 2);
        ASSERT_EQ(t[i], t[i + 1]);
        ASSERT_EQ(t[i], t[i + 2]);
    }
}

TEST_F(TextureLoader, TgaTexturesCarryRgbaAndFailWithoutATexture) {
    GLuint alpha = loadTgaTexture("alpha.tga");
    ASSERT_NE(alpha, 0u);
    EXPECT_EQ(bound(), alpha);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(level(1, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(texels(), (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));

    GLuint opaque = loadTgaTexture("opaque.tga");
    ASSERT_NE(opaque, 0u);
    EXPECT_EQ(texels(), (Bytes{3, 2, 1, 255, 6, 5, 4, 255}));

    // Failures create no texture: the binding stays and no name is used up.
    MessageRecorder messages;
    GLuint before = 0, after = 0;
    glGenTextures(1, &before);
    EXPECT_EQ(loadTgaTexture("absent.tga"), 0u);
    EXPECT_TRUE(messages.all().empty());
    EXPECT_EQ(loadTgaTexture("onebit.tga"), 0u);
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all()[0].text, "Unsupported image depth.");
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1);
    EXPECT_EQ(bound(), opaque);
    glDeleteTextures(1, &before);
    glDeleteTextures(1, &after);
}

TEST_F(TextureLoader, LoadingSwitchedOffMakesNothing) {
    MessageRecorder messages;
    setGraphicsLoading(false);
    EXPECT_FALSE(graphicsLoading());
    EXPECT_EQ(loadMipmappedJpegTexture("lens.jpg"), 0u);
    EXPECT_EQ(loadPlainJpegTexture("missing.jpg"), 0u);
    EXPECT_EQ(loadTgaTexture("alpha.tga"), 0u);
    EXPECT_TRUE(messages.all().empty());
    setGraphicsLoading(true);
}

// Built in bands over many steps, a texture has the very texels of one loaded at once at
// every level: level 0, each halving, tails of one row or one column, grey pictures, a
// single texel, sides GLU must rescale, and no image at all for a picture that cannot be
// decoded.
TEST_F(TextureLoader, TextureBuiltInStepsMatchesOneLoadedAtOnce) {
    for (std::string member : {"noise.jpg", "tall.jpg", "wide.jpg", "grey.jpg", "dot.jpg", "textures\\bands.jpg",
                               "broken.jpg"}) {
        SCOPED_TRACE(member);
        GLuint whole = loadMipmappedJpegTexture(member.c_str());
        ArchiveMember source;
        ASSERT_EQ(source.open(member.c_str()), 0);
        GLuint texture = 0, scratch = 0;
        glGenTextures(1, &texture);
        glGenTextures(1, &scratch);
        TextureBuild build(texture, scratch, source.data(), source.size());
        int steps = 1;
        while (!build.step() && steps < 10000) ++steps;
        ASSERT_LT(steps, 10000);
        if (member == "noise.jpg") {
            EXPECT_GT(steps, 20);
        }
        if (member == "broken.jpg") {
            EXPECT_EQ(level(0, GL_TEXTURE_WIDTH), 0);
        }
        std::vector<Bytes> built = chain(texture);
        EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_TRUE(built == chain(whole)) << built.size() << " levels";
        EXPECT_EQ(formats(texture), formats(whole));
        int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        EXPECT_EQ(mipmappedTextureSize(texture, w1, h1), mipmappedTextureSize(whole, w2, h2));
        EXPECT_EQ(std::make_pair(w1, h1), std::make_pair(w2, h2));
        EXPECT_EQ(darkCellsOf(texture) != nullptr, darkCellsOf(whole) != nullptr);
    }
}

// Deferred textures take storage only while an owner of theirs is wanted, keep their names
// meanwhile, and are complete whenever an owner needs them at once.
TEST_F(TextureLoader, DeferredTexturesFollowTheirOwners) {
    MessageRecorder messages;
    setTextureDeferral(true);
    int worldA = 0, worldB = 0;
    GLuint a = 0, b = 0, shared = 0, missing = 0;
    {
        TextureOwnerScope owner(&worldA);
        a = loadMipmappedJpegTexture("noise.jpg");
        shared = loadMipmappedJpegTexture("tall.jpg");
    }
    {
        TextureOwnerScope owner(&worldB);
        b = loadMipmappedJpegTexture("wide.jpg");
        addTextureOwner(shared);
        missing = loadMipmappedJpegTexture("gone.jpg");
    }
    // A missing member is reported while the show starts, as before.
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all()[0].text, "ARCH:Can't load JPG file: gone.jpg");
    EXPECT_TRUE(textureReady(missing));
    auto width = [](GLuint t) {
        glBindTexture(GL_TEXTURE_2D, t);
        return level(0, GL_TEXTURE_WIDTH);
    };
    EXPECT_EQ(width(a), 0);
    EXPECT_FALSE(textureReady(a));
    EXPECT_FALSE(keepTexturesOf({}));  // nothing built, nothing to give back

    keepTexturesOf({&worldA});
    EXPECT_FALSE(continueTextureBuilds(0));  // a step, then out of time
    for (int i = 0; i < 20 && width(a) == 0; ++i) continueTextureBuilds(0);
    EXPECT_EQ(width(a), 1024);
    EXPECT_FALSE(textureReady(a));
    EXPECT_TRUE(keepTexturesOf({}));  // a build cut short gives its storage back too
    EXPECT_EQ(width(a), 0);
    keepTexturesOf({&worldA});
    while (!continueTextureBuilds(0)) {
    }
    EXPECT_TRUE(textureReady(a));
    EXPECT_EQ(width(a), 1024);
    EXPECT_EQ(width(shared), 2);
    EXPECT_EQ(width(b), 0);

    keepTexturesOf({&worldB});
    EXPECT_EQ(width(a), 0);
    EXPECT_FALSE(textureReady(a));
    EXPECT_EQ(width(shared), 2);
    GLuint fresh[8];
    glGenTextures(8, fresh);
    for (GLuint name : fresh) EXPECT_NE(name, a);  // the name stays taken
    glDeleteTextures(8, fresh);
    finishTexturesOf(&worldB);
    EXPECT_EQ(width(b), 256);
    EXPECT_EQ(width(a), 0);  // another owner's texture waits

    finishTexturesOf(&worldA);
    std::vector<Bytes> rebuilt = chain(a);
    EXPECT_TRUE(rebuilt == chain(loadMipmappedJpegTexture("noise.jpg")));  // no owner: at once

    // Named as well by something loaded outside any owner, a texture stays whatever is wanted.
    addTextureOwner(b);
    keepTexturesOf({});
    EXPECT_EQ(width(b), 256);
    EXPECT_EQ(width(a), 0);

    // With no time left, a call ends once one texture is complete: two broken members
    // complete in a step each.
    int worldC = 0;
    GLuint broken[2];
    {
        TextureOwnerScope owner(&worldC);
        for (GLuint& t : broken) t = loadMipmappedJpegTexture("broken.jpg");
    }
    keepTexturesOf({&worldC});
    EXPECT_FALSE(continueTextureBuilds(0));
    EXPECT_TRUE(textureReady(broken[0]));
    EXPECT_FALSE(textureReady(broken[1]));
    EXPECT_TRUE(continueTextureBuilds(0));

    // Forgotten textures are no longer given back: the lists that held them are gone.
    finishTexturesOf(&worldA);
    forgetDeferredTextures();
    EXPECT_FALSE(keepTexturesOf({}));
    EXPECT_EQ(width(a), 1024);
    setTextureDeferral(false);
}

}  // namespace
