#include "shell/file_dialogs.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/format.h"
#include "base/paths.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/transcript.h"

namespace fs = std::filesystem;

namespace {

platform::FileRequest MakeRequest(bool save, const char* folder, const char* title, const char* filter) {
  platform::FileRequest request;
  request.save = save;
  request.title = title;
  request.filterName = filter;
  request.patterns = filter + std::strlen(filter) + 1;
  request.folder = platform::MapPath(folder);
  return request;
}

// The chooser's answer made absolute and written as a program path; false
// (after telling the user) when it has no program path.
bool ChosenPath(const platform::FileRequest& request, const fs::path& chosen, std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(chosen, error);
  if (!error && ToProgramPath(absolute.string(), path)) return true;
  std::string text;
  FormatString(text, "%s\nこのファイル名は使用できません。",
               platform::Utf8ToCp932(chosen.filename().string()).c_str());
  platform::MessageBoxA(text.c_str(), request.title.c_str(), platform::MB_OK | platform::MB_ICONEXCLAMATION);
  return false;
}

void NoteChoice(const platform::FileRequest& request, const std::string& path) {
  platform::TranscriptLine(std::string(request.save ? "save" : "open") + " [" +
                           platform::Cp932ToUtf8(request.title) + "] -> " +
                           (path.empty() ? "cancel" : platform::Cp932ToUtf8(path)));
}

bool HasExtension(const std::string& path) {
  std::string name = path;
  StripDirectory(name);
  return name.find('.') != std::string::npos;
}

}  // namespace

bool ToProgramPath(const std::string& native, std::string& path) {
  bool exact = false;
  std::string converted = platform::Utf8ToCp932(native, &exact);
  // A backslash inside a Linux name would split it in a program path.
  if (!exact || native.find('\\') != std::string::npos) return false;
  for (std::size_t i = 0; i < converted.size(); ++i) {
    if (platform::IsCp932LeadByte(static_cast<unsigned char>(converted[i])) && i + 1 < converted.size()) {
      ++i;
    } else if (converted[i] == '/') {
      converted[i] = '\\';
    }
  }
  path = std::move(converted);
  return true;
}

int OpenFileDialog(std::string& path, const char* folder, const char* title, const char* filter,
                   const char* /*defaultExtension: a chosen file exists, so it has its name*/) {
  path.clear();
  const platform::FileRequest request = MakeRequest(false, folder, title, filter);
  for (;;) {
    const auto chosen = platform::Dialogs().ChooseFile(request);
    if (!chosen) break;
    std::string candidate;
    if (!ChosenPath(request, *chosen, candidate)) continue;
    std::error_code error;
    if (!fs::is_regular_file(platform::MapPath(candidate), error)) {
      std::string text;
      FormatString(text, "%s\nファイルが見つかりません。", candidate.c_str());
      platform::MessageBoxA(text.c_str(), title, platform::MB_OK | platform::MB_ICONEXCLAMATION);
      continue;
    }
    path = std::move(candidate);
    break;
  }
  NoteChoice(request, path);
  return path.empty() ? 0 : 1;
}

int SaveFileDialog(std::string& path, const char* folder, const char* title, const char* filter,
                   const char* defaultExtension, int keepName) {
  if (!keepName) path.clear();
  platform::FileRequest request = MakeRequest(true, folder, title, filter);
  request.proposedName = path;
  StripDirectory(request.proposedName);
  std::string chosenPath;
  for (;;) {
    const auto chosen = platform::Dialogs().ChooseFile(request);
    if (!chosen) break;
    std::string candidate;
    if (!ChosenPath(request, *chosen, candidate)) continue;
    if (!HasExtension(candidate) && defaultExtension != nullptr && *defaultExtension != '\0')
      candidate += std::string(".") + defaultExtension;
    if (MakeRelativePath(candidate) == 0) continue;
    std::error_code error;
    if (fs::exists(platform::MapPath(candidate), error)) {
      std::string name = candidate;
      StripDirectory(name);
      std::string question;
      FormatString(question, "%s は既に存在します。\n上書きしますか？", name.c_str());
      if (platform::MessageBoxA(question.c_str(), title, platform::MB_YESNO | platform::MB_ICONEXCLAMATION) !=
          platform::IDYES) {
        request.proposedName = name;
        continue;
      }
    }
    chosenPath = std::move(candidate);
    break;
  }
  NoteChoice(request, chosenPath);
  if (chosenPath.empty()) return 0;
  path = std::move(chosenPath);
  return 1;
}
