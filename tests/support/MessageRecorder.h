// Captures the core's message boxes for the lifetime of the object.
#pragma once

#include <string>
#include <vector>

#include "archive/Messages.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
};

class MessageRecorder {
public:
    MessageRecorder() {
        messages().clear();
        setMessageSink(record);
    }
    ~MessageRecorder() { setMessageSink(nullptr); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& all() const { return messages(); }
    void clear() { messages().clear(); }

private:
    static std::vector<RecordedMessage>& messages() {
        static std::vector<RecordedMessage> list;
        return list;
    }
    static void record(const char* text, const char* caption) { messages().push_back({text, caption}); }
};
