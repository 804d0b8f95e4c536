// Feeds arbitrary bytes to the database file readers: the first byte picks
// one of the ten files, the rest is its image. A file that loads is put into
// the database, the game's tables are derived from it, and every animation,
// effect and effect run is stepped a while.
#include <cstdint>
#include <vector>

#include "game/data/database_tables.h"
#include "game/effects/effect_run.h"
#include "model/database/database.h"
#include "model/database/database_file.h"

namespace {

template <class T>
void LoadInto(std::vector<T>& list, const std::vector<std::uint8_t>& bytes) {
  LoadDatabaseBytes(list, bytes);
}

void StepTables(const std::vector<FrameTable>& tables) {
  for (const FrameTable& table : tables) {
    cAnimeSequencer seq;
    seq.Assign({table});
    for (int i = 0; i < 64; ++i) seq.Step();
  }
}

template <class Run, class Step>
void StepRuns(std::size_t count, Step step) {
  for (std::size_t i = 0; i < count; ++i) {
    for (int mode = 0; mode < 3; ++mode) {
      Run run;
      run.Start(static_cast<int>(i), mode, 1);
      for (int k = 0; k < 64; ++k) step(run);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  g_nDataVersion = DATA_VERSION;
  g_bConvertText = 1;
  g_Database.SetDefaults();
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  cDatabase& db = g_Database;
  switch (data[0] % 10) {
    case 0: LoadInto(db.m_vAnimeSet, bytes); break;
    case 1: LoadInto(db.m_vAnime, bytes); break;
    case 2: LoadInto(db.m_vBmpCharaExc, bytes); break;
    case 3: LoadInto(db.m_vSwordType, bytes); break;
    case 4: LoadInto(db.m_vEffect, bytes); break;
    case 5: LoadInto(db.m_vCharaEffect, bytes); break;
    case 6: LoadInto(db.m_vScrEffect, bytes); break;
    case 7: LoadInto(db.m_vPicture, bytes); break;
    case 8: LoadInto(db.m_vSound, bytes); break;
    default: LoadInto(db.m_vBgm, bytes); break;
  }
  db.FixFirstEntries();
  BuildDatabaseTables();
  StepTables(g_AnimeFrameTables);
  StepTables(g_EffectFrameTables);
  StepRuns<cCharaEffectRun>(db.m_vCharaEffect.size(), [](cCharaEffectRun& run) { run.Step(); });
  StepRuns<cScrEffectRun>(db.m_vScrEffect.size(), [](cScrEffectRun& run) {
    const cEdScrEffect& entry = run.Entry();
    run.StepValue(entry.m_anParam[1], entry.m_anParam[2], run.dRate);
  });
  return 0;
}
