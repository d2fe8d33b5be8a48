#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/KeyCodes.h"
#include "platform/Platform.h"
#include "platform/sdl/SdlKeys.h"

namespace {

TEST(SdlKeys, WindowsNumbering) {
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_a), 'A');
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_z), 'Z');
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_0), '0');
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_9), '9');
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_SPACE), platform::kKeySpace);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_ESCAPE), platform::kKeyEscape);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_LSHIFT), platform::kKeyShift);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_RSHIFT), platform::kKeyShift);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_F1), platform::kKeyF1);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_F10), platform::kKeyF10);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_F24), platform::kKeyF1 + 23);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_KP_0), platform::kKeyNumpad0);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_KP_9), platform::kKeyNumpad0 + 9);
    EXPECT_EQ(platform::virtualKeyFromSdl(SDLK_LEFT), platform::kKeyLeft);
    // Every key, known or not, gets a code in 1..255.
    for (int code : {static_cast<int>(SDLK_VOLUMEUP), static_cast<int>(SDLK_APPLICATION), 0x40000FFF, -1}) {
        int key = platform::virtualKeyFromSdl(code);
        EXPECT_GE(key, 1);
        EXPECT_LE(key, 255);
    }
    EXPECT_TRUE(platform::isSystemKey(platform::kKeyF10, false));
    EXPECT_TRUE(platform::isSystemKey(platform::kKeyAlt, false));
    EXPECT_TRUE(platform::isSystemKey('X', true));
    EXPECT_FALSE(platform::isSystemKey('X', false));
    EXPECT_FALSE(platform::isSystemKey(platform::kKeyF1 + 3, false));
}

TEST(SdlPlatform, EventsCounterAndOffscreenWindow) {
    ASSERT_TRUE(platform::initialize(true));
    EXPECT_TRUE(platform::isOffscreen());
    platform::WindowRequest request;
    request.title = "test";
    request.width = 200;
    request.height = 100;
    ASSERT_TRUE(platform::openWindow(request));
    EXPECT_FALSE(platform::openWindow(request));  // one window at a time
    int width = 0;
    int height = 0;
    platform::clientSize(width, height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 100);
    EXPECT_NE(platform::procAddress("glActiveTextureARB"), nullptr);

    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event raw{};
    raw.type = SDL_KEYDOWN;
    raw.key.keysym.sym = SDLK_q;
    raw.key.keysym.mod = KMOD_RALT;
    SDL_PushEvent(&raw);
    raw.type = SDL_MOUSEMOTION;
    raw.motion.x = 17;
    raw.motion.y = 9;
    SDL_PushEvent(&raw);
    raw.type = SDL_QUIT;
    SDL_PushEvent(&raw);
    platform::Event event;
    ASSERT_TRUE(platform::pollEvent(event));
    EXPECT_EQ(event.type, platform::EventType::KeyDown);
    EXPECT_EQ(event.key, 'Q');
    EXPECT_TRUE(event.systemKey);
    ASSERT_TRUE(platform::pollEvent(event));
    EXPECT_EQ(event.type, platform::EventType::MouseMove);
    EXPECT_EQ(event.x, 17);
    EXPECT_EQ(event.y, 9);
    ASSERT_TRUE(platform::pollEvent(event));
    EXPECT_EQ(event.type, platform::EventType::Quit);
    EXPECT_FALSE(platform::pollEvent(event));

    std::int64_t first = platform::readCounter();
    SDL_Delay(5);
    EXPECT_GT(platform::readCounter(), first);
    EXPECT_GT(platform::counterFrequency(), 0);

    platform::closeWindow();
    EXPECT_EQ(platform::nativeWindow(), nullptr);
    platform::shutdown();
}

}  // namespace
