#include <gtest/gtest.h>

#include "idle/IdleRules.h"

namespace {

const IdleConditions kFree{};

TEST(IdleRules, OneShowPerIdlePeriodAndNeverOverALockOrInhibitor) {
    IdleRules rules;
    EXPECT_FALSE(rules.onIdle({true, false}));  // an inhibitor holds
    EXPECT_FALSE(rules.onIdle({false, true}));  // the lock screen is up
    EXPECT_TRUE(rules.onIdle(kFree));
    EXPECT_TRUE(rules.showRunning());
    EXPECT_FALSE(rules.onIdle(kFree));          // one show at a time

    // A show that failed is not started again in the same idle period, nor after more
    // idle edges, until the user was active.
    EXPECT_FALSE(rules.onShowEnded(false));
    EXPECT_FALSE(rules.onIdle(kFree));
    rules.onActive();
    EXPECT_TRUE(rules.onIdle(kFree));

    // The key that ends the show is activity; the next idle period starts it again.
    rules.onActive();
    EXPECT_FALSE(rules.onShowEnded(true));
    EXPECT_FALSE(rules.showRunning());
    EXPECT_TRUE(rules.onIdle(kFree));

    // An inhibited compositor keeps the key to itself: a clean end stands for it.
    EXPECT_FALSE(rules.onShowEnded(true));
    EXPECT_TRUE(rules.onIdle(kFree));

    // Active, then idle again while the show still ran: offered again once it ends.
    rules.onActive();
    EXPECT_FALSE(rules.onIdle(kFree));
    EXPECT_TRUE(rules.onShowEnded(true));
    EXPECT_TRUE(rules.onIdle(kFree));
}

TEST(IdleRules, BlockListAndSourceChoice) {
    EXPECT_TRUE(blockListHas("idle", "idle"));
    EXPECT_TRUE(blockListHas("sleep:idle:handle-lid-switch", "idle"));
    EXPECT_FALSE(blockListHas("sleep:handle-idle-action", "idle"));
    EXPECT_FALSE(blockListHas("", "idle"));

    SessionOffers offers;
    EXPECT_EQ(chooseIdleSource(offers), IdleSourceKind::None);
    offers.x11ScreenSaver = true;
    EXPECT_EQ(chooseIdleSource(offers), IdleSourceKind::X11ScreenSaver);
    offers.mutterIdleMonitor = true;  // GNOME on X11: its own monitor knows its inhibitors
    EXPECT_EQ(chooseIdleSource(offers), IdleSourceKind::MutterIdleMonitor);
    offers.kdeIdle = true;
    EXPECT_EQ(chooseIdleSource(offers), IdleSourceKind::KdeIdle);
    offers.extIdleNotify = true;
    EXPECT_EQ(chooseIdleSource(offers), IdleSourceKind::ExtIdleNotify);
}

TEST(IdleRules, LauncherOptions) {
    LauncherOptions options;
    std::string error;
    ASSERT_TRUE(parseLauncherOptions({"--program", "/opt/v/voidrift", "--idle-seconds", "600", "--idle",
                                      "--idle-seconds=2", "--show-argument=--no-loading", "--verbose"},
                                     options, error))
        << error;
    EXPECT_EQ(options.program, "/opt/v/voidrift");
    EXPECT_EQ(options.idleSeconds, 2);  // the user's value comes later and wins
    EXPECT_EQ(options.showArguments, std::vector<std::string>{"--no-loading"});
    EXPECT_TRUE(options.verbose);
    EXPECT_TRUE(options.autostart.empty());

    for (std::vector<std::string> bad : {std::vector<std::string>{"--idle-seconds", "0"}, {"--idle-seconds=2x"},
                                         {"--idle-seconds"}, {"--autostart", "maybe"}, {"--idle-secs=3"}}) {
        LauncherOptions other;
        error.clear();
        EXPECT_FALSE(parseLauncherOptions(bad, other, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
    ASSERT_TRUE(parseLauncherOptions({"--autostart", "off"}, options, error));
    EXPECT_EQ(options.autostart, "off");
}

TEST(IdleRules, LockAndAutostartPlaces) {
    EXPECT_EQ(launcherLockPath("/run/user/1000", 1000), "/run/user/1000/voidrift-idle.lock");
    EXPECT_EQ(launcherLockPath(nullptr, 1000), "/tmp/voidrift-idle-1000.lock");
    EXPECT_EQ(launcherLockPath("relative", 7), "/tmp/voidrift-idle-7.lock");

    EXPECT_EQ(autostartPath("/home/u/cfg", "/home/u"), "/home/u/cfg/autostart/voidrift-idle.desktop");
    EXPECT_EQ(autostartPath("", "/home/u"), "/home/u/.config/autostart/voidrift-idle.desktop");
    EXPECT_EQ(autostartPath(nullptr, nullptr), "");
    std::string entry = autostartEntry("/usr/libexec/xscreensaver/voidrift");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nExec=/usr/libexec/xscreensaver/voidrift --idle\n"), std::string::npos);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
}

}  // namespace
