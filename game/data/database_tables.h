// Tables the game derives from the database once it is loaded: one frame
// table per animation and per effect, for the animation sequencer, and the
// effect run templates (game/effect_run.h).
//
// Frame durations are tenths of a second in the database and frames here
// (x 6, kept within the int range). Animation 0 and effect 0, the "none"
// entries, loop with every row uninterruptible; every other table ends with
// ANIME_END. An animation row may not be interrupted from its first held
// frame on.
#pragma once

#include <vector>

#include "game/effects/anime_sequencer.h"

extern std::vector<FrameTable> g_AnimeFrameTables;
extern std::vector<FrameTable> g_EffectFrameTables;

void BuildAnimeFrameTables(std::vector<FrameTable>& out);
void BuildEffectFrameTables(std::vector<FrameTable>& out);

// After cDatabase::LoadAll: the reversed copies of the effect lists, both
// frame tables and the four run templates, in that order.
void BuildDatabaseTables();
