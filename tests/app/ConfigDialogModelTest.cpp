// The configuration dialog's behaviour, driven as a view would drive it: init, commands by
// control id, trackbar messages; what OK hands to the store is checked field by field.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/ConfigDialogModel.h"

namespace {

using platform::DisplayMode;

const DisplayMode kDesktop{1280, 1024, 32};

// A record unlike the defaults in every value the dialog touches.
Settings unusualSettings() {
    Settings record;
    record.showClock = false;
    record.enableMusic = false;
    record.useDesktop = false;
    record.showFlame = true;
    record.defGamma = false;
    record.width = 1024;
    record.height = 768;
    record.depth = 16;
    record.volume = 37;
    record.gamma = 12;
    record.timeScale = 2;
    record.galaxy = true;
    record.showFps = true;
    record.vsync = true;
    record.mouseExit = true;
    return record;
}

struct Dialog {
    explicit Dialog(Settings start, std::vector<DisplayMode> modes = {{640, 480, 16}, {1024, 768, 16}, kDesktop},
                    DisplayMode desktop = kDesktop)
        : record(start), model(record, std::move(modes), desktop, [this](const Settings& saved) {
              ++saves;
              stored = saved;
              return storeWorks;
          }) {
        model.initialize();
    }

    std::string selectedMode() const {
        int index = model.modeSelection();
        return index < 0 ? "" : model.modeItems()[static_cast<std::size_t>(index)];
    }

