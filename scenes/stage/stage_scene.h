// The stage-play scene: plays one stage from its set-up to its end.
//
// It is the running stage the game objects see (cStagePlay) and answers
// their services; it follows the scene protocol with eight states (fade in,
// start banners, play, pause menu, result, continue menu, game over, fade
// out). Enter loads the stage images once per entry and sets the stage up
// (SetStage), which every restart runs again: the play map with its margin,
// both scroll axes, the hero, the placed characters and items, the team
// lists, the hit schedule, the time limit and the random seed.
//
// The states are stage_states.cpp, the end of a play stage_end.cpp, the
// in-stage loops stage_pause_loops.cpp, the frame stage_scene_draw.cpp.
// Set-up and restarts are stage_scene_setup.cpp; spawning and erasing
// stage_spawn.cpp; block changes stage_blocks.cpp; appearance and floor
// blocks stage_appearance.cpp. The program registers the scene with
// RegisterStageScene.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "game/stage/stage_play.h"
#include "model/definitions/shot.h"
#include "graphics/dd_draw_target.h"
#include "graphics/surface.h"
#include "scenes/scene.h"
#include "scenes/stage/screen_tone.h"

#include "game/objects/character.h"
#include "game/objects/player.h"

class cSaveData;
class cThread;
class cEdItem;

enum eStageState {
  STAGE_FADEIN = 0,
  STAGE_START = 1,
  STAGE_PLAY = 2,
  STAGE_PAUSE = 3,
  STAGE_RESULT = 4,
  STAGE_CONTINUE = 5,
  STAGE_GAMEOVER = 6,
  STAGE_FADEOUT = 7,
};

constexpr int kStageVarCount = 255;
constexpr int kViewSwitchCount = 60;
constexpr int kRankingKindCount = 5;
// The background slots of the image table (numbers 55 to 62).
constexpr int kBackgroundSlots = 8;
constexpr int kFirstBackgroundImage = 55;

// The stage's image sets: per character-exclusive image four surfaces
// (left, its alternate, right, its alternate), per sword type four, per
// effect two. Released by the scene's destructor.
extern DDSurfaceVector g_vecCharaExcSD;
extern ImageVector g_vecCharaExcImage;
extern DDSurfaceVector g_vecSwordSD;
extern ImageVector g_vecSwordImage;
extern DDSurfaceVector g_vecEffectSD;
extern ImageVector g_vecEffectImage;
// The surfaces of the shown pictures, by position in the picture list
// (stage_pictures.cpp).
extern DDSurfaceVector g_vecPictureSD;
extern ImageVector g_vecPictureImage;

// The image-table numbers the stage loads when it is entered (63 images).
constexpr int kStageImageCount = 63;
const std::array<int, kStageImageCount>& StageImageNumbers();

class cStageScene : public cScene, public cStagePlay {
 public:
  cStageScene();
  ~cStageScene() override;

  // Scene protocol.
  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  // The states between the fades (stage_states.cpp; Play is the play
  // frame).
  void ShowStartBanner();
  void Play();
  void PauseMenu();
  void ShowResult();
  void ContinueMenu();
  void GameOver();
  // The banner of this frame (replay, stage number, second banner, each for
  // 80 frames); false when none is left.
  bool DrawStartBanner();
  // 3 with the retry row (a stage file, or a stage cleared before when the
  // play mode's settings offer retries), else 2; a replay has 2.
  int PauseMenuRows() const;
  // The stage under the result: the registration hint, the clear banner
  // and, once it stands, the result panel.
  void DrawResult(bool bAutoResult);

  // The end of a play (stage_end.cpp). EndStage (declared with the play
  // frame) tallies the stage into the progress, gives the extra lives (each
  // shown by the pause loop), finds the ranking positions and goes to the
  // result; RegisterRanking enters them under a name and shows the table;
  // DecideNextScene is the scene after the result.
  void GiveExtraLives(int nOldTotal, int nNewTotal);
  void ShowExtraLife();
  void RegisterRanking();
  // 1 and the newest file of follow-on part nPart of the series, else 0 and
  // an empty name.
  int MakeNextStageName(std::string& name, int nPart) const;
  // 1 when no follow-on part nPart exists: the play is ranked.
  int CountsForRanking(int nPart) const;
  // Loads the follow-on part that the clear named, if it exists.
  bool LoadNextPart();
  int DecideNextScene();
  int FinishStoryStage(int nSavedSeriesNo);
  void RecordChallengeClear();

