// Streaming rate conversion of interleaved stereo float frames to the
// mixer's rate by linear interpolation. At the mixer's own rate the frames
// pass through unchanged, so a loop point stays sample-exact.
#pragma once

#include <vector>

namespace platform {

class Resampler {
 public:
  explicit Resampler(int inputRate = 44100);
  // Appends the converted frames of in (frames stereo frames) to out.
  void Push(const float* in, int frames, std::vector<float>& out);
  // Forgets the frames seen so far (a new piece starts).
  void Reset();

 private:
  int m_nInputRate;
  double m_dStep;            // input frames per output frame
  double m_dPosition = 0.0;  // of the next output frame, from m_afPrevious
  float m_afPrevious[2] = {0.0f, 0.0f};
  bool m_bHavePrevious = false;
};

}  // namespace platform
