// The running stage as the game objects, flows and commands see it.
//
// cStagePlay holds the stage-play state that the objects read and write
// (current actor, flow and command, stage variables, end request, the two
// scroll axes, the play map, team lists, item list, effect list, serial and frame
// counters, the colour-cycling table) and declares the services they call on
// the scene (block changes, spawning, modal waits, music, the sight mask,
// condition lists, item effects). The stage-play scene of scenes/ derives
// from it and implements the services; tests use tests/support's TestStage.
// game/ never includes scenes/.
//
// g_pStageScene points at the running stage (null when none). Everything
// here belongs to the game thread.
//
// The stage's random numbers are the game thread's generator of
// shell/random.h (SeedRandom at each stage start, Random for each draw,
// RandomState for checks); the stage-play scene seeds it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "game/draw/draw_target.h"
#include "game/draw/text_target.h"
#include "game/effects/effect_play.h"
#include "game/effects/effect_run.h"
#include "game/objects/item.h"
#include "game/objects/shot.h"
#include "game/overlays/message_window.h"
#include "game/overlays/picture.h"
#include "game/stage/scroll_axis.h"
#include "model/definitions/condition.h"
#include "model/stage/map_cell.h"

class cActor;
class cCharacter;
class cEdShot;
class cEdChara;
class cEdBlock;
struct cFlowInstance;
struct cCommandInstance;


// The wait that the pause loop runs while a command blocks the game.
struct sModalWait {
  std::int32_t nKind = 0;
  std::int32_t nDelay = 0;
  std::int32_t bWaitForKey = 0;
  std::int32_t nFrames = 0;
  std::int32_t nElapsed = 0;
};

constexpr int kTeamCount = 8;
constexpr int kTileSize = 32;

class cStagePlay {
 public:
  cStagePlay();
  virtual ~cStagePlay();
  cStagePlay(const cStagePlay&) = delete;
  cStagePlay& operator=(const cStagePlay&) = delete;

  // Sizes the play map for a stage of the given cells (margin of 10 cells
  // each side), sets up both scroll axes' geometry (cScrollAxis::SetUp), and
  // empties every cell (no graphic, not solid).
  void SetMapSize(int nCellsX, int nCellsY, int nExtraX, int nExtraY);
  // The cell at play-map column and row through the checked access.
  cMapCell& MapCell(int nColumn, int nRow);
  int MapIndex(int nColumn, int nRow) const { return nColumn + (nRow << m_ScrollX.m_nShift); }

  // 1 when the cell's block is present: it has no appearance conditions, or
  // they held once and the block keeps them, or they hold now for the hero,
  // which marks the cell appeared.
  int CheckBlockCondition(cMapCell& cell);

  // Appends a copy of the shot to the shot list and a pointer to that copy
  // to its team's list (a team outside the lists: the checked access's
  // report, orderly stop and team 0); returns the copy.
  cShot& AddShotToStage(const cShot& shot);
  // Takes a shot out of its team's list and the shot list.
  std::list<cShot>::iterator RemoveShot(std::list<cShot>::iterator shot);

  // Services of the scene.
  //
  // Mode 0: every condition holds; mode 1: one holds; else 0.
  virtual int EvalConditionList(const std::vector<cEdCondition>& conditions, int nMode,
                                cActor* pActor) = 0;
  // Applies a picked or dropped item to the hero; 1 when the play must end.
  virtual int ApplyItemEffect(cItem* pItem, cActor* pHero) = 0;
  // Places, removes or toggles the block under a map pixel by the shot's block mode.
  virtual void ChangeBlock(double x, double y, int nFacing, const cEdShot& shot,
                           const cEdBlock& block) = 0;
  // Summons a character or an item at a map pixel; nItemKind and
  // nItemIndex name the item's palette entry as FindPaletteItem does.
  virtual void AddCharacter(double x, double y, int nFacing, int nTeam, const cEdShot& shot,
                            const cEdChara& chara, int& nSerial) = 0;
  virtual void AddItem(double x, double y, int nFacing, const cEdShot& shot, int nItemKind,
                       int nItemIndex, int& nSerial) = 0;
  // Runs the pause loop for m_Wait while the game waits, until it ends.
  virtual void RunModalWait() = 0;
  // Stores the loop flag and switches the music to a database entry (0 stops).
  virtual void PlayBgm(int nEntry, int bLoop) = 0;
  // Starts the screen tone with the screen-colour command's eight values
  // (red, green, blue, intensity, return, duration, flash, repeats).
  virtual void StartScreenTone(const std::int32_t (&params)[8]) = 0;
  // Rebuilds the sight-mask image after the hero's sight changed.
  virtual void RebuildSightMask() = 0;
  // 1 when the actor's box touches a solid cell or a blocking character.
  virtual int IsCharacterBlocked(cActor& actor) = 0;
  // Target frames per second of the running stage.
  virtual int FramesPerSecond() const = 0;