    Settings record;
    bool storeWorks = true;
    int saves = 0;
    Settings stored;
    ConfigDialogModel model;
};

TEST(ConfigDialogModel, ModeListKeepsQualifyingModesOnceInTheSystemsOrder) {
    std::vector<DisplayMode> modes = {
        {1024, 768, 32}, {800, 600, 32}, {800, 600, 32},  // the same mode at 60 and 75 Hz
        {640, 480, 8},   {320, 240, 16}, {639, 480, 32}, {640, 479, 32},
        {640, 480, 16},  {1024, 768, 32},  // a repeat that is not consecutive stays
    };
    std::vector<std::string> expected = {"1024 x 768 32 bits", "800 x 600 32 bits", "640 x 480 16 bits",
                                         "1024 x 768 32 bits"};
    EXPECT_EQ(modeListItems(modes), expected);
    // A mode that does not qualify does not break a run of repeats either.
    EXPECT_EQ(modeListItems({{800, 600, 32}, {640, 480, 8}, {800, 600, 32}}).size(), 1u);
}

TEST(ConfigDialogModel, InitialStateFollowsTheSettings) {
    Dialog stored(unusualSettings());
    EXPECT_EQ(stored.selectedMode(), "1024 x 768 16 bits");
    EXPECT_TRUE(stored.model.isEnabled(control::modeList));
    EXPECT_EQ(stored.model.speedItems(), (std::vector<std::string>{"Normal", "Fast", "Fastest"}));
    EXPECT_EQ(stored.model.speedSelection(), 2);
    EXPECT_FALSE(stored.model.isEnabled(control::volume));
    EXPECT_FALSE(stored.model.isEnabled(control::volumeLabel));
    EXPECT_TRUE(stored.model.isEnabled(control::brightness));
    EXPECT_TRUE(stored.model.isEnabled(control::brightnessLabel));
    EXPECT_EQ(stored.model.labelText(control::volumeLabel), "Volume (37%)");
    EXPECT_EQ(stored.model.labelText(control::brightnessLabel), "Brightness (62%)");
    EXPECT_EQ(stored.model.trackbarPosition(control::volume), 37);
    EXPECT_EQ(stored.model.trackbarPosition(control::brightness), 12);
    EXPECT_EQ(stored.model.trackbarRange(control::volume).minimum, 1);
    EXPECT_EQ(stored.model.trackbarRange(control::brightness).minimum, 0);
    for (int id : {control::showTime, control::enableMusic, control::useDesktop, control::defGamma}) {
        EXPECT_FALSE(stored.model.isChecked(id)) << id;
    }
    for (int id : {control::showFps, control::vsync, control::mouseExit, control::galaxy}) {
        EXPECT_TRUE(stored.model.isChecked(id)) << id;
    }

    Settings desktopRecord = unusualSettings();
    desktopRecord.useDesktop = true;
    Dialog desktop(desktopRecord);
    EXPECT_EQ(desktop.selectedMode(), "1280 x 1024 32 bits");
    EXPECT_FALSE(desktop.model.isEnabled(control::modeList));
    EXPECT_TRUE(desktop.model.isChecked(control::useDesktop));
}

// Hand-edited values beyond the trackbars are shown, and saved, held to the trackbars' ranges.
TEST(ConfigDialogModel, ValuesBeyondTheTrackbarsAreHeldToThem) {
    Settings edited = unusualSettings();
    edited.volume = 9999;
    edited.gamma = -7;
    Dialog dialog(edited);
    EXPECT_EQ(dialog.model.labelText(control::volumeLabel), "Volume (100%)");
    EXPECT_EQ(dialog.model.trackbarPosition(control::volume), 100);
    EXPECT_EQ(dialog.model.labelText(control::brightnessLabel), "Brightness (50%)");
    EXPECT_EQ(dialog.model.trackbarPosition(control::brightness), 0);
    dialog.model.command(control::ok);
    EXPECT_EQ(dialog.stored.volume, 100);
    EXPECT_EQ(dialog.stored.gamma, 0);
    edited.volume = 0;
    EXPECT_EQ(Dialog(edited).model.trackbarPosition(control::volume), 1);
}

TEST(ConfigDialogModel, TogglesFlipTheirSettingAndEnableTheirControls) {
    Dialog dialog(unusualSettings());
    const int checkBoxes[] = {control::useDesktop, control::enableMusic, control::showTime, control::mouseExit,
                              control::galaxy,     control::showFps,     control::vsync,    control::defGamma};
    for (int id : checkBoxes) {
        bool before = dialog.model.isChecked(id);
        EXPECT_EQ(dialog.model.command(id), DialogAction::handled) << id;
        EXPECT_NE(dialog.model.isChecked(id), before) << id;
    }
    EXPECT_TRUE(dialog.record.showClock && dialog.record.enableMusic && dialog.record.useDesktop &&
                dialog.record.defGamma);
    EXPECT_FALSE(dialog.record.showFps || dialog.record.vsync || dialog.record.mouseExit || dialog.record.galaxy);
    EXPECT_TRUE(dialog.model.isEnabled(control::volume));
    EXPECT_FALSE(dialog.model.isEnabled(control::brightness));
    EXPECT_FALSE(dialog.model.isEnabled(control::brightnessLabel));
    // Use Desktop on: the desktop's mode, list disabled; off again: the list comes back as it is.
    EXPECT_EQ(dialog.selectedMode(), "1280 x 1024 32 bits");
    EXPECT_FALSE(dialog.model.isEnabled(control::modeList));
    dialog.model.command(control::useDesktop);
    EXPECT_TRUE(dialog.model.isEnabled(control::modeList));
    EXPECT_EQ(dialog.selectedMode(), "1280 x 1024 32 bits");

    // Music off disables the trackbar and its label but keeps the volume.
    dialog.model.command(control::enableMusic);
    EXPECT_FALSE(dialog.model.isEnabled(control::volume));
    EXPECT_FALSE(dialog.model.isEnabled(control::volumeLabel));
    EXPECT_EQ(dialog.record.volume, 37);
    EXPECT_EQ(dialog.model.labelText(control::volumeLabel), "Volume (37%)");

    EXPECT_EQ(dialog.model.command(control::visit), DialogAction::openWebPage);
    EXPECT_EQ(dialog.model.command(control::about), DialogAction::showAbout);
    EXPECT_EQ(dialog.model.command(control::modeList), DialogAction::notHandled);
    EXPECT_EQ(dialog.model.command(4242), DialogAction::notHandled);
    EXPECT_EQ(dialog.saves, 0);
}

TEST(ConfigDialogModel, OnlyPageAndDragMovesTakeBothTrackbars) {
    Dialog dialog(unusualSettings());
    for (int code : {scroll::lineUp, scroll::lineDown, scroll::thumbPosition, scroll::top, scroll::bottom,
                     scroll::endScroll}) {
        dialog.model.horizontalScroll(code, 90, 80);
        EXPECT_EQ(dialog.record.volume, 37) << code;
        EXPECT_EQ(dialog.record.gamma, 12) << code;
        EXPECT_EQ(dialog.model.labelText(control::volumeLabel), "Volume (37%)") << code;
        EXPECT_EQ(dialog.model.labelText(control::brightnessLabel), "Brightness (62%)") << code;
        // The thumb itself stays where the key put it.
        EXPECT_EQ(dialog.model.trackbarPosition(control::volume), 90) << code;
    }
    // A volume drag also reads the brightness thumb that the arrow keys moved earlier.
    dialog.model.horizontalScroll(scroll::thumbTrack, 64, 80);
    EXPECT_EQ(dialog.record.volume, 64);
    EXPECT_EQ(dialog.record.gamma, 80);
    EXPECT_EQ(dialog.model.labelText(control::volumeLabel), "Volume (64%)");
    EXPECT_EQ(dialog.model.labelText(control::brightnessLabel), "Brightness (130%)");
    dialog.model.horizontalScroll(scroll::pageUp, 54, 0);
    EXPECT_EQ(dialog.record.volume, 54);
    EXPECT_EQ(dialog.model.labelText(control::brightnessLabel), "Brightness (50%)");
    dialog.model.horizontalScroll(scroll::pageDown, 64, 10);
    EXPECT_EQ(dialog.record.gamma, 10);
}

TEST(ConfigDialogModel, RestoreDefaultsThenOkStoresTheDefaults) {
    Dialog dialog(unusualSettings());
    EXPECT_EQ(dialog.model.command(control::restoreDefaults), DialogAction::handled);
    EXPECT_EQ(dialog.selectedMode(), "1280 x 1024 32 bits");
    EXPECT_FALSE(dialog.model.isEnabled(control::modeList));
    EXPECT_TRUE(dialog.model.isEnabled(control::volume));
    EXPECT_TRUE(dialog.model.isEnabled(control::volumeLabel));
    EXPECT_FALSE(dialog.model.isEnabled(control::brightness));
    EXPECT_FALSE(dialog.model.isEnabled(control::brightnessLabel));
    EXPECT_EQ(dialog.model.labelText(control::volumeLabel), "Volume (100%)");
    EXPECT_EQ(dialog.model.labelText(control::brightnessLabel), "Brightness (100%)");
    EXPECT_EQ(dialog.model.trackbarPosition(control::volume), 100);
    EXPECT_EQ(dialog.model.trackbarPosition(control::brightness), 50);
    EXPECT_EQ(dialog.model.speedSelection(), 0);

    EXPECT_EQ(dialog.model.command(control::ok), DialogAction::closeOk);
    ASSERT_EQ(dialog.saves, 1);
    const Settings& s = dialog.stored;
    EXPECT_EQ(s.width, 1280u);
    EXPECT_EQ(s.height, 1024u);
    EXPECT_EQ(s.depth, 32);
    EXPECT_EQ(s.timeScale, 0u);
    EXPECT_EQ(s.volume, 100);
    EXPECT_EQ(s.gamma, 50);
    EXPECT_TRUE(s.defGamma && s.showClock && s.useDesktop && s.enableMusic);
    EXPECT_FALSE(s.showFps || s.vsync || s.mouseExit);
    EXPECT_TRUE(s.galaxy);     // not the button's
    EXPECT_TRUE(s.showFlame);  // carried through every save
}

TEST(ConfigDialogModel, OkStoresWhatTheUserPicked) {
    Dialog dialog(unusualSettings());
    dialog.model.listSelectionChanged(control::modeList, 0);
    dialog.model.listSelectionChanged(control::cameraSpeed, 1);
    dialog.model.listSelectionChanged(control::cameraSpeed, 7);  // no such item: ignored
    dialog.model.horizontalScroll(scroll::thumbTrack, 81, 3);
    EXPECT_EQ(dialog.model.command(control::ok), DialogAction::closeOk);
    ASSERT_EQ(dialog.saves, 1);
    EXPECT_EQ(dialog.stored.width, 640u);
    EXPECT_EQ(dialog.stored.height, 480u);
    EXPECT_EQ(dialog.stored.depth, 16);
    EXPECT_EQ(dialog.stored.timeScale, 1u);
    EXPECT_EQ(dialog.stored.volume, 81);
    EXPECT_EQ(dialog.stored.gamma, 3);

    // A store that cannot write keeps the dialog open rather than losing the changes quietly.
    dialog.storeWorks = false;
    EXPECT_EQ(dialog.model.command(control::ok), DialogAction::saveFailed);
}

TEST(ConfigDialogModel, CancelSavesNothing) {
    Dialog dialog(unusualSettings());
    dialog.model.command(control::restoreDefaults);
    dialog.model.command(control::galaxy);
    dialog.model.horizontalScroll(scroll::thumbTrack, 5, 5);
    EXPECT_EQ(dialog.model.command(control::cancel), DialogAction::closeCancel);
    EXPECT_EQ(dialog.saves, 0);
}

TEST(ConfigDialogModel, SelectionsThatFindNothing) {
    // A camera speed of 3 selects no item; OK stores the list's "none", -1, which loads as Normal.
    Settings fastest = unusualSettings();
    fastest.timeScale = 3;
    Dialog speed(fastest);
    EXPECT_EQ(speed.model.speedSelection(), -1);
    speed.model.command(control::ok);
    EXPECT_EQ(speed.stored.timeScale, UINT32_MAX);

    // An 8-bit desktop is not in the list: nothing selected, OK keeps Width, Height and Depth.
    Settings onDesktop = unusualSettings();
    onDesktop.useDesktop = true;
    onDesktop.width = 1152;
    onDesktop.height = 864;
    onDesktop.depth = 8;
    Dialog missing(onDesktop, {{800, 600, 32}, {1024, 768, 32}}, {1152, 864, 8});
    EXPECT_EQ(missing.model.modeSelection(), -1);
    EXPECT_FALSE(missing.model.isEnabled(control::modeList));
    missing.model.command(control::ok);
    EXPECT_EQ(missing.stored.width, 1152u);
    EXPECT_EQ(missing.stored.height, 864u);
    EXPECT_EQ(missing.stored.depth, 8);

    // The list reports no selection after one was made: OK keeps the stored mode.
    Dialog cleared(unusualSettings());
    cleared.model.listSelectionChanged(control::modeList, 0);
    cleared.model.listSelectionChanged(control::modeList, -1);
    cleared.model.command(control::ok);
    EXPECT_EQ(cleared.stored.width, 1024u);
    EXPECT_EQ(cleared.stored.height, 768u);
    EXPECT_EQ(cleared.stored.depth, 16);

    // After the check box or Restore Defaults the previous selection stays.
    Settings stored = unusualSettings();
    stored.width = 800;
    stored.height = 600;
    stored.depth = 32;
    Dialog kept(stored, {{800, 600, 32}, {1024, 768, 32}}, {1152, 864, 8});
    EXPECT_EQ(kept.selectedMode(), "800 x 600 32 bits");
    kept.model.command(control::useDesktop);
    EXPECT_EQ(kept.selectedMode(), "800 x 600 32 bits");
    kept.model.command(control::restoreDefaults);
    EXPECT_EQ(kept.selectedMode(), "800 x 600 32 bits");
    kept.model.command(control::ok);
    EXPECT_EQ(kept.stored.depth, 32);
}

}  // namespace
