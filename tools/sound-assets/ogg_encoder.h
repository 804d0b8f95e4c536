// Ogg Vorbis encoding with libvorbisenc, for the demo project's music and
// for tests that need an Ogg file: no binary file is kept in the tree.
#pragma once

#include <cstdint>
#include <vector>

// Encodes interleaved float samples (-1..1) of channels channels at rate
// samples per second, at a fixed quality. Empty when the encoder refuses
// the format.
std::vector<std::uint8_t> EncodeOggVorbis(const std::vector<float>& samples, int rate, int channels);
