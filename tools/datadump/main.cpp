// datadump FILE: prints a data file of a project or of the user folder as
// JSON, with the member names of the records and texts in UTF-8.
//
// The kind of file comes from its name. When the file lies inside a project
// folder (a folder that holds data\), the shared records that loading and
// validation read (database, settings, common palette) are loaded from that project first
// where they exist; missing ones keep their defaults.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "file_kinds.h"
#include "model/stage/common_palette.h"
#include "model/database/database.h"
#include "model/database/database_file.h"
#include "model/stage/palette_scope.h"
#include "model/settings/paths.h"
#include "model/record/record.h"
#include "model/settings/system_data.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

// The nearest folder above path that holds a data folder.
fs::path FindProjectRoot(const fs::path& path) {
  std::error_code ignored;
  for (fs::path folder = path.parent_path(); !folder.empty(); folder = folder.parent_path()) {
    if (fs::is_directory(folder / "data", ignored)) return folder;
    if (folder == folder.parent_path()) break;
  }
  return {};
}

template <class T>
void LoadIfPresent(std::vector<T>& list, int pathIndex) {
  LoadDatabaseFile(list, g_astrFilePath[pathIndex]);
}

// Loads what the project has of the shared records; the current folder is
// the project root.
void LoadSharedRecords() {
  cDatabase& db = g_Database;
  LoadIfPresent(db.m_vAnimeSet, PATH_DB_ANIME_SET);
  LoadIfPresent(db.m_vAnime, PATH_DB_ANIME);
  LoadIfPresent(db.m_vBmpCharaExc, PATH_DB_BMP_CHARA_EXC);
  LoadIfPresent(db.m_vSwordType, PATH_DB_SWORD_TYPE);
  LoadIfPresent(db.m_vEffect, PATH_DB_EFFECT);
  LoadIfPresent(db.m_vCharaEffect, PATH_DB_CHARA_EFFECT);
  LoadIfPresent(db.m_vScrEffect, PATH_DB_SCR_EFFECT);
  LoadIfPresent(db.m_vPicture, PATH_DB_PICTURE);
  LoadIfPresent(db.m_vSound, PATH_DB_SOUND);
  LoadIfPresent(db.m_vBgm, PATH_DB_BGM);
  g_SystemData.LoadFile(g_astrFilePath[PATH_SYSTEM]);
  g_CommonPalette.LoadFile(g_astrFilePath[PATH_COMMON_PALETTE]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: datadump FILE\n");
    return 2;
  }
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;

  std::error_code error;
  const fs::path file = fs::absolute(argv[1], error);
  const cFileKind* kind = FindFileKind(file.filename().string());
  if (kind == nullptr) {
    std::fprintf(stderr, "%s: not a data file this tool knows (by its name)\n", argv[1]);
    return 1;
  }
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(file, bytes)) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }

  // Palette references resolve against the common palette and the stage
  // being read, as during play.
  const cPaletteScope palettes(nullptr, nullptr);
  const fs::path root = FindProjectRoot(file);
  if (!root.empty()) {
    fs::current_path(root, error);
    if (!error) LoadSharedRecords();
  }

  std::string json, reason;
  if (!kind->Dump(file.string(), bytes, json, reason)) {
    std::fprintf(stderr, "%s: damaged %s file: %s\n", argv[1], kind->description, reason.c_str());
    return 1;
  }
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}
