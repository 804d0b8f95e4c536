#include "shell/project_folder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/report.h"
#include "model/settings/paths.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

namespace fs = std::filesystem;

bool IsFile(const char* projectPath) {
  std::error_code error;
  return fs::is_regular_file(platform::MapPath(projectPath), error);
}

// The current folder's path, as the system gives it (UTF-8).
std::string CurrentFolder() {
  std::error_code error;
  const fs::path folder = fs::current_path(error);
  return error ? std::string(".") : folder.string();
}

}  // namespace

bool CheckProjectFolder() {
  if (IsFile(g_astrFilePath[PATH_SYSTEM])) return true;
  std::error_code error;
  const bool hasData = fs::exists(platform::MapPath(g_astrFilePath[PATH_DATA_DIR]), error);
  if (!hasData && IsFile(g_astrFilePath[PATH_SYSTEM_DEF])) return true;
  const std::string folder = CurrentFolder();
  std::fprintf(stderr, "player: %s is not a project folder: data/System.dat is missing\n", folder.c_str());
  ErrorBoxF("プロジェクトのフォルダではありません！\n%s\ndata\\System.dat がありません。",
            platform::Utf8ToCp932(folder).c_str());
  return false;
}

void TellProjectFolderReadOnly() {
  const std::string folder = CurrentFolder();
  std::fprintf(stderr, "player: the project folder %s cannot be written (Report_Game.txt cannot be created there)\n",
               folder.c_str());
  ErrorBoxF("プロジェクトのフォルダに書き込めません！\n%s\n"
            "レポート、オプション、セーブとランキングを書き込むには、このフォルダへの書き込みの許可が必要です。",
            platform::Utf8ToCp932(folder).c_str());
}
