// The registry side of the Windows settings store.
#pragma once

// Writes the process-wide settings under the program's key; false when the key cannot be
// opened for writing or a value cannot be set, so the dialog can say so instead of closing.
bool storeSettingsInRegistry();
