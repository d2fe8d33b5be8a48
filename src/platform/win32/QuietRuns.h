// Who may be shown a message box or hear music on Windows. Nobody watches a run for a
// machine, and the display control panel's preview belongs to the settings the user is
// looking at: there, messages go to stderr only, and the preview plays no music.
#pragma once

namespace platform {

void showNoMessageBoxes();
// The control panel's preview: no message boxes and no audio device.
void keepPreviewQuiet();
bool previewKeptQuiet();

}  // namespace platform
