// The database: the definitions every stage of a project shares, one list
// per file of data\database\.
//
// Start-up loads the ten files once, in a fixed order, into g_Database
// (LoadAll) and makes the reversed copies of the two effect lists; the game
// derives its frame tables and effect run templates from the lists
// (game/database_tables.h). Afterwards the lists are only read.
//
// Entry 0 of the lists of animations, character images, effects, character
// effects, screen effects, pictures, sounds and music is the "none" entry;
// entry 0 of the animation sets and sword types is an ordinary entry. Every
// list holds at least its entry 0, and entry 0 of both effect lists has kind
// 0 (no effect) after loading.
#pragma once

#include <vector>

#include "model/database/anime.h"
#include "model/database/chara_image.h"
#include "model/database/chara_scr_effect.h"
#include "model/database/effect.h"
#include "model/database/media.h"
#include "model/database/sword.h"

enum class eDatabaseFolder { Data, Default };

class cDatabase {
 public:
  // The default content of every list.
  cDatabase();
  void SetDefaults();

  // Reads the ten files in order. At the first file that cannot be read
  // whole, shows "<path> のロードに失敗！" and returns 0: the lists read
  // before it keep their new content, that list and the later ones keep
  // what they held. 1 when all were read.
  int LoadAll();
  // Writes the ten files into data\database\ or default\database\, creating
  // the folder when needed; 0 at the first file that could not be written.
  int SaveAll(eDatabaseFolder folder = eDatabaseFolder::Data);

  // Kind 0 for entry 0 of the character and screen effects.
  void FixFirstEntries();
  // m_vCharaEffectRev and m_vScrEffectRev become copies of the two lists.
  void MakeReversedCopies();

  std::vector<cEdAnimeSet> m_vAnimeSet;
  std::vector<cEdAnime> m_vAnime;
  std::vector<cEdBmpCharaExc> m_vBmpCharaExc;
  std::vector<cEdSwordType> m_vSwordType;
  std::vector<cEdEffect> m_vEffect;
  std::vector<cEdCharaEffect> m_vCharaEffect;
  std::vector<cEdScrEffect> m_vScrEffect;
  std::vector<cEdPicture> m_vPicture;
  std::vector<cEdSound> m_vSound;
  std::vector<cEdBgm> m_vBgm;
  // Copies of the effect lists whose start and end values the game's
  // reversed run templates exchange.
  std::vector<cEdCharaEffect> m_vCharaEffectRev;
  std::vector<cEdScrEffect> m_vScrEffectRev;
};

extern cDatabase g_Database;
