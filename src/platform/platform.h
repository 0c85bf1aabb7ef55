// platform.h — everything the game asks of the machine: display and frame
// clock, sprites, off-screen images and text, sound, keyboard and gamepad,
// files, system facts, dates, random numbers and the message box.
//
// Game code includes this header and never a library header of its own
// (no SDL, cairo, pango, libpng, libvorbis or libarchive outside
// src/platform/). Objects are named by small integers; passing kAnyNumber
// asks the service to choose a free number and return it. Creating an object
// under a number that is in use frees the old object first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace plat {

constexpr int kAnyNumber = -1;

// Numbers handed out for kAnyNumber start here, so they never collide with
// the fixed numbers of the asset catalogue.
constexpr int kFirstFreeNumber = 100;

struct Colour {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

// ---------------------------------------------------------------------------
// Start-up and shutdown

// Brings up the library core (events, timer, fonts, locale for UTF-8 names).
// Reads the test switches from the environment: WARRENFOLD_SEED,
// WARRENFOLD_UNPACED. Safe to call more than once.
bool Init();
// Releases every object and library. The program may call Init again.
void Shutdown();

// True when the video driver is a headless one (no window ever gets focus).
bool HeadlessVideo();
// The sprite system (video and renderer support); false when it cannot
// start. Called once at start-up, before any screen is opened.
bool InitSprites();

// ---------------------------------------------------------------------------
// Display and window

enum class WindowStyle { Windowed, Borderless };

enum class WindowEvent {
  None,
  Activated,
  Minimised,
  Restored,
  Deactivated,
  Repaint,
  Close
};

// Exclusive full screen of exactly w x h; synchronised flipping.
bool OpenFullScreen(int w, int h, const std::string &title);
// Window number 0: w x h client pixels, centred on desktop 0, hidden.
// Windowed: title bar, system menu, minimise button, no resize/maximise.
// Borderless: no frame at all.
bool OpenWindow(int w, int h, const std::string &title, WindowStyle style);
// Drawing surface filling window 0's client area; synchronised flipping.
bool OpenScreenInWindow();
bool ScreenOpen();
// Closing the screen frees every sprite (they belong to the screen).
void CloseScreen();
void CloseWindow();
void ShowWindow();
void ActivateWindow();
void MinimiseWindow();
void ShowCursor(bool on);

// One pending window event or None; never blocks. Also services the other
// pending events (keyboard, gamepad hot-plug). A quit request (window close,
// SIGINT, SIGTERM, replayed "quit") comes back as Close in every mode.
WindowEvent PollWindowEvent();
// Windowed: the window has input focus. Full screen: not switched away.
// Always true on a headless video driver.
bool ScreenActive();

void SetFrameRate(int fps);
// Presents the drawn frame and returns no sooner than the frame rate allows
// (paced on the performance counter, not on the display's refresh).
// WARRENFOLD_UNPACED=1 skips the waiting.
void Flip();
void ClearScreen(Colour c);
int ScreenWidth();
int ScreenHeight();

int DesktopCount();
// Size of desktop 0's current mode in real pixels (HiDPI included).
void DesktopSize(int &w, int &h);

// ---------------------------------------------------------------------------
// Pictures in memory (decoding can run on any thread)

// Allocates without clearing: picture buffers are written whole right after
// they are sized, and clearing hundreds of megabytes first costs start-up.
template <typename T> struct UninitialisedAllocator : std::allocator<T> {
  template <typename U> struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U> &) noexcept {}
  template <typename U> void construct(U *p) noexcept { ::new (p) U; }
  template <typename U, typename... A> void construct(U *p, A &&...a) {
    ::new (p) U(std::forward<A>(a)...);
  }
};
using PixelBytes = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

// Straight (not premultiplied) 8-bit BGRA pixels, row after row:
// byte order B, G, R, A — a little-endian ARGB8888 word per pixel.
struct Picture {
  int width = 0;
  int height = 0;
  PixelBytes pixels; // width * height * 4
};

// Decodes PNG bytes. Thread-safe. Refuses inputs above 10,000,000 bytes.
bool DecodePng(const uint8_t *data, size_t size, Picture &out);
// The size a PNG's header gives, read without decoding anything; false
// when the bytes do not start like a PNG.
bool PngSize(const uint8_t *data, size_t size, int &width, int &height);
// Encodes as a PNG with alpha. Thread-safe; same input gives same bytes.
bool EncodePng(const Picture &pic, std::vector<uint8_t> &out);
// Smooth resampling (area average when shrinking, bilinear when growing).
Picture ResamplePicture(const Picture &src, int w, int h);

// ---------------------------------------------------------------------------
// Sprites (textures on the screen, with the CPU data collision needs)

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
// A new sprite holding that rectangle of the frame drawn so far.
bool GrabSprite(int number, int x, int y, int w, int h);
// Writes the sprite as a 24-bit BMP file.
bool SaveSpriteBmp(int number, const std::string &path);

// ---------------------------------------------------------------------------
// Off-screen images and drawing (antialiased vector text)

