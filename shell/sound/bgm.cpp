#include "shell/sound/bgm.h"

#include "base/checked_access.h"
#include "base/paths.h"
#include "base/report.h"

cBgm g_Bgm;

void SetDefaultBgmNames(std::vector<std::string>& oggNames, std::vector<std::string>& midiNames) {
  oggNames.clear();
  midiNames.clear();
  for (const char* name : {"Title", "WorldMap", "Challenge", "Option", "Stage"}) {
    oggNames.push_back(std::string("bgm\\") + name + ".ogg");
    midiNames.push_back(std::string("bgm\\") + name + ".mid");
  }
}

int cBgm::Init(int channels, std::vector<std::string>* oggNames, std::vector<std::string>* midiNames, int slots) {
  std::lock_guard lock(m_Mutex);
  m_MidiList.Clear();
  if (!m_Vox.Init()) {
    ErrorLog("m_Vox.Init失敗！");
    return 0;
  }
  m_bInit = 1;
  SetChannels(channels);
  m_pOggNames = oggNames;
  m_pMidiNames = midiNames;
  m_nCurrentSlot = -1;
  m_vSlotKind.assign(slots > 0 ? static_cast<std::size_t>(slots) : 0, 0);
  return 1;
}

int cBgm::SetChannels(int channels) {
  std::lock_guard lock(m_Mutex);
  if (!m_bInit) return 1;
  m_MidiList.Resize(channels);
  m_vChannelKind.assign(channels > 0 ? static_cast<std::size_t>(channels) : 0, 0);
  return m_Vox.Create(channels);
}

int cBgm::SetSlot(int slot, const char* path) {
  std::lock_guard lock(m_Mutex);
  if (!m_bInit) return 1;
  if (!IsSlot(slot)) return 0;
  int& kind = m_vSlotKind[static_cast<std::size_t>(slot)];
  const auto at = static_cast<std::size_t>(slot);
  if (!m_pOggNames || !m_pMidiNames || at >= m_pOggNames->size() || at >= m_pMidiNames->size()) return 0;
  std::string& oggName = (*m_pOggNames)[at];
  std::string& midiName = (*m_pMidiNames)[at];
  const std::string text = path ? path : "";
  std::string extension;
  if (!GetExtension(extension, text)) {
    oggName.clear();
    midiName.clear();
    kind = 0;
    return 0;
  }
  if (extension == "mid" || extension == "MID") {
    ReplaceExtension(midiName, text, "mid");
    kind = 2;
    return 1;
  }
  if (extension == "ogg" || extension == "OGG") {
    oggName = text;
    kind = 1;
    return 1;
  }
  oggName = text;
  midiName = text;
  kind = 0;
  return 0;
}

// A bad slot or channel is reported through the checked access, which also
// asks the main window to close.
bool cBgm::IsSlot(int slot) const {
  if (slot >= 0 && static_cast<std::size_t>(slot) < m_vSlotKind.size()) return true;
  if (!m_vSlotKind.empty()) CheckedAt(m_vSlotKind, slot);
  return false;
}

bool cBgm::IsChannel(int channel) const {
  if (channel >= 0 && static_cast<std::size_t>(channel) < m_vChannelKind.size()) return true;
  if (!m_vChannelKind.empty()) CheckedAt(m_vChannelKind, channel);
  return false;
}

std::string cBgm::NameOf(const std::vector<std::string>* table, int slot) const {
  if (!table || slot < 0 || static_cast<std::size_t>(slot) >= table->size()) return {};
  return (*table)[static_cast<std::size_t>(slot)];
}

int cBgm::PlayOgg(int channel, int slot, int loop, int pauseMidi) {
  if (!m_Vox.Play(channel, NameOf(m_pOggNames, slot).c_str(), loop)) return 0;
  m_vChannelKind[static_cast<std::size_t>(channel)] = 1;
  m_MidiList.StopAll(pauseMidi);
  return 1;
}

int cBgm::PlayMidi(int channel, int slot, int loop) {
  if (!m_MidiList.Play(channel, NameOf(m_pMidiNames, slot).c_str(), loop)) return 0;
  m_vChannelKind[static_cast<std::size_t>(channel)] = 2;
  m_Vox.Stop();
  return 1;
}

int cBgm::Play(int channel, int slot, int loop, int pauseMidi, int force) {
  std::lock_guard lock(m_Mutex);
  if (!m_bInit) return 1;
  if (slot == m_nCurrentSlot && !force) return 1;
  const bool validSlot = IsSlot(slot);
  if (validSlot && IsChannel(channel)) {
    m_nCurrentSlot = slot;
    switch (m_vSlotKind[static_cast<std::size_t>(slot)]) {
      case 0:
        if (PlayOgg(channel, slot, loop, pauseMidi) || PlayMidi(channel, slot, loop)) return 1;
        break;
      case 1:
        if (PlayOgg(channel, slot, loop, 0)) return 1;
        break;
      case 2:
        if (PlayMidi(channel, slot, loop)) return 1;
        break;
    }
    m_vChannelKind[static_cast<std::size_t>(channel)] = 0;
  }
  m_nCurrentSlot = -1;
  m_Vox.Stop();
  m_MidiList.StopAll(0);
  return 0;
}

void cBgm::Stop() {
  std::lock_guard lock(m_Mutex);
  if (!m_bInit) return;
  m_MidiList.StopAll(0);
  m_Vox.Stop();
}

void cBgm::Release() {
  std::lock_guard lock(m_Mutex);
  m_Vox.Release();
  m_MidiList.Clear();
  m_vChannelKind.clear();
  m_vSlotKind.clear();
  m_nCurrentSlot = -1;
  m_pOggNames = nullptr;
  m_pMidiNames = nullptr;
  m_bInit = 0;
}

int cBgm::Restart(int bOn, int channels, std::vector<std::string>* oggNames, std::vector<std::string>* midiNames,
                  int slots) {
  std::lock_guard lock(m_Mutex);
  Release();
  return bOn ? Init(channels, oggNames, midiNames, slots) : 1;
}

bool cBgm::IsInit() const {
  std::lock_guard lock(m_Mutex);
  return m_bInit != 0;
}

int cBgm::CurrentSlot() const {
  std::lock_guard lock(m_Mutex);
  return m_nCurrentSlot;
}

int cBgm::SlotKind(int slot) const {
  std::lock_guard lock(m_Mutex);
  return slot >= 0 && static_cast<std::size_t>(slot) < m_vSlotKind.size() ? m_vSlotKind[static_cast<std::size_t>(slot)]
                                                                            : -1;
}

int cBgm::ChannelKind(int channel) const {
  std::lock_guard lock(m_Mutex);
  return channel >= 0 && static_cast<std::size_t>(channel) < m_vChannelKind.size()
             ? m_vChannelKind[static_cast<std::size_t>(channel)]
             : -1;
}
