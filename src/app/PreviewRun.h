// The preview mode of the Linux build: the window id names an X11 window of a settings
// panel, decimal or 0x-hex.
#pragma once

#include <cstdint>

#include "app/SaverApp.h"

// The preview area's window when it is wide enough (320 pixels) for the live show, which
// then runs inside it as a hack does; 0 when the picture is shown instead.
std::uint64_t livePreviewWindow(const SaverApp& app);

// What runPreviewMode returns when the preview area grew wide enough for the live show,
// which then takes its place.
constexpr int kPreviewAreaGrew = -1;

// The preview picture in app.parentWindow until that window is destroyed. Returns the
// process exit code: 0, or 1 after "Cannot creat window!" when the window cannot be used;
// or kPreviewAreaGrew.
int runPreviewMode(const SaverApp& app, bool displayStarted);
