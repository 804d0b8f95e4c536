#include "tools/make-demo/demo_settings.h"

#include "tools/make-demo/demo_stage_names.h"

namespace demo {

namespace {

// Entries of the System.ini keys.
constexpr std::size_t kKeyDirect3D = 0;
constexpr std::size_t kKeyWindowMode = 1;
constexpr int kIniTextKey = 1;

// A new project's option list names five rows, the options screen six (the
// palette first, back to the title last): a project lists all six.
constexpr const char* kOptionTexts[] = {"パレット", "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる"};

}  // namespace

cSystemData DemoSettings() {
  cSystemData settings;  // the defaults of a new project
  settings.m_strTitle = "デモ・アドベンチャー";
  settings.m_nChallengeStages = kChallengeStageCount;
  // Direct3D without asking, in a window.
  settings.m_vIniKeys.at(kKeyDirect3D).m_nValue = 1;
  settings.m_vIniKeys.at(kKeyWindowMode).m_nValue = 1;
  settings.m_vOptionItems.clear();
  for (const char* text : kOptionTexts) {
    cEdMenuItem& item = settings.m_vOptionItems.emplace_back();
    item.m_strText = text;
  }
  return settings;
}

cOptionData DemoOptions() {
  cOptionData options;
  options.m_bBgm = 1;
  options.m_nVolume = kVolumeStepCount - 1;
  return options;
}

std::string SystemIniText(const cSystemData& settings) {
  std::string text;
  for (const cEdIniKey& key : settings.m_vIniKeys) {
    text += key.m_strKey + "=";
    text += key.m_nKind == kIniTextKey ? key.m_strValue : std::to_string(key.m_nValue);
    text += "\n";
  }
  return text + "Exit\n";
}

}  // namespace demo
