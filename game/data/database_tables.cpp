#include "game/data/database_tables.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "game/effects/effect_run.h"
#include "model/database/database.h"

std::vector<FrameTable> g_AnimeFrameTables;
std::vector<FrameTable> g_EffectFrameTables;

namespace {

// Tenths of a second as frames at 60 per second.
std::int32_t FramesOf(std::int32_t tenths) {
  using Limits = std::numeric_limits<std::int32_t>;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(tenths) * 6, Limits::min(), Limits::max()));
}

// The table of entry i from its rows (value, duration, held) without the
// end row: entry 0 shows each row for one tick, uninterruptibly, and loops.
FrameTable MakeTable(std::size_t i, FrameTable rows) {
  if (i == 0) {
    for (SEQFRAME& row : rows) row = SEQFRAME{row.nValue, 0, 1};
    rows.push_back(SEQFRAME{ANIME_LOOP, 0, 1});
  } else {
    rows.push_back(SEQFRAME{ANIME_END, 0, 0});
  }
  return rows;
}

}  // namespace

void BuildAnimeFrameTables(std::vector<FrameTable>& out) {
  const std::vector<cEdAnime>& anime = g_Database.m_vAnime;
  out.resize(anime.size());
  for (std::size_t i = 0; i < anime.size(); ++i) {
    FrameTable rows;
    bool held = false;
    for (const cEdAnimeFrame& frame : anime[i].m_vFrames) {
      held = held || frame.m_bHold != 0;
      rows.push_back(SEQFRAME{frame.m_nImage, FramesOf(frame.m_nDuration), held ? 1 : 0});
    }
    out[i] = MakeTable(i, std::move(rows));
  }
}

void BuildEffectFrameTables(std::vector<FrameTable>& out) {
  const std::vector<cEdEffect>& effects = g_Database.m_vEffect;
  out.resize(effects.size());
  for (std::size_t i = 0; i < effects.size(); ++i) {
    FrameTable rows;
    for (const cEdEffectFrame& frame : effects[i].m_vFrames) {
      rows.push_back(SEQFRAME{frame.m_nCell, FramesOf(frame.m_nDuration), 0});
    }
    out[i] = MakeTable(i, std::move(rows));
  }
}

void BuildDatabaseTables() {
  g_Database.MakeReversedCopies();
  BuildAnimeFrameTables(g_AnimeFrameTables);
  BuildEffectFrameTables(g_EffectFrameTables);
  BuildCharaEffectRuns(g_CharaEffectRuns, g_CharaEffectRunsRev);
  BuildScrEffectRuns(g_ScrEffectRuns, g_ScrEffectRunsRev);
}
