// Writes the frames of a recorded run as numbered PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RGB rows, top row first, tightly packed. The file appears under `path` only once it is
// complete; false (and no file) when it could not be written whole.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbTopFirst);

class FrameRecorder {
public:
    explicit FrameRecorder(std::string directory);

    // Creates the folder; false (with a message on stderr) when it cannot.
    bool prepare();
    // Reads the back buffer (width x height) and writes it as the next "frame-NNNNN.png".
    bool recordBackBuffer(int width, int height);
    std::string framePath(unsigned index) const;
    unsigned framesWritten() const { return next_; }

private:
    std::string directory_;
    unsigned next_ = 0;
};
