// The loading picture: a still image before the scripts are read, then a six-second
// animation in which the picture and its glow swell and dim while the view turns white.
#pragma once

struct LoadingScreen {
    unsigned picture = 0;  // "load.jpg"
    unsigned glow = 0;     // "loadg.jpg"
    float loadingTime = 0; // seconds of animation drawn so far
};

extern LoadingScreen loadingScreen;

// Sizes and colours of one animation frame at progress p = loadingTime / 6.
struct LoadingFrame {
    float glowHalfWidth, glowHalfHeight, glowAlpha;
    float pictureHalfWidth, pictureHalfHeight, pictureLevel;  // colour and alpha
    float veilAlpha;
};
LoadingFrame loadingFrameAt(float progress);

// Loads both pictures and draws the still one, 256 x 296 units in the middle of overlay
// space. Called once, between a clear and a swap.
void showLoadingImage();
// One frame of the animation; `dt` is the frame time in seconds (0 for the first frame).
void drawLoadingFrame(float dt);
