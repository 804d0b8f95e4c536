#include "model/database/database.h"

#include <filesystem>
#include <system_error>

#include "base/checked_access.h"
#include "model/database/database_file.h"
#include "model/settings/paths.h"

cDatabase g_Database;

namespace {

// Calls visit(list, path index of its data\ file) for the ten files in the
// order they are read.
template <class Visit>
bool ForEachFile(cDatabase& db, Visit visit) {
  return visit(db.m_vAnimeSet, PATH_DB_ANIME_SET) && visit(db.m_vAnime, PATH_DB_ANIME) &&
         visit(db.m_vBmpCharaExc, PATH_DB_BMP_CHARA_EXC) &&
         visit(db.m_vSwordType, PATH_DB_SWORD_TYPE) && visit(db.m_vEffect, PATH_DB_EFFECT) &&
         visit(db.m_vCharaEffect, PATH_DB_CHARA_EFFECT) &&
         visit(db.m_vScrEffect, PATH_DB_SCR_EFFECT) && visit(db.m_vPicture, PATH_DB_PICTURE) &&
         visit(db.m_vSound, PATH_DB_SOUND) && visit(db.m_vBgm, PATH_DB_BGM);
}

}  // namespace

cDatabase::cDatabase() { SetDefaults(); }

void cDatabase::SetDefaults() {
  m_vAnimeSet.assign(1, cEdAnimeSet());
  m_vAnime.assign(2, cEdAnime());
  m_vAnime[0].m_strName = "なし";
  m_vAnime[1].m_strName = "アクションA";
  m_vBmpCharaExc.assign(2, cEdBmpCharaExc());
  m_vSwordType.assign(1, cEdSwordType());
  m_vEffect.assign(2, cEdEffect());
  m_vCharaEffect.assign(2, cEdCharaEffect());
  m_vScrEffect.assign(2, cEdScrEffect());
  m_vPicture.assign(2, cEdPicture());
  m_vSound.assign(2, cEdSound());
  m_vBgm.assign(2, cEdBgm());
}

int cDatabase::LoadAll() {
  const bool loaded = ForEachFile(*this, [](auto& list, int path) {
    if (LoadDatabaseFile(list, g_astrFilePath[path])) return true;
    ErrorBoxF("%s のロードに失敗！", g_astrFilePath[path]);
    return false;
  });
  if (!loaded) return 0;
  FixFirstEntries();
  return 1;
}

int cDatabase::SaveAll(eDatabaseFolder folder) {
  // Each default\ path follows its data\ path in the path table.
  const int offset = folder == eDatabaseFolder::Default ? 1 : 0;
  std::error_code ignored;
  std::filesystem::create_directories(
      platform::MapPath(g_astrFilePath[PATH_DB_ANIME_SET + offset]).parent_path(), ignored);
  return ForEachFile(*this, [offset](auto& list, int path) {
           return SaveDatabaseFile(list, g_astrFilePath[path + offset]) != 0;
         })
             ? 1
             : 0;
}

void cDatabase::FixFirstEntries() {
  CheckedAt(m_vCharaEffect, 0).m_nKind = CHARA_EFFECT_NONE;
  CheckedAt(m_vScrEffect, 0).m_nKind = SCR_EFFECT_NONE;
}

void cDatabase::MakeReversedCopies() {
  m_vCharaEffectRev = m_vCharaEffect;
  m_vScrEffectRev = m_vScrEffect;
}
