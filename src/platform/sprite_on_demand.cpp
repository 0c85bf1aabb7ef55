// sprite_on_demand.cpp — sprites kept as their PNG bytes and decoded when
// first shown, under a memory budget: the banner animations are hundreds
// of megabytes decoded but a few compressed, and only one plays at a time.
#include "platform/internal.h"
#include "platform/pictures.h"
#include "platform/png_fast.h"
#include "platform/sprites.h"

#include <new>

namespace plat {

using detail::Sprite;
using detail::State;

namespace detail {

namespace {

uint64_t HeldBytes(const Sprite &s) {
  uint64_t bytes = uint64_t(s.box.w) * uint64_t(s.box.h) * 4;
  if (s.scaled.texture)
    bytes += uint64_t(s.scaled.area.w) * uint64_t(s.scaled.area.h) * 4;
  return bytes;
}

void Evict(Sprite &s) {
  s.scaled.Reset();
  s.texture.reset();
  s.resident = false;
}

} // namespace

void DropPicture(Sprite &s) { Evict(s); }

void KeepWithinBudget(const Sprite *keep, uint64_t incoming) {
  PlatformState &st = State();
  incoming += PrefetchReservedBytes();
  for (uint64_t held = OnDemandBytes(); held + incoming > st.onDemandBudget;) {
    Sprite *oldest = nullptr;
    for (const auto &slot : st.sprites.slots)
      if (slot && slot->resident && slot.get() != keep &&
          (!oldest || slot->lastWanted < oldest->lastWanted))
        oldest = slot.get();
    if (!oldest)
      return;
    held -= HeldBytes(*oldest);
    Evict(*oldest);
  }
}

uint64_t OnDemandBytes() {
  uint64_t held = 0;
  for (const auto &slot : State().sprites.slots)
    if (slot && slot->resident)
      held += HeldBytes(*slot);
  return held;
}

bool EnsureResident(Sprite &s) {
  if (s.packed.empty())
    return true;
  s.lastWanted = ++State().wantedClock;
  if (s.resident)
    return true;
  if (s.decodeFailed)
    return false;
  bool decoded = false;
  try {
    // Decoded ahead, or room first, by the size the header gives: the
    // decoded picture and its copies must not come on top of a full
    // budget.
    Prefetched ahead;
    bool failed = false;
    const bool prefetched = TakePrefetched(s, ahead, failed);
    KeepWithinBudget(&s, uint64_t(s.width) * uint64_t(s.height) * 4);
    if (!prefetched)
      failed = !DecodePng(s.packed.data(), s.packed.size(), ahead.pic);
    decoded = !failed && ahead.pic.width == s.width &&
              ahead.pic.height == s.height &&
              StoreLoadedPicture(s, std::move(ahead.pic));
    if (decoded) {
      s.resident = true;
      PreparePrescaled(s);
    }
  } catch (const std::bad_alloc &) {
    // Memory ran out: the frame is shown as nothing, the game goes on.
    decoded = false;
  }
  if (!decoded) {
    // Only a file made to pass the checks at loading gets here: shown as
    // nothing, said once, not decoded again every frame.
    ReportFailure("a picture decoded on demand", "damaged picture data");
    Evict(s);
    s.decodeFailed = true;
    return false;
  }
  KeepWithinBudget(&s);
  PrefetchShown(s);
  return true;
}

} // namespace detail

int LoadSpriteOnDemand(int number, std::vector<uint8_t> &&png, unsigned flags) {
  int w = 0, h = 0;
  if (!State().display.renderer || (flags & kSpriteCollision) ||
      !detail::PngIntact(png.data(), png.size(), w, h))
    return detail::Install(number, nullptr);
  auto s = std::make_unique<Sprite>();
  s->flags = flags;
  s->width = w;
  s->height = h;
  s->clip = SDL_Rect{0, 0, w, h};
  s->packed = std::move(png);
  return detail::Install(number, std::move(s));
}

} // namespace plat
