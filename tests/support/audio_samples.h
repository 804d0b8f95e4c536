// Helpers to look at rendered audio: pulling frames from the mixer and
// measuring their loudness.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/audio/mixer.h"

// Renders frames stereo frames of the process-wide mixer.
inline std::vector<std::int16_t> RenderFrames(int frames) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * platform::kMixerChannels);
  platform::TheMixer().Render(out.data(), frames);
  return out;
}

// Largest absolute sample of frames [first, first + count) of interleaved
// stereo samples.
inline int PeakOf(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t count) {
  int peak = 0;
  for (std::size_t i = first * 2; i < (first + count) * 2 && i < samples.size(); ++i)
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  return peak;
}
