// test_hooks.h — extra platform calls for tests and benchmarks: reading a
// sprite's pixels back, switching the shrunk-copy cache, a virtual gamepad
// without hardware. They live in the warrenfold_test_hooks library, which
// the game does not link.
#pragma once

#include "platform/pictures.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// The sprite's whole picture (natural size, straight BGRA). For a grabbed
// sprite these are the screen's pixels.
bool SpritePixels(int number, Picture &out);

// Decodes with libpng alone, without the quick path DecodePng takes for
// plain 8-bit pictures: the reference the quick path is checked against.
bool DecodePngWithLibpng(const uint8_t *data, size_t size, Picture &out);

// The budget of on-demand sprites' textures (128 MiB unless set), the bytes
// they hold now, and whether a sprite's pixels are made (always, for a
// sprite not loaded on demand).
void SetOnDemandBudget(uint64_t bytes);
uint64_t OnDemandResidentBytes();
bool SpriteResident(int number);

// The size a display of the sprite covers: its zoom, or its clip.
bool SpriteDisplaySize(int number, int &w, int &h);

// The name of the renderer behind the open screen ("software", "opengl"),
// or "" without a screen.
std::string RendererName();

// Shrinking zooms draw from a smoothly pre-scaled copy (on by default);
// off, the renderer scales at draw time. For comparisons and benchmarks.
void SetSpritePrescale(bool on);
// The drawing shortcuts that give the same pixels for less work (on by
// default); off, every pass draws the long way round.
void SetDrawingShortcuts(bool on);
// Pixels of the dimmed backdrop composed by the last EndBackdrop: 0 when
// it was copied as it stood.
uint64_t BackdropPixelsComposed();
// Zoomed pictures scaled into a copy kept from frame to frame, in all: a
// picture shown zoomed frame after frame is scaled once.
uint64_t ZoomedCopiesScaled();
// Bytes of new heap pages faulted in ahead of their use so far (from
// plat::Init on).
uint64_t HeapBytesFaultedAhead();
// Bytes of memory faulted in ahead for the next screen-sized picture and
// ready for it (PrepareScreenMemory); 0 while none is ready.
uint64_t WarmReserveBytes();
// Microseconds the drawing has waited, in all, for frames being decoded
// ahead (PrefetchSequences).
uint64_t PrefetchWaitedMicroseconds();

// Resizes the open window (before OpenScreenInWindow) while the frame keeps
// the size the window was opened with: the screen then stretches the frame
// to the window, as on a scaled desktop.
bool ResizeWindowForTests(int w, int h);

// Bytes of decoded PCM held for a sound (44.1 kHz, 16-bit stereo).
size_t SoundPcmBytes(int number);

// A virtual game controller that SDL reports like a real one (the game
// controller subsystem must be up: FindGamepads starts it). Axes: 0 left x,
// 1 left y, 2 right x, 3 right y, raw -32768..32767; buttons numbered as
// GamepadButton numbers them.
bool AttachVirtualPad();
bool SetVirtualPadAxis(int axis, int raw);
bool SetVirtualPadButton(int button, bool down);
void DetachVirtualPad();

} // namespace plat
