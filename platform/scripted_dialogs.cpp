#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/text.h"

namespace platform {

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Join(const std::vector<std::string>& words, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < words.size(); ++i) text += (i > from ? " " : "") + words[i];
  return text;
}

// The code points of a UTF-8 text, each as its own UTF-8 string.
std::vector<std::string> Characters(const std::string& utf8) {
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 1;
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    if (b >= 0xF0) length = 4;
    else if (b >= 0xE0) length = 3;
    else if (b >= 0xC0) length = 2;
    characters.push_back(utf8.substr(i, length));
    i += length;
  }
  return characters;
}

const DialogItem* FindByScriptKey(const DialogTemplate& dialog, std::string_view key) {
  for (const DialogItem& item : dialog.items)
    if (item.scriptKey != nullptr && key == item.scriptKey) return &item;
  return nullptr;
}

bool IsPushButton(const DialogItem& item) {
  return item.kind == DialogItemKind::PushButton || item.kind == DialogItemKind::DefaultPushButton;
}

}  // namespace

ScriptedDialogs::ScriptedDialogs(std::string_view script) {
  std::istringstream in{std::string(script)};
  for (std::string line; std::getline(in, line);) {
    if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::vector<std::string> words = Words(line);
    if (!words.empty()) m_Answers.push_back(std::move(words));
  }
}

ScriptedDialogs ScriptedDialogs::FromEnvironment() {
  const char* path = std::getenv("PLAYER_DIALOG_SCRIPT");
  if (path == nullptr || *path == '\0') return ScriptedDialogs();
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    std::fprintf(stderr, "PLAYER_DIALOG_SCRIPT: cannot read %s\n", path);
    return ScriptedDialogs();
  }
  return ScriptedDialogs(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::size_t ScriptedDialogs::PendingAnswers() const {
  std::lock_guard lock(m_Mutex);
  return m_Answers.size() - m_nNext;
}

std::optional<std::vector<std::string>> ScriptedDialogs::Take(std::string_view kind) {
  std::lock_guard lock(m_Mutex);
  if (m_nNext >= m_Answers.size() || m_Answers[m_nNext][0] != kind) return std::nullopt;
  return m_Answers[m_nNext++];
}

int ScriptedDialogs::RunDialog(DialogRequest& request) {
  const DialogTemplate& dialog = *request.dialog;
  const auto answer = Take(dialog.scriptName);
  if (!answer || (answer->size() >= 2 && (*answer)[1] == "close")) return 0;
  const std::vector<std::string>& words = *answer;

  // A named button, with items set first ("renderer=0", "hide=1").
  const DialogItem* button = words.size() >= 2 ? FindByScriptKey(dialog, words[1]) : nullptr;
  if (button != nullptr && IsPushButton(*button)) {
    for (std::size_t i = 2; i < words.size(); ++i) {
      const std::size_t equals = words[i].find('=');
      const std::string key = words[i].substr(0, equals);
      for (const DialogItem& item : dialog.items) {
        if (item.scriptKey == nullptr) continue;
        if (item.kind == DialogItemKind::RadioButton &&
            std::string_view(item.scriptKey).starts_with(key + "="))
          request.items.checks[item.id] = words[i] == item.scriptKey ? 1 : 0;
        else if (item.kind == DialogItemKind::CheckBox && key == item.scriptKey)
          request.items.checks[item.id] = equals != std::string::npos && words[i].substr(equals + 1) != "0";
      }
    }
    return button->id;
  }

  // Otherwise the text typed into the first edit, one character at a time
  // (it replaces the selected text), then the default button.
  int pressed = 0;
  for (const DialogItem& item : dialog.items) {
    if (item.kind == DialogItemKind::DefaultPushButton) pressed = item.id;
    if (item.kind != DialogItemKind::Edit) continue;
    std::string text;
    for (const std::string& character : Characters(Join(words, 1))) {
      bool exact = false;
      const std::string typed = text + Utf8ToCp932(character, &exact);
      if (!exact) continue;  // no CP932 form: refused
      std::string changed = typed;
      if (request.onEditChange) request.onEditChange(item.id, changed);
      text = changed;
    }
    request.items.texts[item.id] = text;
  }
  return pressed;
}

std::optional<std::filesystem::path> ScriptedDialogs::ChooseFile(const FileRequest& request) {
  const auto answer = Take(request.save ? "save" : "open");
  if (!answer || answer->size() < 2 || Join(*answer, 1) == "cancel") return std::nullopt;
  return std::filesystem::path(Join(*answer, 1));
}

int ScriptedDialogs::Show(const std::string& text, const std::string& caption, unsigned type) {
  int result = SafeAnswer(type);
  if (const auto answer = Take("message"); answer && answer->size() >= 2) {
    const std::string& word = (*answer)[1];
    if (word == "ok") result = IDOK;
    else if (word == "yes") result = IDYES;
    else if (word == "no") result = IDNO;
    else if (word == "cancel") result = IDCANCEL;
  }
  WriteUnshownBox(text, caption);
  return result;
}

}  // namespace platform
