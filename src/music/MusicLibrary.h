// Our music library: the six operations the saver run calls to stream "music.ogg"
// in the background. After IMXStreamPlay the music decodes and mixes on the audio
// thread; the caller makes no further calls until IMXUninit. Every failure (no
// audio device, empty or damaged data) is told once on stderr and leaves the run
// silent; results are there for callers that care, and the saver run ignores them.
#pragma once

#include <cstdint>

// Prepares mixing for `window` (kept only as the owner's token) at `sampleRate` Hz,
// stereo. `reserved` and `device` are taken for compatibility and unused (the
// default output device is used). Returns 1 when an output device is open, else 0.
int IMXInit(void* window, int sampleRate, int reserved, int device);
// Starts mixing (silence until a stream plays). Returns 1, or 0 when not initialised.
int IMXStart();
// The three master volumes, 1..100: music modules, sound samples, streams. Only
// streams exist here, so the third sets the level. Returns 1, or 0 when not initialised.
int IMXSetGlobalVolumes(int musicVolume, int sampleVolume, int streamVolume);
// Opens an Ogg Vorbis stream. `source` 1 means the bytes `data` + `offset` up to
// `size` held in memory, which must stay valid until IMXUninit; other sources are
// not supported. `flags` is unused. Returns the stream handle, 0 when it cannot play.
int IMXStreamOpenFile(int source, const void* data, int offset, std::uint32_t size, int flags);
// Plays a stream in the background; `loop` 1 starts it over at its end without a
// gap. Returns 1, or 0 for an unknown handle.
int IMXStreamPlay(int stream, int loop);
// Stops playback, closes the output and lets go of the window and of every buffer
// given to IMXStreamOpenFile. Returns 1, or 0 when not initialised.
int IMXUninit();
