#include "model/settings/paths.h"

#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/message_box.h"

const char* const g_astrFilePath[PATH_COUNT] = {
    "data\\",
    "default\\",
    "data\\stg4\\old_ver\\",
    "data\\work\\",
    "e_data\\EditConfig.dat",
    "data\\PrjOption.dat",
    "default\\PrjOption.dat",
    "data\\CommonPalette.cplt4",
    "default\\CommonPalette.cplt4",
    "data\\GValInfo.dat",
    "default\\GValInfo.dat",
    "data\\stg4\\Default.stg4_***",
    "default\\stg4\\Default.stg4_***",
    "data\\WorldMap.dat",
    "default\\WorldMap.dat",
    "data\\database\\AnimeSet.dat",
    "default\\database\\AnimeSet.dat",
    "data\\database\\Anime.dat",
    "default\\database\\Anime.dat",
    "data\\database\\Bmp_CharaExc.dat",
    "default\\database\\Bmp_CharaExc.dat",
    "data\\database\\SwordType.dat",
    "default\\database\\SwordType.dat",
    "data\\database\\Effect.dat",
    "default\\database\\Effect.dat",
    "data\\database\\CharaEffect.dat",
    "default\\database\\CharaEffect.dat",
    "data\\database\\ScrEffect.dat",
    "default\\database\\ScrEffect.dat",
    "data\\database\\Picture.dat",
    "default\\database\\Picture.dat",
    "data\\database\\Sound.dat",
    "default\\database\\Sound.dat",
    "data\\database\\Bgm.dat",
    "default\\database\\Bgm.dat",
    "data\\System.dat",
    "default\\System.dat",
    "data\\stg4\\c",
    "user_data\\story\\",
    "user_data\\challenge\\",
    "user_data\\free\\",
    "user_data\\story\\Story",
    "user_data\\challenge\\Challenge.dat",
    "user_data\\Option.dat",
    "user_data\\",
    "user_data\\KeyConfig.dat",
    "user_data\\Boot.dat",
};

const char* const g_astrFileExt[EXT_COUNT] = {"cplt4", "stg4", "plt4", "rkg"};

const char* const g_aszProjectFolders[PROJECT_FOLDER_COUNT + 1] = {
    "user_data",      "user_data\\story", "user_data\\challenge", "user_data\\free",
    "user_data\\rpl4", "data",            "data\\database",       "data\\stg4",
    "data\\stg4\\old_ver", "data\\work",  "data\\plt4",           "bmp",
    "bmp\\back",      "bmp\\chara_sp",    "bmp\\effect",          "bmp\\picture",
    "bmp\\sword",     "bmp\\convert",     "bmp\\plt",             "bmp\\hbt",
    "wave",           "bgm",              nullptr,
};

namespace fs = std::filesystem;

int CheckDataFolder() {
  if (platform::IsFolder(g_astrFilePath[PATH_DATA_DIR])) return 1;
  std::error_code error;
  const fs::path data = platform::MapPath(g_astrFilePath[PATH_DATA_DIR]);
  const fs::path source = platform::MapPath(g_astrFilePath[PATH_DEFAULT_DIR]);
  if (!fs::is_directory(source, error)) return 0;

  if (platform::MessageBoxA("データが存在しません！デフォルトデータを作成しますか？\n",
                            "デフォルトデータ作成の確認", platform::MB_YESNO) != platform::IDYES) {
    return 0;
  }

  // A "data" that is something other than a folder is never copied over nor
  // removed: the copy fails on it and it stays as it was.
  const bool existed = fs::exists(fs::symlink_status(data, error));
  error.clear();
  // Links inside default\ are copied as links, so that one can neither lead
  // the copy out of the folder nor around in a circle; default\ itself may
  // be a link, and then the folder it names is copied.
  const fs::path from = fs::canonical(source, error);
  if (!error)
    fs::copy(from, data, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
  if (!error && fs::is_directory(data, error)) return 1;
  if (!existed) {
    std::error_code ignored;
    fs::remove_all(data, ignored);
  }
  return 0;
}

void CreateProjectFolders() {
  for (const char* const* folder = g_aszProjectFolders; *folder != nullptr; ++folder) {
    // Whether it failed does not matter: the folder exists, or is passed over.
    platform::MakeFolder(*folder);
  }
}
