// The core's one road to the user: message boxes. The application installs the
// platform's message box at start; tests install a recorder; the default prints to stderr.
#pragma once

using MessageSink = void (*)(const char* text, const char* caption);

void setMessageSink(MessageSink sink);
void showMessage(const char* text, const char* caption);
