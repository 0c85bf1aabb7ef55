// test_hooks.cpp — the calls of test_hooks.h.
#include "platform/test_hooks.h"

#include "platform/internal.h"

#include <vorbis/vorbisenc.h>

#include <cstring>

namespace plat {

using detail::State;

bool SpriteDisplaySize(int number, int &w, int &h) {
  const detail::Sprite *s = State().sprites.Get(number);
  if (!s)
    return false;
  w = detail::DisplayWidth(*s);
  h = detail::DisplayHeight(*s);
  return true;
}

bool SpritePixels(int number, Picture &out) {
  detail::Sprite *s = State().sprites.Get(number);
  if (!s || !detail::EnsureResident(*s))
    return false;
  out = detail::SpritePicture(*s);
  return !out.pixels.empty();
}

std::string RendererName() {
  SDL_RendererInfo info;
  SDL_Renderer *r = State().display.renderer.get();
  if (!r || SDL_GetRendererInfo(r, &info) != 0 || !info.name)
    return std::string();
  return info.name;
}

void SetSpritePrescale(bool on) { State().prescale = on; }

bool ResizeWindowForTests(int w, int h) {
  SDL_Window *window = State().display.window.get();
  if (!window || w <= 0 || h <= 0)
    return false;
  SDL_SetWindowSize(window, w, h);
  int nw = 0, nh = 0;
  SDL_GetWindowSize(window, &nw, &nh);
  return nw == w && nh == h;
}

bool EncodeOggForTests(const std::vector<int16_t> &samples, int rate,
                       int channels, std::vector<uint8_t> &out) {
  out.clear();
  if (channels < 1 || channels > 2 || rate <= 0)
    return false;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, 0.4f) != 0) {
    vorbis_info_clear(&vi);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1); // fixed serial: the same bytes every time
  ogg_packet header, comment, code;
  vorbis_analysis_headerout(&vd, &vc, &header, &comment, &code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comment);
  ogg_stream_packetin(&os, &code);
  ogg_page page;
  auto append = [&out](const ogg_page &p) {
    out.insert(out.end(), p.header, p.header + p.header_len);
    out.insert(out.end(), p.body, p.body + p.body_len);
  };
  while (ogg_stream_flush(&os, &page))
    append(page);

  const size_t frames = samples.size() / size_t(channels);
  size_t done = 0;
  bool eos = false;
  while (!eos) {
    const size_t n = std::min<size_t>(1024, frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float **buf = vorbis_analysis_buffer(&vd, int(n));
      for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c)
          buf[c][i] = samples[(done + i) * channels + c] / 32768.0f;
      vorbis_analysis_wrote(&vd, int(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          append(page);
          if (ogg_page_eos(&page))
            eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      while (ogg_stream_flush(&os, &page)) {
        append(page);
        if (ogg_page_eos(&page))
          eos = true;
      }
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return true;
}

size_t SoundPcmBytes(int number) {
  const detail::Sound *s = State().sounds.Get(number);
  return s ? s->pcm.size() : 0;
}

bool AttachVirtualPad() {
  detail::InputState &in = State().input;
  if (in.virtualPad)
    return true;
  if (!in.padsUp)
    FindGamepads(); // brings the controller subsystem up
  if (!in.padsUp)
    return false;
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                        SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
  if (index < 0)
    return false;
  in.virtualPad.reset(SDL_JoystickOpen(index));
  return in.virtualPad != nullptr;
}

bool SetVirtualPadAxis(int axis, int raw) {
  SDL_Joystick *j = State().input.virtualPad.get();
  if (!j || axis < 0 || axis > 3)
    return false;
  if (raw < -32768)
    raw = -32768;
  if (raw > 32767)
    raw = 32767;
  return SDL_JoystickSetVirtualAxis(j, axis, Sint16(raw)) == 0;
}

bool SetVirtualPadButton(int button, bool down) {
  SDL_Joystick *j = State().input.virtualPad.get();
  if (!j || button < 1 || button > detail::kPadButtons)
    return false;
  return SDL_JoystickSetVirtualButton(j, button - 1, down ? 1 : 0) == 0;
}

void DetachVirtualPad() {
  detail::InputState &in = State().input;
  if (!in.virtualPad)
    return;
  int instance = SDL_JoystickInstanceID(in.virtualPad.get());
  in.virtualPad.reset();
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == instance) {
      SDL_JoystickDetachVirtual(i);
      break;
    }
}

} // namespace plat