int LoadImage(int number, const uint8_t *png, size_t size);
int LoadImageFile(int number, const std::string &path);
int CreateImage(int number, int w, int h, Colour fill);
int ImageFromPicture(int number, Picture &&pic);
void FreeImage(int number);
bool ImageExists(int number);
int ImageWidth(int number);
int ImageHeight(int number);
// Smooth rescale to w x h.
void ResizeImage(int number, int w, int h);

enum class Target { Image, Sprite, Screen };
// Later drawing calls go to that output until EndDraw, which hands the
// result to a sprite or the screen.
bool BeginDraw(Target target, int number = 0);
void EndDraw();
void Box(int x, int y, int w, int h, Colour c);
void DrawImage(int image, int x, int y);      // opaque copy
void DrawAlphaImage(int image, int x, int y); // blended by the image's alpha

// Fonts: sizes in points at load; vector text uses pixel sizes.
int LoadFont(int number, const std::string &face, int points, bool bold);
std::string FontFamily(int number); // the family fontconfig matched
void SetVectorFont(int font, double pixelSize);
void SetVectorColour(Colour c);
void MovePathCursor(double x, double y);
// Text with its top-left at the cursor; the cursor ends after the text.
void DrawVectorText(const std::string &utf8);
// Text wrapped into w x h from the cursor, "\n" breaks, lines centred when
// asked; what falls outside the box is cut off.
void DrawVectorParagraph(const std::string &utf8, double w, double h,
                         bool centred);
void DrawVectorImage(int image);
double VectorTextWidth(const std::string &utf8);
// The text in upper case, letters of every script.
std::string UpperCase(const std::string &utf8);
double VectorTextHeight(const std::string &utf8);
// From the top of the text's box down to the baseline of its first line.
double VectorTextBaseline(const std::string &utf8);
// The height of the text broken into lines w wide, as a paragraph draws it.
double VectorParagraphHeight(const std::string &utf8, double w);
// The language later texts are written in, as a tag ("ja-JP"; "" for the
// system's): it picks the faces of the characters several languages share,
// such as the Chinese characters of Japanese.
void SetTextLanguage(const std::string &tag);
// Whether the text reads from the right: its first strong letter is of a
// right-to-left script. Lines of text are laid out in their own direction.
bool RightToLeft(const std::string &utf8);
// The characters of the text that no installed font can show, in the
// current vector font; they are drawn as boxes.
int UnknownGlyphs(const std::string &utf8);

// ---------------------------------------------------------------------------
// Sound

enum SoundFlags : unsigned { kSoundLoop = 1, kSoundMultiChannel = 2 };

bool InitSound();
bool LoadSound(int number, const uint8_t *ogg, size_t size);
// LoadSound in two steps, so that decoding can run on worker threads:
// DecodeSound (thread-safe, after InitSound) gives PCM in the device's
// format, LoadSoundPcm (this thread) makes it the numbered sound.
bool DecodeSound(const uint8_t *ogg, size_t size, std::vector<uint8_t> &pcm);
bool LoadSoundPcm(int number, std::vector<uint8_t> &&pcm);
// A long sound (music) kept as its Ogg bytes and decoded while it plays,
// one streamed sound at a time, on a channel number of its own. False
// unless the bytes are a whole, intact Ogg Vorbis stream a device can play.
bool LoadStreamedSound(int number, std::vector<uint8_t> &&ogg);
// Returns the channel it plays on, or -1. volume -1 keeps the default.
int PlaySound(int number, unsigned flags, int volume = -1);
void PauseSound(int number, int channel);
void ResumeSound(int number, int channel);
void StopSound(int number, int channel);
void StopSoundAll(int number);
void SetSoundVolume(int number, int volume, int channel = -1);
// 1 playing, 2 paused, 0 stopped (or the channel plays something else).
int SoundStatus(int number, int channel);
// How many times PlaySound started this sound (for tests and the replay
// log); reset by LoadSound.
int SoundPlayCount(int number);

// ---------------------------------------------------------------------------
// Keyboard — the values are the game's scan codes.

enum class Key : uint8_t {
  Esc = 0x01,
  W = 0x11,
  Return = 0x1C,
  A = 0x1E,
  S = 0x1F,
  D = 0x20,
  N = 0x31,
  M = 0x32,
  Space = 0x39,
  F1 = 0x3B,
  KeypadEnter = 0x9C,
  Up = 0xC8,
  Left = 0xCB,
  Right = 0xCD,
  Down = 0xD0,
  Delete = 0xD3,
};

bool InitKeyboard();
// One snapshot per frame. Held: down in this snapshot. Released: true in
// exactly one snapshot, the first in which the key is up after being down.
void KeyboardSnapshot();
bool KeyHeld(Key k);
bool KeyReleased(Key k);

// ---------------------------------------------------------------------------
// Gamepads (numbered from 0)

// Number of gamepads present now; may be called at any time.
int FindGamepads();
bool GamepadSnapshot(int pad);
// stick 0 left stick, 1 right stick, 2 direction pad. Raw -1000..1000:
// below -499 gives -1, 500 or more gives 1, else 0.
int GamepadAxisX(int pad, int stick);
int GamepadAxisY(int pad, int stick);
// Buttons numbered from 1; true while held.
bool GamepadButton(int pad, int button);

