#include "archive/Messages.h"

#include <cstdio>

namespace {

void printToStderr(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

MessageSink currentSink = printToStderr;

}  // namespace

void setMessageSink(MessageSink sink) { currentSink = sink ? sink : printToStderr; }

void showMessage(const char* text, const char* caption) { currentSink(text, caption); }
