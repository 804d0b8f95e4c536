#include "platform/audio/resampler.h"

#include "platform/audio/mixer.h"

namespace platform {

Resampler::Resampler(int inputRate)
    : m_nInputRate(inputRate > 0 ? inputRate : kMixerRate),
      m_dStep(static_cast<double>(m_nInputRate) / kMixerRate) {}

void Resampler::Reset() {
  m_dPosition = 0.0;
  m_bHavePrevious = false;
}

void Resampler::Push(const float* in, int frames, std::vector<float>& out) {
  if (m_nInputRate == kMixerRate) {
    out.insert(out.end(), in, in + 2 * frames);
    return;
  }
  // Position p interpolates between frame floor(p) and the next one, where
  // frame -1 is the last frame of the previous push.
  auto frame = [&](long i, int c) { return i < 0 ? m_afPrevious[c] : in[2 * i + c]; };
  if (!m_bHavePrevious) {
    if (frames == 0) return;
    m_afPrevious[0] = in[0];
    m_afPrevious[1] = in[1];
    m_bHavePrevious = true;
    in += 2;
    --frames;
  }
  while (m_dPosition < frames) {
    const long i = static_cast<long>(m_dPosition) - 1;
    const float t = static_cast<float>(m_dPosition - static_cast<double>(i + 1));
    for (int c = 0; c < 2; ++c) out.push_back(frame(i, c) + (frame(i + 1, c) - frame(i, c)) * t);
    m_dPosition += m_dStep;
  }
  m_dPosition -= frames;
  if (frames > 0) {
    m_afPrevious[0] = in[2 * (frames - 1)];
    m_afPrevious[1] = in[2 * (frames - 1) + 1];
  }
}

}  // namespace platform
