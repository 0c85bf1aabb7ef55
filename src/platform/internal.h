// internal.h — the platform layer's state and the helpers its source files
// share. Only src/platform/ includes this header.
#pragma once

#include "platform/core.h"
#include "platform/display.h"
#include "platform/frame_clock.h"
#include "platform/images.h"
#include "platform/numbered.h"
#include "platform/pictures.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace plat::detail {

// ---------------------------------------------------------------------------
// Owning handles: each library object has exactly one owner, so a copy
// (which would free it twice) does not compile and a move hands it over.

struct TextureDeleter {
  void operator()(SDL_Texture *t) const { SDL_DestroyTexture(t); }
};
struct RendererDeleter {
  void operator()(SDL_Renderer *r) const { SDL_DestroyRenderer(r); }
};
struct WindowDeleter {
  void operator()(SDL_Window *w) const { SDL_DestroyWindow(w); }
};
struct ControllerDeleter {
  void operator()(SDL_GameController *c) const { SDL_GameControllerClose(c); }
};
struct JoystickDeleter {
  void operator()(SDL_Joystick *j) const { SDL_JoystickClose(j); }
};
struct ChunkDeleter {
  void operator()(Mix_Chunk *c) const { Mix_FreeChunk(c); }
};
struct MusicDeleter {
  void operator()(Mix_Music *m) const { Mix_FreeMusic(m); }
};
struct SurfaceDeleter {
  void operator()(cairo_surface_t *s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
  void operator()(cairo_t *cr) const { cairo_destroy(cr); }
};
struct FontDescriptionDeleter {
  void operator()(PangoFontDescription *d) const {
    pango_font_description_free(d);
  }
};
struct GObjectDeleter {
  void operator()(gpointer object) const { g_object_unref(object); }
};

using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using ControllerPtr = std::unique_ptr<SDL_GameController, ControllerDeleter>;
using JoystickPtr = std::unique_ptr<SDL_Joystick, JoystickDeleter>;
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;
using MusicPtr = std::unique_ptr<Mix_Music, MusicDeleter>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;
using FontDescriptionPtr =
    std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter>;

// ---------------------------------------------------------------------------
// Failures

// Writes "Warrenfold: <what>: <reason>" to standard error, the reason being
// `reason` or else SDL's error text (which SDL2_mixer shares). Each line is
// written once per run, so a call that fails every frame cannot flood the
// output. Thread-safe.
void ReportFailure(const char *what, const char *reason = nullptr);

// ---------------------------------------------------------------------------
// Sprites

// A smoothly shrunk copy of a sprite for one zoom. In strip mode it holds
// the whole picture scaled by the zoom factor (so any equal-sized clip of it
// is a plain sub-rectangle); otherwise it holds just the zoomed clip.
struct Prescaled {
  TexturePtr texture;
  bool valid = false;  // made for the key below
  bool failed = false; // could not be made: the renderer scales instead
  bool strip = false;
  int zoomW = 0, zoomH = 0, clipW = 0, clipH = 0, clipX = 0, clipY = 0;
  SDL_Rect area{}; // covered part, in scaled coordinates
  void Reset();
};

struct Sprite {
  int width = 0, height = 0; // natural size
  SDL_Rect box{};            // stored part (the whole picture unless trimmed)
  // The box's straight BGRA pixels live only here (no CPU copy: banner
  // frames alone are hundreds of megabytes); null when the box is empty.
  TexturePtr texture;
  std::vector<uint8_t> mask; // width * height, 1 = solid; empty: none
  unsigned flags = 0;
  bool target = false; // the renderer can draw into it
  // Drawn into only where it ends up opaque, so it may take the screen's
  // own format, without alpha (a plain copy to the screen).
  bool opaqueTarget = false;
  bool opaque = false;  // every pixel of the picture has alpha 255
  bool uniform = false; // every pixel of the picture is uniformColour
  Colour uniformColour{};
  SDL_Rect clip{};
  int zoomW = -1, zoomH = -1;
  Prescaled scaled; // declared after the texture: freed before it
  // Made on demand: the checked PNG bytes, kept while the texture comes
  // and goes; `resident` when the texture is made from them.
  std::vector<uint8_t> packed;
  bool resident = false;
  bool decodeFailed = false;
  uint64_t lastWanted = 0;
  // Changes whenever the pixels may have changed (a new picture, drawn
  // into as a target), from one counter for all sprites.
  uint64_t version = 0;
};

// A new version for a sprite whose pixels may have changed.
void Touch(Sprite &s);

// Makes an on-demand sprite's texture when it is not there, dropping the
// least recently wanted others beyond their budget; marks it wanted. True
// for every other sprite; false when its picture cannot be decoded.
bool EnsureResident(Sprite &s);
// Drops the least recently wanted resident on-demand sprites, never
// `keep` (may be null), until the rest, the pictures being decoded ahead
// and `incoming` more bytes fit the budget.
void KeepWithinBudget(const Sprite *keep, uint64_t incoming = 0);
// Drops an on-demand sprite's texture (made again when next shown).
void DropPicture(Sprite &s);

// Decoding ahead (prefetch.cpp). The picture decoded for the on-demand
// sprite, if it was asked for ahead: true with `pic` set, or with
// `failed` when it did not decode; false when it was not asked for (or no
// longer stands for the sprite's picture). Waits when the worker is
// decoding it; decodes it here when the worker has not begun.
struct Prefetched {
  Picture pic;
};
bool TakePrefetched(const Sprite &s, Prefetched &out, bool &failed);
// A sprite was made from its bytes: the frames ahead of it in its
// sequences are next.
void PrefetchShown(const Sprite &s);
// Bytes of pictures decoded or being decoded ahead.
uint64_t PrefetchReservedBytes();
// Time this thread has waited for the worker, in all.
uint64_t PrefetchWaitedMicroseconds();
// Stops decoding ahead and forgets every sequence.
void StopPrefetch();
// Bytes the textures of resident on-demand sprites hold.
uint64_t OnDemandBytes();

// Decodes with libpng alone: DecodePng's path for what the quick path
// leaves to it.
bool DecodePngWithLibpng(const uint8_t *data, size_t size, Picture &out);

// Size on the screen: the zoom, or the clip's size without one.
inline int DisplayWidth(const Sprite &s) {
  return s.zoomW > 0 ? s.zoomW : s.clip.w;
}
inline int DisplayHeight(const Sprite &s) {
  return s.zoomH > 0 ? s.zoomH : s.clip.h;
}

// Turns a decoded picture into a sprite's stored form and texture.
std::unique_ptr<Sprite> MakeSprite(Picture &&pic, unsigned flags);
// Stores a freshly decoded picture in a sprite whose flags are set: the
// colour key, the collision mask, then as ReplaceSpritePicture.
bool StoreLoadedPicture(Sprite &s, Picture &&pic);
// Puts a sprite under `number` (the old one is freed in any case); returns
// the number, or -1 for no sprite or a bad number.
int Install(int number, std::unique_ptr<Sprite> sprite);
// Replaces a sprite's picture (after drawing into it); keeps clip, zoom and
// the collision mask of the loaded picture.
bool ReplaceSpritePicture(Sprite &s, Picture &&pic);
// The box's pixels read back from the texture into `out`, box.w * 4 bytes
// a row, rows `pitch` bytes apart.
bool ReadBox(const Sprite &s, uint8_t *out, size_t pitch);
// The sprite's whole picture, transparent outside a trimmed box; empty
// when it cannot be read back.
Picture SpritePicture(const Sprite &s);
// The sprite's whole picture as a new cairo surface (premultiplied); null
// when it cannot be read back or the surface not made.
SurfacePtr SurfaceFromSprite(const Sprite &s);
// Drops every sprite (they belong to the renderer).
void FreeAllSprites();
// Whether a shrunk copy for the sprite's zoom is worth having now.
bool PrescaleNow(const Sprite &s);
// Makes the shrunk copy for the sprite's zoom when one is worth having.
void PreparePrescaled(Sprite &s);

// ---------------------------------------------------------------------------
// Images and drawing

struct Image {
  SurfacePtr surface; // ARGB32, premultiplied
};

struct Font {
  FontDescriptionPtr desc;
  bool matched = false; // family looked up (on first asking)
  std::string family;
};

struct DrawState {
  bool active = false;
  Target target = Target::Image;
  int number = 0;
  SurfacePtr surface; // a reference of our own, for images too
  CairoPtr cr;        // declared after the surface: freed before it
  double cursorX = 0, cursorY = 0;
  int font = 0;
  double pixelSize = 0; // 0: the font's own size
  Colour colour{0, 0, 0, 255};
};

struct TextState {
  GObjectPtr<PangoFontMap> fontMap;
  GObjectPtr<PangoContext> context; // measuring and drawing
};

// A w x h ARGB32 surface, transparent; null (and reported) when cairo
// cannot make it.
SurfacePtr NewSurface(int w, int h);
// Null for a picture of no or inconsistent size, or when NewSurface fails.
SurfacePtr SurfaceFromPicture(const Picture &pic);
Picture PictureFromSurface(cairo_surface_t *surface);
void EndDrawing();
void ReleaseText();

// ---------------------------------------------------------------------------
// Sound

struct Sound {
  std::vector<uint8_t> pcm; // device format; the chunk points into it
  // Declared after the PCM, so freed (halting its channels) before it.
  ChunkPtr chunk;
  // A streamed sound instead: the Ogg bytes, decoded by the mixer while
  // it plays (one at a time, outside the mixer's channels).
  std::vector<uint8_t> ogg;
  MusicPtr music; // reads from `ogg`, so declared after it

