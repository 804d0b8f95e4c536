// An Ogg Vorbis file through libvorbisfile as the music player plays it:
// loaded, played in an endless loop and mixed for two seconds, so that
// damaged pages, headers and seeks are decoded; none may crash or hang.
#include <vector>

#include "fuzz_file.h"
#include "platform/audio/audio_output.h"
#include "platform/audio/mixer.h"
#include "platform/audio/ogg_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool headless = [] {
    platform::SetAudioOutputForTests(platform::AudioOutputKind::Null);
    return true;
  }();
  (void)headless;
  platform::IVox* vox = platform::CreateOggPlayer();
  if (vox->Load(FuzzInputFile(data, size, "Music.ogg").c_str()) != 0) {
    vox->SetLoop(platform::kVoxLoopEndless);
    vox->Play();
    std::vector<std::int16_t> out(2 * platform::kMixerRate * platform::kMixerChannels);
    platform::TheMixer().Render(out.data(), 2 * platform::kMixerRate);
  }
  vox->Delete();
  return 0;
}
