#include "file_kinds.h"

#include <algorithm>
#include <memory>
#include <regex>

#include "model/stage/common_palette.h"
#include "model/database/database.h"
#include "model/database/database_file.h"
#include "model/user/options.h"
#include "model/user/ranking.h"
#include "model/record/record_json.h"
#include "model/user/replay.h"
#include "model/user/save_data.h"
#include "model/stage/stage.h"
#include "model/settings/system_data.h"
#include "model/stage/world_map.h"

namespace {

template <class T>
bool DumpRecord(const std::string&, const std::vector<std::uint8_t>& bytes, std::string& json, std::string& error) {
  auto record = std::make_unique<T>();
  if (!record->LoadBytes(bytes, &error)) return false;
  json = RecordToJson(*record);
  return true;
}

// A database file is a bare list of records.
template <class T>
bool DumpDatabaseList(const std::string&, const std::vector<std::uint8_t>& bytes, std::string& json, std::string& error) {
  std::vector<T> list;
  if (!LoadDatabaseBytes(list, bytes, &error)) return false;
  json = "[\n";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i != 0) json += ",\n";
    json += RecordToJson(list[i]);
    json.pop_back();  // the element's own line end
  }
  json += "\n]\n";
  return true;
}

template <const char* Name>
bool Is(const std::string& name) {
  return name == Name;
}

bool IsRankingFile(const std::string& name) {
  return name.size() > 4 && name.ends_with("rkg");
}

// A replay file holds its stage as it started (the start state's settings
// with the palettes and placed objects), the input log and the progress at
// the start of the play.
bool DumpReplay(const std::string& path, const std::vector<std::uint8_t>&, std::string& json,
                std::string& error) {
  auto log = std::make_unique<cReplayLog>();
  auto stage = std::make_unique<cEdStage>();
  auto start = std::make_unique<cEdStage>();
  auto progress = std::make_unique<cSaveData>();
  if (!log->LoadReplay(path.c_str(), *stage, *start, *progress)) {
    error = "not a readable replay (the reason is reported above)";
    return false;
  }
  json = "{\n\"stage\": " + RecordToJson(*stage) + ",\n\"log\": " + RecordToJson(*log) +
         ",\n\"progress\": " + RecordToJson(*progress) + "}\n";
  return true;
}

bool IsReplayFile(const std::string& name) {
  static const std::regex pattern(R"(.*\.rpl4_[0-9]+)");
  return std::regex_match(name, pattern);
}

bool IsStorySave(const std::string& name) {
  static const std::regex pattern(R"(story[0-9]{2}\.dat)");
  return std::regex_match(name, pattern);
}

// Stage files end in "stg4_" and three digits.
bool IsStageFile(const std::string& name) {
  static const std::regex pattern(R"(.*\.stg4_[0-9]{3})");
  return std::regex_match(name, pattern);
}

constexpr char kSystem[] = "system.dat";
constexpr char kOption[] = "option.dat";
constexpr char kBoot[] = "boot.dat";
constexpr char kWorldMap[] = "worldmap.dat";
constexpr char kCommonPalette[] = "commonpalette.cplt4";
constexpr char kAnimeSet[] = "animeset.dat";
constexpr char kAnime[] = "anime.dat";
constexpr char kCharaImage[] = "bmp_charaexc.dat";
constexpr char kSwordType[] = "swordtype.dat";
constexpr char kEffect[] = "effect.dat";
constexpr char kCharaEffect[] = "charaeffect.dat";
constexpr char kScrEffect[] = "screffect.dat";
constexpr char kPicture[] = "picture.dat";
constexpr char kSound[] = "sound.dat";
constexpr char kBgm[] = "bgm.dat";
constexpr char kChallenge[] = "challenge.dat";

const cFileKind g_aFileKinds[] = {
    {"settings", "System.dat", Is<kSystem>, DumpRecord<cSystemData>},
    {"options", "Option.dat", Is<kOption>, DumpRecord<cOptionData>},
    {"launcher choice", "Boot.dat", Is<kBoot>, DumpRecord<cBootData>},
    {"world map", "WorldMap.dat", Is<kWorldMap>, DumpRecord<cEdWorldMap>},
    {"common palette", "CommonPalette.cplt4", Is<kCommonPalette>, DumpRecord<cEdCommonPalette>},
    {"stage", "*.stg4_NNN", IsStageFile, DumpRecord<cEdStage>},
    {"animation sets", "AnimeSet.dat", Is<kAnimeSet>, DumpDatabaseList<cEdAnimeSet>},
    {"animations", "Anime.dat", Is<kAnime>, DumpDatabaseList<cEdAnime>},
    {"character images", "Bmp_CharaExc.dat", Is<kCharaImage>, DumpDatabaseList<cEdBmpCharaExc>},
    {"sword types", "SwordType.dat", Is<kSwordType>, DumpDatabaseList<cEdSwordType>},
    {"effects", "Effect.dat", Is<kEffect>, DumpDatabaseList<cEdEffect>},
    {"character effects", "CharaEffect.dat", Is<kCharaEffect>, DumpDatabaseList<cEdCharaEffect>},
    {"screen effects", "ScrEffect.dat", Is<kScrEffect>, DumpDatabaseList<cEdScrEffect>},
    {"pictures", "Picture.dat", Is<kPicture>, DumpDatabaseList<cEdPicture>},
    {"sounds", "Sound.dat", Is<kSound>, DumpDatabaseList<cEdSound>},
    {"music", "Bgm.dat", Is<kBgm>, DumpDatabaseList<cEdBgm>},
    {"ranking", "*rkg", IsRankingFile, DumpRecord<cRankingSet>},
    {"story save", "StoryNN.dat", IsStorySave, DumpRecord<cSaveData>},
    {"challenge progress", "Challenge.dat", Is<kChallenge>, DumpRecord<cSaveData>},
    {"replay", "*.rpl4_N", IsReplayFile, DumpReplay},
};

}  // namespace

std::span<const cFileKind> FileKinds() { return g_aFileKinds; }

const cFileKind* FindFileKind(const std::string& fileName) {
  std::string name = fileName;
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  for (const cFileKind& kind : g_aFileKinds) {
    if (kind.Matches(name)) return &kind;
  }
  return nullptr;
}