  // The in-stage loops (stage_pause_loops.cpp): the loop runs on its thread
  // object while the game waits; a close during it ends it and closes the
  // program.
  int RunInStageLoop(cThread& thread, int (*loop)(cStageScene*));
  void ShowRankingTable();
  // Characters whose death display ended inside a loop are erased when it
  // has returned (the game stood in the middle of its frame).
  bool IsErasedInLoop(const cCharacter& character) const;
  void ApplyLoopErasures();

  // The frame (stage_scene_draw.cpp). bPlaying: drawn by the play (the
  // field may hide in the pause menu otherwise); bPaused: objects are
  // drawn without advancing; bTimeSound: the time limit may sound;
  // bSystemText: the hint line of a direct start or a test play.
  void Draw(int bPlaying, int bPaused, int bTimeSound, int bSystemText);
  // The hero, items, characters and shots: by priority layer (0 to 7)
  // when the stage asks for it, else in one pass (nLayer -1).
  void DrawObjects(bool bPaused);
  void DrawHeroAndItems(int nLayer, bool bPaused);
  // The characters of a layer, in list order.
  void DrawLayerCharacters(const std::vector<std::list<cCharacter>::iterator>& characters, bool bPaused);
  void DrawShots(int nLayer, bool bPaused);
  // 1 when the character's death display is over (the caller erases it).
  int DrawCharacters(cCharacter& character, bool bPaused);
  void DrawEffects(bool bPaused);
  void DrawMessages(bool bPaused);
  // The pictures of a layer (0 behind the map, 1 in front of everything
  // but the overlays), each with its surface of g_vecPictureSD.
  void DrawPictureLayer(int nLayer, int bPaused);
  // The running screen effect over the finished frame (the blink covers it
  // with both background layers).
  void DrawScreenEffectOver(int bPaused);
  void DrawSystemText();
  // The hero, or its death display; when that ends, what follows a death
  // (AfterHeroDeath): the replay's restart, the game over, the continue
  // menu or a retry.
  void DrawPlayer(bool bPaused);
  void AfterHeroDeath();
  // What the objects and overlays draw through (tests put a recording
  // target in).
  cDrawTarget& DrawTarget() { return *m_pDrawTarget; }
  cTextTarget& TextTarget() override { return *m_pTextTarget; }

  // Services of the running stage.
  int EvalConditionList(const std::vector<cEdCondition>& conditions, int nMode, cActor* pActor) override;
  int ApplyItemEffect(cItem* pItem, cActor* pHero) override;
  void ChangeBlock(double x, double y, int nFacing, const cEdShot& shot, const cEdBlock& block) override;
  void AddCharacter(double x, double y, int nFacing, int nTeam, const cEdShot& shot, const cEdChara& chara,
                    int& nSerial) override;
  void AddItem(double x, double y, int nFacing, const cEdShot& shot, int nItemKind, int nItemIndex,
               int& nSerial) override;
  void RunModalWait() override;
  // Stores the option in the progress and asks the main window to play the
  // Bgm.dat entry (0 stops the music).
  void PlayBgm(int nEntry, int bOption) override;
  void StartScreenTone(const std::int32_t (&params)[8]) override { m_Tone.Start(params); }
  void RebuildSightMask() override;
  bool InsertPictureSurface(int nPosition, const std::string& strFile, int& nWidth, int& nHeight) override;
  void RemovePictureSurface(int nPosition) override;
  void ReleasePictureSurfaces() override;
  int IsCharacterBlocked(cActor& actor) override;
  int FramesPerSecond() const override;

  // 1 when SPACE is down: system sound 4, the state and step are kept for
  // the pause menu's resume. The caller then goes to STAGE_PAUSE.
  int CheckPauseKey();

  // Set-up (stage_scene_setup.cpp).
  void ResetPlay();
  // 1 when the stage may start (a life taken unless free or unlimited).
  int TakeLife(cSaveData& progress);
  // bRestore: the loaded stage returns to the stage as loaded (retries and
  // replay restarts); bFirst: the first start of this entry (music).
  // When the play map does not fit in memory it says so in a box, asks the
  // program to close and stops; the scene then plays no more frames.
  void SetStage(int bRestore, int bFirst);
  // The parts of SetStage: the objects of the play before go; the play map
  // and the scroll axes; the hero, the placed objects and the team lists;
  // the before-start triggers.
  void ClearObjects();
  // Reads the replay file being played (the loaded stage's path) again.
  bool ReloadReplay();
  // Virtual so that tests can make it run out of memory.
  virtual void BuildPlayMap();
  void PlaceHero();
  void FillTeamLists();
  void FireStartTriggers();
  void BuildShotGrid();
  void LoadCharaExcImages();
  void LoadSwordImages();
  void LoadEffectImages();
  void ClearPictures();
  void ClearMessageSurfaces();