  int ownChannel = -1; // where the last single-channel play went
  int volume = 100;
  int plays = 0;
};

// Decodes Ogg Vorbis into interleaved signed 16-bit samples at the given
// rate and channel count (1 or 2).
bool DecodeVorbis(const uint8_t *data, size_t size, int rate, int channels,
                  std::vector<uint8_t> &pcm);
// True when the bytes are one whole Ogg Vorbis stream that can be played
// as it is decoded: every page intact (checksums), nothing after the last
// one, headers readable, a sample rate a device can play.
bool VorbisStreamable(const uint8_t *data, size_t size);

// ---------------------------------------------------------------------------
// Input

constexpr int kPadButtons = 15;
constexpr int kPadSticks = 3;

struct PadSnapshot {
  bool valid = false;
  int axis[kPadSticks][2] = {}; // raw -1000..1000
  bool button[kPadButtons + 1] = {};
};

struct Pad {
  ControllerPtr controller;
  SDL_JoystickID id = -1;
  PadSnapshot snap;
};

struct InputState {
  std::array<bool, 256> down{}, previous{}, released{};
  bool scripted = false;
  std::array<bool, 256> injectedKeys{};
  bool injectedPad = false;
  PadSnapshot injected;
  PadSnapshot scriptedSnap;
  bool quitInjected = false;
  std::vector<Pad> pads;
  bool padsUp = false;
  JoystickPtr virtualPad; // tests only
};

void ClosePads();
void PadAdded(int deviceIndex);
void PadRemoved(SDL_JoystickID id);

// ---------------------------------------------------------------------------
// Display

// A zoomed picture as the renderer's smooth scaler made it, kept while it is
// shown pass after pass (zoomed_copies.cpp).
struct ZoomedCopy {
  TexturePtr texture; // grows to the largest zoom kept in it
  int textureW = 0, textureH = 0;
  uint64_t version = 0; // the sprite's; 0: holds nothing
  SDL_Rect src{};       // part of the sprite's texture scaled
  int w = 0, h = 0;     // size it was scaled to, at the texture's corner
  bool shown = false;   // since the last frame was presented
  int place = -1;       // among the zoomed copies of the frame last shown in
};

struct DisplayState {
  // Freed in reverse order of declaration: overlay, renderer, window.
  WindowPtr window;
  bool fullScreen = false;   // the window belongs to the full-screen screen
  bool switchedAway = false; // full screen lost the foreground
  RendererPtr renderer;
  bool softwareRenderer = false;
  int width = 0, height = 0;
  int windowW = 0, windowH = 0; // window 0's client size in pixels
  TexturePtr overlay;           // screen-sized, for drawing on the screen
  TexturePtr blendBand;         // a band of screen rows, for CPU blends
  ZoomedCopy zoomed[2];         // two: the finale shows two banners at once
  int zoomedShown = 0;          // zoomed copies drawn in this frame
  uint64_t zoomedScaled = 0;    // copies scaled, in all (for tests)
  FrameClock clock;
  bool unpaced = false;
  std::deque<WindowEvent> events;
};

// The software renderer draws onto the screen itself, pixel for pixel, in
// the format RGB888: what a CPU blend reads back and writes, what the
// composed backdrop holds.
bool PlainScreen(SDL_Renderer *r);
// The same of what is drawn into now: the screen, or a target sprite in
// RGB888 (the composed backdrop) drawn into whole, unscaled and unclipped.
bool PlainTarget(SDL_Renderer *r);

// Draws the part `src` of the sprite's box at `dst` on the screen, blended
// at the intensity, on the CPU (cpu_blend.cpp); false when that path does
// not apply (the renderer draws it then). The same pixels either way.
bool BlendOnCpu(const Sprite &s, SDL_Rect src, SDL_Rect dst, int intensity);
// Fills `dst` of what is drawn into with the colour, blended, on the CPU;
// false when that path does not apply. The same pixels either way.
bool FillOnCpu(const SDL_Rect &dst, Colour c);
// Draws the part `src` of the sprite's texture smoothly scaled to `dst`
// (the rectangle the renderer would fill), copied or blended at the
// intensity, from a scaled copy kept while it is shown from frame to frame;
// false when that path does not apply (the renderer scales it then). The
// same pixels either way.
bool DrawZoomedCopy(SDL_Renderer *r, const Sprite &s, const SDL_Rect &src,
                    const SDL_Rect &dst, bool blend, int intensity);
// A frame was presented: the kept copies not shown in it are dropped.
void ForgetUnshownZoomedCopies();

// The video subsystem; `report` writes a failure to standard error, for
// callers that cannot go on without it.
bool EnsureVideo(bool report = false);
void ServiceEvents();
// Queues a window event for PollWindowEvent and notes whether the screen was
// switched away from.
void QueueWindowEvent(WindowEvent w);
void CloseScreenAndWindow();

// The heap grows `margin` bytes beyond each request and a helper thread
// faults new heap pages in as the heap's end moves (warm_memory.cpp).
// Calling again changes the margin; StopFollowingHeap ends the helper.
void FollowHeap(uint64_t margin);
void StopFollowingHeap();
// Bytes the helper has faulted in so far.
uint64_t HeapBytesFaultedAhead();

// A block of memory faulted in by a helper thread (warm_memory.cpp), freed
// just before a screen-sized picture is made so that the picture's memory
// is ready. SetWarmReserve sizes it (0: none) and starts the helper;
// RefillWarmReserve makes it again after use (each present); UseWarmReserve
// frees it for an allocation of `bytes` about to be made, when it is ready
// and `bytes` is between a quarter of its size and its size;
// DropWarmReserve stops the helper and frees the block.
void SetWarmReserve(uint64_t bytes);
void RefillWarmReserve();
void UseWarmReserve(uint64_t bytes);
void DropWarmReserve();
// The block's size when it is ready for use, else 0.
uint64_t WarmReserveBytes();

// ---------------------------------------------------------------------------
// Random numbers

struct RandomState {
  bool seeded = false;
  uint64_t seed = 0;
  uint64_t s[4] = {};
};

// ---------------------------------------------------------------------------

// A display kept for the dimmed backdrop (backdrop.cpp), with the clip and
// zoom its sprite had then.
struct DrawCall {
  int number = -1;
  uint64_t version = 0;
  SDL_Rect clip{};
  int zoomW = -1, zoomH = -1;
  int x = 0, y = 0;
  bool blend = false;
  int intensity = 255;
  SDL_Rect area{};     // the screen pixels it may change
  bool covers = false; // writes every pixel of `area`
  bool exact = false;  // drawn under a clip, the same pixels inside it
};

struct Backdrop {
  bool recording = false;      // between BeginBackdrop and EndBackdrop
  std::vector<DrawCall> calls; // kept this pass
  // The composed picture, and what it shows.
  TexturePtr texture;
  bool valid = false;
  std::vector<DrawCall> shown;
  int veil = -1;
  uint64_t veilVersion = 0;
  int intensity = 0;
  uint64_t composed = 0; // pixels drawn again by the last EndBackdrop
  bool used = false;     // since the last present
};

// Draws as DisplaySprite / DisplaySpriteTransparent do, never kept.
void DrawNow(int number, int x, int y, bool blend, int intensity);
// Draws a kept display with its sprite's clip and zoom of that time.
void DrawKept(const DrawCall &c);
// Whether the sprite, as now clipped and zoomed, is drawn by a plain copy
// (or a fill): under a clip, the same pixels as without it.
bool ClipsExactly(const Sprite &s);
// Keeps the display for the backdrop instead of drawing it; false when no
// backdrop is being kept or the drawing goes into a sprite.
bool RecordDraw(int number, int x, int y, bool blend, int intensity);
// Draws the displays kept so far and stops keeping them: something is
// about to read or change the screen, or a kept sprite's pixels.
void FlushBackdrop();
void BackdropSpriteChanging(const Sprite &s);
// Forgets the composed picture (the screen closes).
void ResetBackdrop();
// Frees the composed picture when the last pass showed none (no dialog).
void ForgetUnusedBackdrop();

struct PlatformState {
  bool initialised = false;
  bool videoUp = false;
  bool audioUp = false;
  int audioRate = 0, audioChannels = 0; // the mixer's device format
  DisplayState display;
  NumberTable<Sprite> sprites;
  int spriteQuality = 0;
  bool prescale = true;
  bool shortcuts = true; // SetDrawingShortcuts
  NumberTable<Image> images;
  NumberTable<Font> fonts;
  DrawState draw;
  TextState text;
  NumberTable<Sound> sounds;
  Mix_Music *musicStarted = nullptr; // the streamed sound played last
  uint64_t onDemandBudget = uint64_t(128) << 20;
  uint64_t wantedClock = 0;
  uint64_t versionClock = 0; // Sprite::version
  InputState input;
  RandomState random;
  Backdrop backdrop; // after the display: its texture is freed first
};

PlatformState &State();

// ---------------------------------------------------------------------------
// Pixel helpers

// Largest picture accepted anywhere: width * height * 4 bytes.
constexpr uint64_t kMaxPictureBytes = 256ull << 20;
bool PictureSizeOk(int w, int h);
void Premultiply(const uint8_t *src, uint8_t *dst, size_t pixels);
void Unpremultiply(const uint8_t *src, uint8_t *dst, size_t pixels);

// Area-average (shrinking) or bilinear (growing) resampling of part of a
// picture. The source is a box of stored pixels placed in a larger virtual
// picture of srcW x srcH that is transparent outside the box. Output pixel
// (ox, oy) of the out rectangle covers the source span starting at
// originX + ox * scaleX (scale = source pixels per output pixel).
struct ResampleJob {
  const uint8_t *pixels = nullptr; // box pixels
  int stride = 0;                  // bytes per box row
  SDL_Rect box{};                  // in virtual picture coordinates
  int srcW = 0, srcH = 0;          // virtual picture size
  double originX = 0, originY = 0;
  double scaleX = 1, scaleY = 1;
  SDL_Rect out{}; // output rectangle in output coordinates
};
Picture Resample(const ResampleJob &job);

} // namespace plat::detail
