#include "shell/sound/sound_table.h"

#include <algorithm>

#include "model/database/media.h"

void FillSoundTables(const std::vector<std::string>& systemSounds,
                     const std::vector<cEdSound>& soundList, std::vector<SOUNDDATA>& sounds,
                     std::vector<SOUNDDEF>& defs) {
  // Sound.dat entry k (k >= 1) is slot 16 + k.
  const std::size_t slots = std::max<std::size_t>(soundList.size() + SYSTEM_SOUND_COUNT - 1,
                                                  SYSTEM_SOUND_COUNT);
  sounds.clear();
  sounds.resize(slots);
  defs.assign(slots, SOUNDDEF{});
  for (std::size_t i = 0; i < slots; ++i) {
    SOUNDDEF& def = defs[i];
    if (i < SYSTEM_SOUND_COUNT) {
      if (i < systemSounds.size()) def.szFileName = systemSounds[i];
    } else {
      def.szFileName = soundList[i - (SYSTEM_SOUND_COUNT - 1)].m_strFile;
    }
    def.nBufferCount = 1;
    def.nVolume = 0;
    def.nFlag = 1;
  }
}

int SoundVolumeOfOption(int optionVolume) {
  return g_anSoundVolumeScale[std::clamp(optionVolume, 0, 10)];
}
