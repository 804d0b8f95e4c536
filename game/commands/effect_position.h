// Where the effect and picture commands place what they show.
#pragma once

class cActor;

// Map pixels; a place measured from the view keeps the view's fraction.
struct sMapPoint {
  double x = 0;
  double y = 0;
};

enum eEffectPositionMode {
  EFFECTPOS_SCREEN_CENTRE,
  EFFECTPOS_ACTOR_CENTRE,
  EFFECTPOS_HERO_CENTRE,
  EFFECTPOS_SCREEN_CELL,
  EFFECTPOS_STAGE_CELL
};

// The top-left map pixel of an object of w x h placed by mode, moved by
// (dx, dy): centred on the screen, the actor or the hero, or at the corner of
// a screen cell or a stage cell (column, row). An unknown mode, or the hero's
// centre without a hero, places it at the map's origin plus (dx, dy).
sMapPoint GetEffectPosition(int w, int h, const cActor& actor, int nMode, int nColumn, int nRow, int dx, int dy);