  // Spawning and erasing (stage_spawn.cpp).
  void SpawnPlacedObjects();
  void SpawnPlacedCharacter(int nColumn, int nRow, const cEdChara& placement, const cItem* pDropItem);
  // Appends the actor to the list of its team.
  void JoinTeam(cActor& actor);

  void SpawnPlacedItem(int nColumn, int nRow, const cEdItem& placement);
  // Erases a character of g_CharacterList with every link to it (targets,
  // shots, its team list); returns the position after it.
  std::list<cCharacter>::iterator EraseCharacter(std::list<cCharacter>::iterator node);

  // Block changes (stage_blocks.cpp).
  // 1 when a protected object overlaps the cell (the change is undone);
  // every object the new block would squeeze gets a crush grace of 2.
  int CheckCellOccupants(int nIndex, int nColumn, int nRow, const cEdShot& shot);

  // Tile collision (stage_collision.cpp): results 0, or 2 when the actor
  // touched a cell that kills it. Cells are read through CellAt: a cell
  // past the map is an empty cell (one report line per stage).
  cMapCell& CellAt(int nColumn, int nRow);
  cMapCell& CellAtPixel(int px, int py);
  int CollisionAt(cMapCell& cell, const cGameObject& object);
  // The cell of the largest collision kind among the size scale + 1
  // samples along one edge (x1 == x2 or y1 == y2) of the actor's box; on a
  // horizontal edge the one nearest the middle among equal kinds.
  cMapCell& FindEdgeCell(cActor& actor, int x1, int y1, int x2, int y2);
  // The hero's floor cell: an odd number of samples along its bottom edge,
  // the one nearest the middle winning among equal kinds.
  cMapCell& FindFloorCellCentred(cActor& actor);
  // The corner cell (cell coordinates) of the largest kind for the team.
  cMapCell& FindCornerCell(int nLeft, int nTop, int nRight, int nBottom, int nTeam);
  // A corner cell of the object's tile rectangle collides for its team.
  bool TileRectCollides(const cGameObject& object);
  int CollideTileLeft(cActor& actor);
  int CollideTileRight(cActor& actor);
  int CollideTilesX(cActor& actor);
  int RecheckTilesX(cActor& actor);
  int CollideTileTop(cActor& actor);
  int CollideTileBottom(cActor& actor);
  int CollideTilesY(cActor& actor);
  int RecheckTilesY(cActor& actor);
  // Keeps the hero inside a view that scrolls by itself (or while it
  // flies); 2 when a walking hero is pushed out at the bottom.
  void KeepPlayerInViewX(cPlayer& player);
  int KeepPlayerInViewY(cPlayer& player);
  bool IsStageCharacter(const cActor& actor) const { return &actor != m_pHero; }

  // Block characters (stage_riding.cpp), the characters of
  // m_CharacterList flagged as blocks that exist and are not dying.
  // The object's box overlaps one whose id is neither the object's nor
  // nExcludedId (a flying object that passes blocks never does).
  int OverlapsBlockCharacter(const cGameObject& object, int nExcludedId);
  // The same without an excluded id (summons and warps).
  int OverlapsBlockCharacterBox(const cGameObject& object);
  cCharacter* FindCharacterById(int nId);
  // Before the actor moves: the platform it rides carries it.
  int RideCharacter(cActor& actor);
  // The ridden block character, or another, lies within 5 pixels under the feet.
  int IsOnRiddenCharacter(const cActor& actor);
  int IsOnBlockCharacter(const cActor& actor);
  // Every corner of the actor's box, now or at (x, y, right, bottom), lies
  // inside a block character.
  int IsBuriedInBlockCharacters(const cActor& actor, double x, double y, double right, double bottom);
  int IsBuriedInBlockCharactersAt(const cActor& actor, double x, double y, double right, double bottom);
  // Pushes the actor out of the block characters along one axis.
  void ResolveCharacterAxis(cActor& actor, bool bVertical);
  // The contact pass against every block character: 2 when crushed.
  int CollideCharacters(cActor& actor);

  // Hits, pick-ups and deaths (stage_hits.cpp): results 0 go on, 1 the
  // stage ends now, 2 the hero is killed.
  // 2 for the hero; 0 for a character already dying; else its Die.
  int ResolveDeath(cActor& actor);
  // ResolveDeath, then the end of the stage (1) or the hero's death (2).
  int HandleDeath(cActor& actor);
  int CheckHits();
  // Hit points that ran out, and vanish requests, outside the hit passes;
  // 1 when the frame must stop.
  int CheckDeaths();
  int PickUpItems(cPlayer& player);

