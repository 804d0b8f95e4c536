#include "shell/sound/midi_list.h"

#include <string>

#include "base/checked_access.h"
#include "base/paths.h"

void cMidiList::Resize(int channels) { m_vPlayers.resize(channels > 0 ? static_cast<std::size_t>(channels) : 0); }

void cMidiList::Clear() { m_vPlayers.clear(); }

cMidiPlayer* cMidiList::At(int channel) const {
  if (channel < 0 || static_cast<std::size_t>(channel) >= m_vPlayers.size()) return nullptr;
  return m_vPlayers[static_cast<std::size_t>(channel)].get();
}

int cMidiList::Play(int channel, const char* path, int loop) {
  StopAll(1);
  for (auto& player : m_vPlayers) player.reset();
  std::string extension;
  if (!path || !GetExtension(extension, path) || extension != "mid") return 0;
  if (m_vPlayers.empty()) return 0;
  auto& slot = CheckedAt(m_vPlayers, channel);
  slot = std::make_unique<cMidiPlayer>(path);
  if (!slot->IsReady()) return 0;  // the player stays until the next play or release
  slot->Play(loop);
  return 1;
}

void cMidiList::StopAll(int flag) {
  for (auto& player : m_vPlayers)
    if (player) player->Stop(flag);
}
