#include "platform/frame_mailbox.h"

#include <utility>

namespace platform {

std::uint64_t FrameMailbox::Post(int width, int height, std::vector<std::uint32_t> pixels) {
  return PostSwapping(width, height, pixels);
}

std::uint64_t FrameMailbox::PostSwapping(int width, int height, std::vector<std::uint32_t>& pixels) {
  std::function<void()> frameReady;
  std::uint64_t sequence;
  {
    std::lock_guard lock(m_Mutex);
    sequence = ++m_nLastSequence;
    m_Frame.width = width;
    m_Frame.height = height;
    m_Frame.pixels.swap(pixels);
    m_Frame.sequence = sequence;
    frameReady = m_FrameReady;
  }
  if (frameReady) frameReady();
  return sequence;
}

Frame FrameMailbox::Latest() const {
  std::lock_guard lock(m_Mutex);
  return m_Frame;
}

bool FrameMailbox::TakeNewer(std::uint64_t lastSequence, Frame& out) const {
  std::lock_guard lock(m_Mutex);
  if (m_Frame.sequence == 0 || m_Frame.sequence <= lastSequence) return false;
  out.width = m_Frame.width;
  out.height = m_Frame.height;
  out.pixels.assign(m_Frame.pixels.begin(), m_Frame.pixels.end());
  out.sequence = m_Frame.sequence;
  return true;
}

std::uint64_t FrameMailbox::Sequence() const {
  std::lock_guard lock(m_Mutex);
  return m_Frame.sequence;
}

void FrameMailbox::SetFrameReadyCallback(std::function<void()> callback) {
  std::lock_guard lock(m_Mutex);
  m_FrameReady = std::move(callback);
}

void FrameMailbox::Clear() {
  std::lock_guard lock(m_Mutex);
  m_Frame = Frame{};
  m_FrameReady = nullptr;
}

FrameMailbox& TheFrameMailbox() {
  static FrameMailbox mailbox;
  return mailbox;
}

}  // namespace platform
