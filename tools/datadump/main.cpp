// datadump FILE: prints a data file of a project or of the user folder as
// JSON on standard output, with the member names of the records, texts in
// UTF-8 and each integer with the signedness of its member.
//
// The kind of file comes from its name. When the file lies inside a project
// folder (a folder that holds data\), the shared records that loading and
// validation read (database, settings, common palette) are loaded from that
// project first; those that are missing or damaged keep their defaults, and a
// note on standard error says so. Standard error also receives the file's
// data version (with a warning when it is newer than this player's), the
// report lines and error boxes of loading, and every error.
//
// Exit status: 0 printed, 1 the file cannot be read or is damaged, 2 usage
// error (including a file name of no kind the tool knows).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/report.h"
#include "file_kinds.h"
#include "model/database/database.h"
#include "model/database/database_file.h"
#include "model/record/record.h"
#include "model/settings/paths.h"
#include "model/settings/system_data.h"
#include "model/stage/common_palette.h"
#include "model/stage/palette_scope.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

// Far above any project or user file; a larger file is refused unread.
constexpr std::size_t kMaxFileBytes = 64 << 20;

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: datadump FILE\n"
               "Prints a data file of a project or of its user_data folder as JSON.\n"
               "The kind of file comes from its name (any letter case):\n");
  for (const cFileKind& kind : FileKinds()) std::fprintf(out, "  %-20s %s\n", kind.fileName, kind.description);
}

// The nearest folder above path that holds a data folder.
fs::path FindProjectRoot(const fs::path& path) {
  std::error_code ignored;
  for (fs::path folder = path.parent_path(); !folder.empty(); folder = folder.parent_path()) {
    if (fs::is_directory(folder / "data", ignored)) return folder;
    if (folder == folder.parent_path()) break;
  }
  return {};
}

// Notes a shared file that could not be loaded; the current folder is the
// project root.
void NoteDefaults(bool loaded, int pathIndex) {
  if (loaded) return;
  std::error_code ignored;
  const char* state = fs::exists(platform::MapPath(g_astrFilePath[pathIndex]), ignored) ? "damaged" : "missing";
  std::fprintf(stderr, "datadump: note: %s is %s: its defaults stand in\n",
               platform::MapPath(g_astrFilePath[pathIndex]).c_str(), state);
}

template <class T>
void LoadShared(std::vector<T>& list, int pathIndex) {
  NoteDefaults(LoadDatabaseFile(list, g_astrFilePath[pathIndex]) != 0, pathIndex);
}

// Loads what the project has of the shared records.
void LoadSharedRecords() {
  cDatabase& db = g_Database;
  LoadShared(db.m_vAnimeSet, PATH_DB_ANIME_SET);
  LoadShared(db.m_vAnime, PATH_DB_ANIME);
  LoadShared(db.m_vBmpCharaExc, PATH_DB_BMP_CHARA_EXC);
  LoadShared(db.m_vSwordType, PATH_DB_SWORD_TYPE);
  LoadShared(db.m_vEffect, PATH_DB_EFFECT);
  LoadShared(db.m_vCharaEffect, PATH_DB_CHARA_EFFECT);
  LoadShared(db.m_vScrEffect, PATH_DB_SCR_EFFECT);
  LoadShared(db.m_vPicture, PATH_DB_PICTURE);
  LoadShared(db.m_vSound, PATH_DB_SOUND);
  LoadShared(db.m_vBgm, PATH_DB_BGM);
  NoteDefaults(g_SystemData.LoadFile(g_astrFilePath[PATH_SYSTEM]) != 0, PATH_SYSTEM);
  NoteDefaults(g_CommonPalette.LoadFile(g_astrFilePath[PATH_COMMON_PALETTE]) != 0, PATH_COMMON_PALETTE);
}

void PrintVersion(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 4) return;  // the loader says what is wrong
  std::uint32_t version = 0;
  std::memcpy(&version, bytes.data(), 4);
  std::fprintf(stderr, "datadump: data version %u\n", version);
  if (version > DATA_VERSION) {
    std::fprintf(stderr,
                 "datadump: warning: data version %u is newer than this player's %u; "
                 "it is read as version %u\n",
                 version, DATA_VERSION, DATA_VERSION);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    PrintUsage(stdout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
    if (argc == 2 && argv[1][0] == '-') std::fprintf(stderr, "datadump: unknown option %s\n", argv[1]);
    PrintUsage(stderr);
    return 2;
  }
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  ReportToStandardError();

  std::error_code error;
  const fs::path file = fs::absolute(argv[1], error);
  const cFileKind* kind = FindFileKind(file.filename().string());
  if (kind == nullptr) {
    std::fprintf(stderr, "datadump: %s: not a data file this tool knows by its name\n", argv[1]);
    PrintUsage(stderr);
    return 2;
  }
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (!platform::ReadWholeFile(file, kMaxFileBytes, bytes, reason)) {
    std::fprintf(stderr, "datadump: %s: cannot be read: %s\n", argv[1], reason.c_str());
    return 1;
  }
  PrintVersion(bytes);

  // Palette references resolve against the common palette and the stage
  // being read, as during play.
  const cPaletteScope palettes(nullptr, nullptr);
  const fs::path root = FindProjectRoot(file);
  if (root.empty()) {
    std::fprintf(stderr,
                 "datadump: note: %s lies in no project folder (none above it holds data/): "
                 "the database, settings and common palette are defaults\n",
                 argv[1]);
  } else {
    fs::current_path(root, error);
    if (!error) LoadSharedRecords();
  }

  std::string json;
  reason.clear();
  if (!kind->Dump(file.string(), bytes, json, reason)) {
    std::fprintf(stderr, "datadump: %s: damaged %s file: %s\n", argv[1], kind->description, reason.c_str());
    return 1;
  }
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}
