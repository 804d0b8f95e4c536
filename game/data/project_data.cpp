#include "game/data/project_data.h"

#include <optional>

#include "base/format.h"
#include "base/report.h"
#include "game/data/database_tables.h"
#include "model/database/database.h"
#include "model/record/record.h"
#include "model/settings/paths.h"
#include "model/settings/project_context.h"
#include "model/settings/system_data.h"
#include "model/stage/common_palette.h"
#include "model/stage/palette_scope.h"
#include "model/stage/world_map.h"
#include "model/user/options.h"

namespace {

bool Fail(std::string& error, std::string text) {
  ReportErrorF("%s", text.c_str());
  error = std::move(text);
  return false;
}

// The project's context, installed once and kept for the run.
void InstallProjectContext() {
  static const cProjectContext s_Context;
  static std::optional<cPaletteScope> s_OutermostScope;
  if (s_OutermostScope) return;
  SetDefinitionContext(&s_Context);
  s_OutermostScope.emplace(nullptr, nullptr);
}

// The failure text of a file that could not be read, with its path.
std::string ReadFailure(int nPath) {
  std::string text;
  FormatString(text, "%s の読み込みに失敗…", g_astrFilePath[nPath]);
  return text;
}

std::string LoadFailure(int nPath) {
  std::string text;
  FormatString(text, "%s のロードに失敗！", g_astrFilePath[nPath]);
  return text;
}

}  // namespace

bool LoadProjectData(std::string& error) {
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;

  if (CheckDataFolder() == 0) {
    return Fail(error, "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。");
  }
  CreateProjectFolders();

  if (g_Database.LoadAll() == 0) return Fail(error, "データベースの読み込みに失敗…");
  BuildDatabaseTables();
  InstallProjectContext();

  if (g_SystemData.LoadFile(g_astrFilePath[PATH_SYSTEM]) == 0) return Fail(error, ReadFailure(PATH_SYSTEM));
  g_OptionData.LoadFile(g_astrFilePath[PATH_OPTION]);  // the defaults stay when it is missing
  if (g_WorldMap.LoadFile(g_astrFilePath[PATH_WORLD_MAP]) == 0) return Fail(error, LoadFailure(PATH_WORLD_MAP));
  if (g_CommonPalette.LoadFile(g_astrFilePath[PATH_COMMON_PALETTE]) == 0) {
    return Fail(error, LoadFailure(PATH_COMMON_PALETTE));
  }
  return true;
}