  // Services the stage-play scene gives once it shows messages and pictures;
  // until it does, each says so once in the report.
  //
  // What message windows write their text through (by default one that
  // measures nothing and makes no surfaces).
  virtual cTextTarget& TextTarget();
  // The picture surfaces, paired by position with m_PictureList: a surface
  // made from a picture file is inserted at nPosition with its size; false
  // (nothing inserted) when the file cannot be loaded.
  virtual bool InsertPictureSurface(int nPosition, const std::string& strFile, int& nWidth, int& nHeight);
  virtual void RemovePictureSurface(int nPosition);
  virtual void ReleasePictureSurfaces();

  // State.
  cActor* m_pCurActor = nullptr;
  cFlowInstance* m_pCurFlow = nullptr;
  cCommandInstance* m_pCurCommand = nullptr;
  // The hero (element 0 of the players), every actor's first target.
  cActor* m_pHero = nullptr;
  std::vector<std::int32_t> m_vStageVar;  // each in -999999..999999
  std::int32_t m_nEndRequest = 0;          // 1 cleared, 2 missed
  std::int32_t m_nNextPart = 0;
  sModalWait m_Wait;
  // Raised by the main window when the program closes during an in-stage
  // loop; read by the game thread.
  std::atomic<std::int32_t> m_bQuit{0};
  std::int32_t m_bCheckDeaths = 0;
  std::int32_t m_bTimeStop = 0;
  std::int32_t m_nTimeLeft = 0;
  cScrollAxis m_ScrollX;
  cScrollAxis m_ScrollY;
  std::vector<cMapCell> m_vPlayMap;
  std::vector<std::list<cActor*>> m_vTeamCharacter;
  // The placed and summoned items, in list order (carried items are not here).
  std::list<cItem> m_ItemList;
  // The placed and summoned characters, in list order (the hero is not
  // here). Held by value: the team lists and links point into it.
  std::list<cCharacter> m_CharacterList;
  // The block characters of m_CharacterList, in list order (the passes
  // that push, carry and crush actors look at these only).
  std::vector<cCharacter*> m_vBlockCharacters;
  std::list<cEffectPlay> m_EffectList;
  // The live shots and swords, and per team pointers to them.
  std::list<cShot> m_ShotList;
  std::vector<std::list<cShot*>> m_vTeamShot;
  // The screen effect that the scene draws over the stage.
  cScrEffectRun m_ScreenEffect;
  // Message windows and pictures shown over the stage.
  std::list<cMessageWindow> m_MessageList;
  std::list<cPicture> m_PictureList;
  std::int32_t m_bItemMessageFollows = 0;
  std::int32_t m_nShotSerial = 0;
  std::int32_t m_nFrameCount = 0;
  std::int32_t m_nBlockToggle1 = 0;
  std::int32_t m_nBlockToggle2 = 0;
  std::int32_t m_nSubStep = 0;  // 1 to the sub-steps per frame
  std::vector<sBltColour> m_vColourCycle;  // per colour index, filled each frame
  std::vector<std::uint8_t> m_vGroupSwitch;
  std::int32_t m_nStageWidth = 0;  // pixels
};

extern cStagePlay* g_pStageScene;
