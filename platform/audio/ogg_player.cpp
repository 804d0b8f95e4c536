#include "platform/audio/ogg_player.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/audio_output.h"
#include "platform/audio/mixer.h"
#include "platform/audio/resampler.h"
#include "platform/files.h"

namespace platform {

namespace {

// The whole file in memory, read by libvorbisfile through these callbacks.
struct MemoryFile {
  std::vector<std::uint8_t> bytes;
  std::size_t position = 0;

  static size_t Read(void* to, size_t size, size_t count, void* source) {
    auto* f = static_cast<MemoryFile*>(source);
    if (size == 0) return 0;
    const std::size_t n = std::min(count, (f->bytes.size() - f->position) / size);
    std::memcpy(to, f->bytes.data() + f->position, n * size);
    f->position += n * size;
    return n;
  }
  static int Seek(void* source, ogg_int64_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(source);
    const ogg_int64_t base = whence == SEEK_SET ? 0
                             : whence == SEEK_CUR ? static_cast<ogg_int64_t>(f->position)
                                                  : static_cast<ogg_int64_t>(f->bytes.size());
    const ogg_int64_t to = base + offset;
    if (to < 0 || to > static_cast<ogg_int64_t>(f->bytes.size())) return -1;
    f->position = static_cast<std::size_t>(to);
    return 0;
  }
  static long Tell(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->position); }
};

// An opened piece: the file and its decoder.
struct OggStream {
  MemoryFile file;
  OggVorbis_File vf{};
  bool open = false;
  int rate = 0;
  int channels = 0;

  ~OggStream() {
    if (open) ov_clear(&vf);
  }
  bool Open() {
    const ov_callbacks callbacks = {MemoryFile::Read, MemoryFile::Seek, nullptr, MemoryFile::Tell};
    if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0) return false;
    open = true;
    const vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels < 1 || info->rate < 1) return false;
    rate = static_cast<int>(info->rate);
    channels = info->channels;
    return ov_seekable(&vf) != 0;
  }
};

class OggPlayer : public IVox, public MixerSource {
 public:
  OggPlayer() : m_Kind(AcquireAudioOutput()) { TheMixer().AddSource(this); }

  int Load(const char* path) override {
    Unload();
    auto stream = std::make_unique<OggStream>();
    if (!path || !ReadProgramFile(path, stream->file.bytes) || !stream->Open()) return 0;
    auto lock = TheMixer().Lock();
    m_Resampler = Resampler(stream->rate);
    m_Stream = std::move(stream);
    m_Pending.clear();
    return 1;
  }

  void Play() override {
    auto lock = TheMixer().Lock();
    if (!m_Stream) return;
    m_nLoopsLeft = m_nLoopCount;
    m_bPlaying = true;
  }

  void Stop() override {
    auto lock = TheMixer().Lock();
    m_bPlaying = false;
    Rewind();
  }

  void Unload() override {
    std::unique_ptr<OggStream> old;
    auto lock = TheMixer().Lock();
    m_bPlaying = false;
    old = std::move(m_Stream);
    m_Pending.clear();
  }

  void SetLoop(int count) override {
    auto lock = TheMixer().Lock();
    m_nLoopCount = std::max(count, 0);
    m_nLoopsLeft = m_nLoopCount;
  }

  void Delete() override { delete this; }

  void Mix(float* out, int frames) override {
    if (!m_bPlaying) return;
    const std::size_t wanted = static_cast<std::size_t>(frames) * 2;
    bool decodedSinceSeek = true;
    while (m_Pending.size() < wanted && !m_bDecodeEnded) {
      float** pcm = nullptr;
      int section = 0;
      const long n = ov_read_float(&m_Stream->vf, &pcm, 1024, &section);
      if (n > 0) {
        decodedSinceSeek = true;
        m_Interleaved.resize(static_cast<std::size_t>(n) * 2);
        const int right = m_Stream->channels > 1 ? 1 : 0;
        for (long i = 0; i < n; ++i) {
          m_Interleaved[2 * i] = pcm[0][i];
          m_Interleaved[2 * i + 1] = pcm[right][i];
        }
        m_Resampler.Push(m_Interleaved.data(), static_cast<int>(n), m_Pending);
      } else if (n == OV_HOLE) {
        continue;  // a gap in the data: decoding goes on after it
      } else if (n == 0 && m_nLoopsLeft > 0 && decodedSinceSeek && ov_pcm_seek(&m_Stream->vf, 0) == 0) {
        if (m_nLoopsLeft != kVoxLoopEndless) --m_nLoopsLeft;
        decodedSinceSeek = false;
      } else {
        m_bDecodeEnded = true;  // the end, a damaged stream, or a loop that yields nothing
      }
    }
    const std::size_t n = std::min(wanted, m_Pending.size());
    for (std::size_t i = 0; i < n; ++i) out[i] += m_Pending[i];
    m_Pending.erase(m_Pending.begin(), m_Pending.begin() + static_cast<std::ptrdiff_t>(n));
    if (m_bDecodeEnded && m_Pending.empty()) {
      m_bPlaying = false;
      Rewind();
    }
  }

 private:
  ~OggPlayer() override {
    TheMixer().RemoveSource(this);
    Unload();
    if (m_Kind != AudioOutputKind::Closed) ReleaseAudioOutput();
  }

  // The mixer's lock held.
  void Rewind() {
    m_bDecodeEnded = false;
    m_Pending.clear();
    m_Resampler.Reset();
    if (m_Stream) ov_pcm_seek(&m_Stream->vf, 0);
  }

  AudioOutputKind m_Kind;
  // Below: guarded by the mixer's lock.
  std::unique_ptr<OggStream> m_Stream;
  Resampler m_Resampler;
  std::vector<float> m_Pending;  // converted frames not yet mixed
  std::vector<float> m_Interleaved;
  bool m_bPlaying = false;
  bool m_bDecodeEnded = false;  // the last frames are in m_Pending
  int m_nLoopCount = 0;
  int m_nLoopsLeft = 0;
};

}  // namespace

IVox* CreateOggPlayer() { return new OggPlayer(); }

}  // namespace platform