// ---------------------------------------------------------------------------
// Scripted input: while a script is active the real keyboard and gamepads
// are ignored and these calls are the only input.

void ScriptedInput(bool on);
bool ScriptedInputActive();
void InjectKey(Key k, bool down);
void InjectPadConnected(bool connected);
void InjectPadAxis(int stick, int x, int y); // raw -1000..1000
void InjectPadButton(int button, bool down);
void InjectQuit();
// Raw state of the current snapshot, for recording a run.
bool RawKeyDown(Key k);

// ---------------------------------------------------------------------------
// Files, folders and system

std::string ProgramPath();
std::string ProgramFolder(); // with a trailing "/"
// The per-user data folder (XDG data home) + sub + "/", or "" when there is
// none; nothing is created.
std::string UserDataFolder(const std::string &sub);
std::string HomeFolder(); // with a trailing "/", or ""
bool CreateFolder(const std::string &path);
// Size in bytes, -1 when missing, -2 when a folder.
int64_t FileSize(const std::string &path);
bool DeleteFile(const std::string &path);
// ReadFileChecked without a size limit.
bool ReadFile(const std::string &path, std::vector<uint8_t> &out);
// The whole of a regular file (links followed) of at most maxSize bytes.
// Anything else cannot be read: missing, a folder, a FIFO or device (never
// waited on), larger than maxSize, a read error; out is then empty.
bool ReadFileChecked(const std::string &path, size_t maxSize,
                     std::vector<uint8_t> &out);
// Replaces the file atomically (temporary file beside it, then rename): a
// failure leaves the old file as it was. A symbolic link that is the
// player's own (or root's) is followed and its target replaced; any other
// link is refused. Only a regular file is replaced, and none without a
// write bit in its mode (a player's read-only file, even for root). A new
// file gets 0666 less the umask; a replaced one keeps its permission bits,
// never set-id or sticky bits.
bool WriteFileAtomic(const std::string &path, const std::vector<uint8_t> &data);
// The same, with the new bytes made from the file's current ones (nullptr
// when it is missing, unreadable or larger than maxSize), read under the
// same lock that keeps a second copy of the game out until the rename.
bool UpdateFileAtomic(
    const std::string &path, size_t maxSize,
    const std::function<std::vector<uint8_t>(const std::vector<uint8_t> *)>
        &make);

struct DirEntry {
  std::string name;
  bool folder = false;
};
// Entries of a folder matching a "*.ext"-style pattern, in the order the
// folder yields them. False when the folder cannot be listed.
bool ScanFolder(const std::string &folder, const std::string &pattern,
                std::vector<DirEntry> &out);

// ZIP archives, read in memory; entry names are never used as paths.
struct ZipEntry {
  std::string name;
  bool file = false;
  int64_t size = 0;
};
bool ZipList(const std::string &path, std::vector<ZipEntry> &out);
// Entries past this many are not looked at.
constexpr size_t kMaxZipEntries = 10000;
struct ZipFile {
  std::string name;
  std::vector<uint8_t> data;
};
// Every regular entry whose name `want` accepts, read in one pass, in the
// archive's order; one larger than maxSize or damaged is left out. False
// when the archive cannot be opened or its directory read.
bool ZipReadMatching(const std::string &path,
                     const std::function<bool(const std::string &)> &want,
                     size_t maxSize, std::vector<ZipFile> &out);
// The first entry with exactly that name; fails when it is larger than
// maxSize.
bool ZipExtract(const std::string &path, const std::string &name,
                size_t maxSize, std::vector<uint8_t> &out);

struct SystemInfo {
  std::string cpuName;
  int totalCores = 0;
  int availableCores = 0;
  uint64_t totalMemory = 0;
  uint64_t freeMemory = 0;
  int displays = 0;
  int osNumber = 0;
};
SystemInfo GetSystemInfo();

// The user's locale as language_COUNTRY ("de_DE"); "en_GB" when none.
std::string SystemLocaleName();

// ---------------------------------------------------------------------------
// Time, random numbers, message box

time_t Now();
// "%yyyy", "%mm", "%dd", "%hh", "%ii", "%ss": local year, month, day, hour
// (24 h), minute, second with leading zeros; other text is copied.
std::string FormatDate(time_t t, const std::string &mask);
uint64_t TicksMs();

// Seeded once at first use from the thread identity and the millisecond
// ticks, or from WARRENFOLD_SEED, or by SeedRandom.
void SeedRandom(uint64_t seed);
uint64_t RandomSeedInUse();        // seeds the generator first if needed
int Random(int max);               // uniform 0..max
int RandomRange(int min, int max); // uniform min..max, both included

// Modal box with one OK button; on a headless driver, or where no box can
// be shown, the title and text go to standard error.
void MessageBox(const std::string &title, const std::string &text);
void Sleep(int ms);

} // namespace plat
