// An effect animation: an entry of the database's effects (model/database/
// effect.h) played once at a point of the stage, started by the effect
// command or where a body or a shot hits an actor. The stage scene keeps it
// in its effect list until Step returns 1.
//
// The animation plays the effect's frame table (game/database_tables.h);
// GetBlit gives what the drawing copies for the current frame: the cell of
// the effect's picture strip and where it goes on the screen.
#pragma once

#include <cstdint>

#include "game/draw/draw_target.h"
#include "game/effects/anime_sequencer.h"
#include "model/database/effect.h"

// A box in stage pixels, edges included.
struct sPixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// One copy from the effect image set to the screen.
struct sEffectBlit {
  int image = 0;  // the effect's image in the effect image set
  int srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
  int dstX = 0, dstY = 0, dstWidth = 0, dstHeight = 0;
  bool stretch = false;
};

class cEffectPlay {
 public:
  // From the effect command: top-left corner (stage pixels) and drawn size.
  void InitFromCommand(std::int16_t effect, double x, double y, int width, int height,
                       int runsWhilePaused);
  // At a hit: centred on the overlap of the two boxes, jittered by two
  // random numbers (x first), drawn size times larger when the entry scales
  // with size and size is above 1.
  void InitFromHit(std::int16_t effect, const sPixelBox& first, const sPixelBox& second, int size);
  // The sequencer gets a copy of the effect's frame table and plays it.
  void SetAnime(int effect);

  // Advances the animation unless the game is paused (and the effect does
  // not run while paused). 1 when the effect is to be removed: its entry has
  // no frames, or the animation has ended.
  int Step(bool paused);
  // The copy that draws the current frame, with the view at (viewX, viewY)
  // in stage pixels: the screen position is truncated after the view is
  // subtracted.
  sEffectBlit GetBlit(double viewX, double viewY) const;

  const cEdEffect& Entry() const;

  // Steps the animation and draws its current frame with the view at
  // (viewX, viewY); 1 when the effect is to be removed (nothing drawn).
  int Draw(cDrawTarget& target, sSurface dst, double viewX, double viewY, bool paused);

  std::int16_t nEffect = 0;
  double dX = 0;
  double dY = 0;
  int nWidth = 0;
  int nHeight = 0;
  int bStretch = 0;
  cAnimeSequencer m_Anime;
  int bRunsWhilePaused = 0;
  int nFrame = 0;  // the frame value of the last Step
};
