// ogg_writer.cpp — Ogg Vorbis encoding through libvorbisenc.
#include "ogg_writer.h"

#include "synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace audio {

namespace {

void Drain(ogg_stream_state &os, std::vector<uint8_t> &out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&os, &page)
               : ogg_stream_pageout(&os, &page)) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  }
}

} // namespace

std::vector<uint8_t> EncodeOgg(const Stereo &pcm, float quality, int serial,
                               const std::string &title) {
  return EncodeOgg({pcm.l.data(), pcm.r.data()}, Frames(pcm), kRate, quality,
                   serial, title);
}

std::vector<uint8_t> EncodeOgg(const std::vector<const float *> &channels,
                               size_t frames, int rate, float quality,
                               int serial, const std::string &title) {
  const int channelCount = static_cast<int>(channels.size());
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channelCount, rate, quality) != 0) {
    vorbis_info_clear(&vi);
    throw std::runtime_error("vorbis encoder rejected its settings");
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
  vorbis_comment_add_tag(&vc, "ARTIST", "Warrenfold sound forge");

  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);

  std::vector<uint8_t> out;
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  // The headers get pages of their own, as decoders expect.
  Drain(os, out, true);

  const size_t total = frames;
  const size_t chunk = 4096;
  size_t done = 0;
  for (;;) {
    size_t count = std::min(chunk, total - done);
    if (count == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float **buffer = vorbis_analysis_buffer(&vd, static_cast<int>(count));
      for (int c = 0; c < channelCount; ++c)
        std::copy_n(channels[static_cast<size_t>(c)] + done, count, buffer[c]);
      vorbis_analysis_wrote(&vd, static_cast<int>(count));
      done += count;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        Drain(os, out, false);
      }
    }
    if (count == 0)
      break;
  }
  Drain(os, out, true);

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f)
    return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

} // namespace audio
