// internal.h — the platform layer's state and the helpers its source files
// share. Only src/platform/ includes this header.
#pragma once

#include "platform/frame_clock.h"
#include "platform/numbered.h"
#include "platform/platform.h"

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
// Sprites

// A smoothly shrunk copy of a sprite for one zoom. In strip mode it holds
// the whole picture scaled by the zoom factor (so any equal-sized clip of it
// is a plain sub-rectangle); otherwise it holds just the zoomed clip.
struct Prescaled {
  SDL_Texture *texture = nullptr;
  bool valid = false;  // made for the key below
  bool failed = false; // could not be made: the renderer scales instead
  bool strip = false;
  int zoomW = 0, zoomH = 0, clipW = 0, clipH = 0, clipX = 0, clipY = 0;
  SDL_Rect area{}; // covered part, in scaled coordinates
  ~Prescaled();
  void Reset();
};

struct Sprite {
  int width = 0, height = 0; // natural size
  SDL_Rect box{};            // stored part (the whole picture unless trimmed)
  // The box's straight BGRA pixels live only here (no CPU copy: banner
  // frames alone are hundreds of megabytes); null when the box is empty.
  SDL_Texture *texture = nullptr;
  std::vector<uint8_t> mask; // width * height, 1 = solid; empty: none
  unsigned flags = 0;
  bool target = false;  // the renderer can draw into it
  bool opaque = false;  // every pixel of the picture has alpha 255
  bool uniform = false; // every pixel of the picture is uniformColour
  Colour uniformColour{};
  SDL_Rect clip{};
  int zoomW = -1, zoomH = -1;
  Prescaled scaled;
  ~Sprite();
};

// Size on the screen: the zoom, or the clip's size without one.
inline int DisplayWidth(const Sprite &s) {
  return s.zoomW > 0 ? s.zoomW : s.clip.w;
}
inline int DisplayHeight(const Sprite &s) {
  return s.zoomH > 0 ? s.zoomH : s.clip.h;
}

// Turns a decoded picture into a sprite's stored form and texture.
std::unique_ptr<Sprite> MakeSprite(Picture &&pic, unsigned flags);
// Replaces a sprite's picture (after drawing into it); keeps clip, zoom and
// the collision mask of the loaded picture.
bool ReplaceSpritePicture(Sprite &s, Picture &&pic);
// The box's pixels read back from the texture, box.w * 4 bytes a row.
bool ReadBox(const Sprite &s, std::vector<uint8_t> &out);
// The sprite's whole picture, transparent outside a trimmed box; empty
// when it cannot be read back.
Picture SpritePicture(const Sprite &s);
// Drops every sprite (they belong to the renderer).
void FreeAllSprites();
// Makes the shrunk copy for the sprite's zoom when one is worth having.
void PreparePrescaled(Sprite &s);

// ---------------------------------------------------------------------------
// Images and drawing

struct Image {
  cairo_surface_t *surface = nullptr; // ARGB32, premultiplied
  ~Image();
};

struct Font {
  PangoFontDescription *desc = nullptr;
  std::string family;
  ~Font();
};

struct DrawState {
  bool active = false;
  Target target = Target::Image;
  int number = 0;
  cairo_surface_t *surface = nullptr; // owned for sprite and screen targets
  cairo_t *cr = nullptr;
  double cursorX = 0, cursorY = 0;
  int font = 0;
  double pixelSize = 0; // 0: the font's own size
  Colour colour{0, 0, 0, 255};
};

struct TextState {
  PangoFontMap *fontMap = nullptr;
  PangoContext *context = nullptr; // measuring and drawing
};

cairo_surface_t *SurfaceFromPicture(const Picture &pic);
Picture PictureFromSurface(cairo_surface_t *surface);
void EndDrawing();
void ReleaseText();

// ---------------------------------------------------------------------------
// Sound

struct Sound {
  std::vector<uint8_t> pcm; // device format; the chunk points into it
  Mix_Chunk *chunk = nullptr;
  int ownChannel = -1; // where the last single-channel play went
  int volume = 100;
  int plays = 0;
  ~Sound();
};

// Decodes Ogg Vorbis into interleaved signed 16-bit samples at the given
// rate and channel count (1 or 2).
bool DecodeVorbis(const uint8_t *data, size_t size, int rate, int channels,
                  std::vector<uint8_t> &pcm);

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
  SDL_GameController *controller = nullptr;
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
  SDL_Joystick *virtualPad = nullptr; // tests only
};

void ClosePads();
void PadAdded(int deviceIndex);
void PadRemoved(SDL_JoystickID id);

// ---------------------------------------------------------------------------
// Display

struct DisplayState {
  SDL_Window *window = nullptr;
  bool fullScreen = false;   // the window belongs to the full-screen screen
  bool switchedAway = false; // full screen lost the foreground
  SDL_Renderer *renderer = nullptr;
  bool softwareRenderer = false;
  int width = 0, height = 0;
  int windowW = 0, windowH = 0;   // window 0's client size in pixels
  SDL_Texture *overlay = nullptr; // screen-sized, for drawing on the screen
  FrameClock clock;
  bool unpaced = false;
  std::deque<WindowEvent> events;
};

bool EnsureVideo();
void ServiceEvents();
void CloseScreenAndWindow();

// ---------------------------------------------------------------------------
// Random numbers

struct RandomState {
  bool seeded = false;
  uint64_t seed = 0;
  uint64_t s[4] = {};
};

// ---------------------------------------------------------------------------

struct PlatformState {
  bool initialised = false;
  bool videoUp = false;
  bool audioUp = false;
  int audioRate = 0, audioChannels = 0; // the mixer's device format
  DisplayState display;
  NumberTable<Sprite> sprites;
  int spriteQuality = 0;
  bool prescale = true;
  NumberTable<Image> images;
  NumberTable<Font> fonts;
  DrawState draw;
  TextState text;
  NumberTable<Sound> sounds;
  InputState input;
  RandomState random;
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
