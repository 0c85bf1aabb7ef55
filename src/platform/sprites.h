// sprites.h — sprites: textures on the screen, with the CPU data the
// collision test needs. Numbered as core.h describes.
#pragma once

#include "platform/pictures.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// The sprite system (video and renderer support); false when it cannot
// start. Called once at start-up, before any screen is opened.
bool InitSprites();

enum SpriteFlags : unsigned {
  kSpriteAlpha = 1,     // keep the picture's alpha; else black is see-through
  kSpriteCollision = 2, // keep a mask: solid where the loaded alpha is 255
  kSpriteTrim = 4,      // store only the non-transparent part (same pixels)
};

// Returns the sprite's number, or -1 on failure. Needs an open screen.
int LoadSprite(int number, const uint8_t *png, size_t size, unsigned flags);
// As LoadSprite, made when first shown: the bytes are checked now (every
// chunk whole, its checksum right, the size allowed) and kept; the picture
// is decoded at the first display, and dropped again (least recently shown
// first) while such sprites hold more than their budget. Same pixels as
// LoadSprite. Not for collision sprites: -1 then, as for bad bytes.
int LoadSpriteOnDemand(int number, std::vector<uint8_t> &&png, unsigned flags);
// As LoadSprite, from an already decoded picture (consumed).
int CreateSpriteFromPicture(int number, Picture &&pic, unsigned flags);
// A w x h sprite cleared to transparent black.
int CreateSprite(int number, int w, int h);
// Independent copy; returns the new number or -1.
int CopySprite(int source, int number);
void FreeSprite(int number);
bool SpriteExists(int number);
// Clip in the sprite's own pixels; a clip of the whole sprite undoes it.
void ClipSprite(int number, int x, int y, int w, int h);
// Later displays draw the clipped area stretched to w x h (-1: natural).
void ZoomSprite(int number, int w, int h);
// ZoomSprite for many sprites at once, their shrunk copies made on every
// core; a sprite named twice takes the last zoom.
struct SpriteZoom {
  int number, w, h;
};
void ZoomSprites(const std::vector<SpriteZoom> &zooms);
// Natural (loaded) size.
int SpriteWidth(int number);
int SpriteHeight(int number);
void DisplaySprite(int number, int x, int y);
// Alpha-blended; the intensity 0-255 multiplies the sprite's alpha.
void DisplaySpriteTransparent(int number, int x, int y, int intensity = 255);
// 1: zoomed sprites are filtered bilinearly.
void SetSpriteQuality(int quality);
// True when, inside the overlap of the two displayed rectangles, some screen
// pixel is solid in both masks. A mask is the whole loaded picture scaled by
// nearest sample onto the displayed rectangle, whatever the clip. False
// unless both were loaded with kSpriteCollision.
bool SpriteCollision(int a, int ax, int ay, int b, int bx, int by);
// A sprite the renderer can draw into, cleared to transparent black.
// `opaque`: only ever drawn into where the result is opaque and shown
// without blending; it may then take the screen's own pixel format, which
// makes showing it a plain copy.
int CreateTargetSprite(int number, int w, int h, bool opaque = false);
// Later displays and clears go into that target sprite; -1 goes back to
// the screen. False when the sprite is not a target.
bool SetRenderTarget(int number);
// True when every pixel the sprite shows is opaque (alpha 255 after
// loading), so an opaque display covers its whole rectangle.
bool SpriteOpaque(int number);
// A dialog's dimmed backdrop: the displays from BeginBackdrop on are kept,
// and EndBackdrop shows them dimmed by the veil sprite displayed
// transparent at (0, 0) over them, the same pixels as drawing them as
// they come, composed once and copied while they stay the same.
void BeginBackdrop();
void EndBackdrop(int veil, int intensity);
// Sequences of on-demand sprites about to be shown, each in showing order
// (an animation's frames): a worker thread decodes the next few of each
// ahead of the one last shown, within their budget. A frame still being
// decoded when shown is waited for (one decode at most); one not yet
// begun is decoded there and then. Replaces the sequences given before.
void PrefetchSequences(const std::vector<std::vector<int>> &sequences);

} // namespace plat
