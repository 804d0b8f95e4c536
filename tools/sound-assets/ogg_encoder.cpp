#include "ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

void Append(std::vector<std::uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<std::uint8_t> EncodeOggVorbis(const std::vector<float>& samples, int rate, int channels) {
  std::vector<std::uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels < 1 || vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);

  const long frames = static_cast<long>(samples.size() / static_cast<std::size_t>(channels));
  constexpr long kChunk = 1024;
  for (long at = 0;; at += kChunk) {
    const long n = std::max(0L, std::min(kChunk, frames - at));
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (long i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c) buffer[c][i] = samples[static_cast<std::size_t>((at + i) * channels + c)];
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));  // 0: the end of the stream
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) Append(out, page);
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}
