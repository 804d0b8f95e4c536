#include "shell/system_ini.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/checked_access.h"
#include "base/report.h"
#include "base/strings.h"
#include "model/settings/system_data.h"
#include "platform/files.h"

SYSTEMINIDATA g_SystemIni;

namespace {

constexpr int kIntKeys = 5;
constexpr int kFreeStageKey = 5;
constexpr int kMaxLines = 10000;
constexpr std::size_t kMaxText = 2048;  // the size of the program's key and value buffers

int& IntField(SYSTEMINIDATA& ini, int i) {
  int* const fields[kIntKeys] = {&ini.nDirect3D, &ini.nWindowMode, &ini.nBpp, &ini.nVSync,
                                 &ini.nShowFps};
  return *fields[i];
}

void SetFreeStage(SYSTEMINIDATA& ini, const std::string& value) {
  const std::size_t length = std::min(value.size(), sizeof ini.szFreeStage - 1);
  std::memcpy(ini.szFreeStage, value.data(), length);
  ini.szFreeStage[length] = '\0';
}

void Append(std::string& text, char c) {
  if (text.size() < kMaxText) text.push_back(c);
}

class cIniReader {
 public:
  explicit cIniReader(const std::vector<std::uint8_t>& bytes) : m_Bytes(bytes) {}
  bool AtEnd() const { return m_nPos >= m_Bytes.size(); }
  char Next() { return static_cast<char>(m_Bytes[m_nPos++]); }

 private:
  const std::vector<std::uint8_t>& m_Bytes;
  std::size_t m_nPos = 0;
};

void StoreValue(SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys, const std::string& key,
                const std::string& value) {
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    if (CheckedAt(keys, i).m_strKey != key) continue;
    if (i < kIntKeys) {
      IntField(ini, i) = AtoiSaturated(value.c_str());
    } else if (i == kFreeStageKey && value.size() >= 2 && value.size() <= 259) {
      SetFreeStage(ini, value);
    }
    return;
  }
}

}  // namespace

void SetSystemIniDefaults(SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys) {
  for (int i = 0; i < kIntKeys; ++i) IntField(ini, i) = CheckedAt(keys, i).m_nValue;
  SetFreeStage(ini, CheckedAt(keys, kFreeStageKey).m_strValue);
}

int ReadSystemIni(const char* path, SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadProgramFile(path, bytes)) return 0;
  cIniReader f(bytes);
  for (int line = 0; line < kMaxLines; ++line) {
    std::string key;
    bool hasValue = false;
    while (!hasValue) {
      // A last "Exit" line without its line break still ends the file properly.
      if (f.AtEnd()) return key == "Exit" ? 1 : 0;
      const char c = f.Next();
      if (c == '\t' || c == '\r' || c == ' ') continue;
      if (c == '\0') return 1;
      if (c == '\n') {
        if (key == "Exit") return 1;
        break;  // a line without "=" is passed over
      }
      if (c == '=') {
        hasValue = true;
      } else {
        Append(key, c);
      }
    }
    if (!hasValue) continue;
    std::string value;
    while (!f.AtEnd()) {
      const char c = f.Next();
      if (c == ' ' || c == '\t' || c == '/' || c == '\r' || c == '\n' || c == '\0') break;
      Append(value, c);
    }
    StoreValue(ini, keys, key, value);
  }
  return 1;
}

void LoadSystemIni(SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys) {
  SetSystemIniDefaults(ini, keys);
  if (ReadSystemIni("System.ini", ini, keys) == 0) {
    ReportErrorF("System.ini の読み込みに失敗しました！");
    SetSystemIniDefaults(ini, keys);
  }
}
