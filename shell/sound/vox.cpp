#include "shell/sound/vox.h"

#include "base/report.h"

int cVox::Init() {
  if (!m_hModule) m_hModule = platform::LoadLibraryA("Vox.dll");
  m_pCreateVox = m_hModule ? platform::GetProcAddress(m_hModule, "CreateVox") : nullptr;
  if (!m_pCreateVox) {
    ErrorBoxF("oggの初期化に失敗！");
    return 0;
  }
  return 1;
}

void cVox::DeletePlayers() {
  for (platform::IVox* vox : m_apVox)
    if (vox) vox->Delete();
  m_apVox.clear();
  m_nCurrentChannel = -1;
}

int cVox::Create(int count) {
  DeletePlayers();
  m_nChannels = count > 0 ? count : 0;
  for (int i = 0; i < m_nChannels; ++i) {
    platform::IVox* vox = m_pCreateVox ? m_pCreateVox() : nullptr;
    if (!vox) {
      OutOfMemoryError();
      return 0;
    }
    m_apVox.push_back(vox);
  }
  return 1;
}

int cVox::Play(int channel, const char* path, int loop) {
  if (!path || !*path) return 0;
  if (channel < 0 || static_cast<std::size_t>(channel) >= m_apVox.size()) return 0;
  Stop();
  platform::IVox* vox = m_apVox[static_cast<std::size_t>(channel)];
  vox->Unload();
  if (!vox->Load(path)) {
    m_nCurrentChannel = -1;
    return 0;
  }
  vox->SetLoop(loop ? platform::kVoxLoopEndless : 0);
  vox->Play();
  m_nCurrentChannel = channel;
  return 1;
}

void cVox::Stop() {
  if (m_nCurrentChannel >= 0 && static_cast<std::size_t>(m_nCurrentChannel) < m_apVox.size())
    m_apVox[static_cast<std::size_t>(m_nCurrentChannel)]->Stop();
  m_nCurrentChannel = -1;
}

int cVox::Release() {
  DeletePlayers();
  m_nChannels = 0;
  m_pCreateVox = nullptr;
  const int result = m_hModule ? platform::FreeLibrary(m_hModule) : 0;
  m_hModule = nullptr;
  return result;
}
