// Where the project's and the user's files lie.
//
// Every project and user file is named through g_astrFilePath, relative to
// the current folder (the project folder), with '\' separators; entries that
// the player never opens keep their place because indexes are fixed (the
// ranking folders of play modes 0, 1 and 2 are PATH_STORY_DIR + mode).
// g_astrFileExt holds the extensions the player builds names with.
// g_aszProjectFolders lists the folders start-up creates, parents first,
// ended by nullptr. All three tables are constant from program start.
//
// CheckDataFolder makes sure that data\ exists before anything is read: when
// it is missing and default\ exists, it asks whether to create it as a copy
// of default\. A copy that fails removes the folder it created and leaves
// default\ and anything that existed before untouched.
#pragma once

enum eFilePath {
  PATH_DATA_DIR,
  PATH_DEFAULT_DIR,
  PATH_OLD_STAGE_DIR,
  PATH_WORK_DIR,
  PATH_EDIT_CONFIG,
  PATH_PRJ_OPTION,
  PATH_PRJ_OPTION_DEF,
  PATH_COMMON_PALETTE,
  PATH_COMMON_PALETTE_DEF,
  PATH_GVAL_INFO,
  PATH_GVAL_INFO_DEF,
  PATH_DEFAULT_STAGE,
  PATH_DEFAULT_STAGE_DEF,
  PATH_WORLD_MAP,
  PATH_WORLD_MAP_DEF,
  PATH_DB_ANIME_SET,
  PATH_DB_ANIME_SET_DEF,
  PATH_DB_ANIME,
  PATH_DB_ANIME_DEF,
  PATH_DB_BMP_CHARA_EXC,
  PATH_DB_BMP_CHARA_EXC_DEF,
  PATH_DB_SWORD_TYPE,
  PATH_DB_SWORD_TYPE_DEF,
  PATH_DB_EFFECT,
  PATH_DB_EFFECT_DEF,
  PATH_DB_CHARA_EFFECT,
  PATH_DB_CHARA_EFFECT_DEF,
  PATH_DB_SCR_EFFECT,
  PATH_DB_SCR_EFFECT_DEF,
  PATH_DB_PICTURE,
  PATH_DB_PICTURE_DEF,
  PATH_DB_SOUND,
  PATH_DB_SOUND_DEF,
  PATH_DB_BGM,
  PATH_DB_BGM_DEF,
  PATH_SYSTEM,
  PATH_SYSTEM_DEF,
  PATH_CHALLENGE_STAGE_PREFIX,
  PATH_STORY_DIR,
  PATH_CHALLENGE_DIR,
  PATH_FREE_DIR,
  PATH_STORY_FILE,
  PATH_CHALLENGE_FILE,
  PATH_OPTION,
  PATH_USER_DIR,
  PATH_KEY_CONFIG,
  PATH_BOOT,
  PATH_COUNT
};

enum eFileExt { EXT_CPLT4, EXT_STG4, EXT_PLT4, EXT_RKG, EXT_COUNT };

constexpr int PROJECT_FOLDER_COUNT = 22;

extern const char* const g_astrFilePath[PATH_COUNT];
extern const char* const g_astrFileExt[EXT_COUNT];
extern const char* const g_aszProjectFolders[PROJECT_FOLDER_COUNT + 1];

// 1 when data\ exists when it returns, 0 otherwise.
int CheckDataFolder();

// Creates the folders of g_aszProjectFolders in order; a folder that exists
// or cannot be created is passed over.
void CreateProjectFolders();