  // The play frame (stage_play_frame.cpp).
  static constexpr int kMaxPlayTime = 599999;  // hundredths of a second
  void CountPlayTime();
  // Once a second unless the limit stands: the time left changes by nDelta;
  // 1 when it ran out.
  int CountDownTime(int nDelta);
  // The play ends as cleared: the result follows.
  void EndStage();
  // The hero's input of this frame; false when a replay ran out and starts
  // over.
  bool TakeInput();
  bool HeroIsDying() const;
  bool KillHero(const char* tag);
  bool KillCharacter(std::list<cCharacter>::iterator& it);
  bool StepCharacter(std::list<cCharacter>::iterator& it, bool bBlockPass);
  bool StepHero();
  // Sub-step k of the frame; false when it ended the frame.
  bool RunSubStep(int k);

  // Appearance and floor blocks (stage_appearance.cpp).
  int CheckCharacterCondition(cCharacter& chara);
  int CheckItemCondition(cItem& item);
  // bNewFrame (a play frame's first sub-step): the characters' trigger
  // flags of the frame before are cleared in the same walk.
  void UpdateAppearance(bool bNewFrame);
  // The hero's floor block: spring, sliding, speed factor, conveyors (always
  // 0); the floor's item (0, or ApplyItemEffect's result).
  int ApplyFloorEffect(cPlayer& player);
  int ApplyFloorItem(cPlayer& player);

  // The hero as the play sees it (null before set-up).
  cActor* Hero() const { return m_pHero; }

  cPlayer m_Player;  // the hero (m_pHero once set up)
  cScreenTone m_Tone;
  std::int32_t m_nPauseState = 0;
  std::int32_t m_nPauseStep = 0;
  std::int32_t m_bItemCommand = 0;
  std::int32_t m_nPlayerCount = 0;
  std::int32_t m_nSubStepCount = 0;
  std::vector<std::int32_t> m_vHitSchedule;  // 1 for the sub-steps that test shot hits
  std::int32_t m_nPlayFrames = 0;
  std::int32_t m_nPlayTime = 0;  // hundredths of a second, at most 599999
  std::int32_t m_nBannerCount = 0;
  std::int32_t m_nBanner2Count = 0;
  std::uint32_t m_nRandomSeed = 0;
  std::int32_t m_bHoldButtons = 0;
  std::int32_t m_nCharacterSerial = 0;
  std::int32_t m_nItemSerial = 0;
  // Counts the times ClearObjects emptied the object lists (the drawing
  // notices a start over).
  std::uint32_t m_nObjectsCleared = 0;
  std::int32_t m_abScreenOutOn[3] = {0, 0, 0};  // characters, block characters, items
  std::vector<std::int32_t> m_vChangedCells;
  std::int32_t m_nStageFrame = 0;
  std::int32_t m_bNewRecord = 0;
  std::vector<std::int32_t> m_vRankPosition;
  std::vector<std::int32_t> m_vRankValue;
  std::int32_t m_bRankingRegistered = 0;
  std::string m_strRankName;  // edited by the name entry
  int m_nInStageLoops = 0;     // running in-stage loops
  std::vector<const cCharacter*> m_vErasedInLoop;
  cDDDrawTarget m_DDTarget;
  cDrawTarget* m_pDrawTarget = &m_DDTarget;
  cTextTarget* m_pTextTarget = &m_DDTarget;

 // Set again by every stage start: the report line of a box past the map.
  std::int32_t m_bOutsideCellReported = 0;
  bool m_bSetUpFailed = false;  // the play map did not fit: nothing plays

 private:
  cMapCell m_OutsideCell;  // what cells past the map read as

  // Tile collision.
  int CollideTileSide(cActor& actor, bool bRight);
  cMapCell& BottomEdgeCell(cActor& actor);
  int LandOnFloorCell(cActor& actor, int nKind);
  // Block characters.
  bool IsLivingBlockCharacter(const cCharacter& chara, const cGameObject& other) const;
  int BoxOverlapsBlockCharacter(double x, double y, double right, double bottom, int nOwnId, int nExcludedId);
  bool IsRiddenPusher(const cActor& actor, const cCharacter& pusher) const;
  int CollideFlyingWithCharacters(cActor& actor);
  // True when the actor landed on a block character in this pass.
  bool CollideWalkingWithCharacters(cActor& actor, double dStartX);
  cCharacter* MoveBelowUpperBlockCharacter(cActor& actor);
  // Hits.
  int CheckShotHits();
  int CheckContactHits();
  void CheckShotAgainstShot();
  void EraseShot(cShot* pShot);
};

int StagePauseLoop(cStageScene* scene);
int RankingLoop(cStageScene* scene);

void RegisterStageScene();
