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
// Set-up and restarts are stage_scene_setup.cpp; spawning and erasing
// stage_spawn.cpp; block changes stage_blocks.cpp; appearance and floor
// blocks stage_appearance.cpp. The program registers the scene with
// RegisterStageScene.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "game/stage/stage_play.h"
#include "graphics/surface.h"
#include "scenes/scene.h"

class cSaveData;
class cCharacter;
class cItem;
class cEdChara;
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

// The image-table numbers the stage loads when it is entered (63 images).
const std::vector<int>& StageImageNumbers();

class cStageScene : public cScene, public cStagePlay {
 public:
  cStageScene();
  ~cStageScene() override;

  // Scene protocol.
  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  // The states between the fades. The menus, the result and the banners
  // are drawn by the stage drawing, which is not built yet: until then the
  // pause menu resumes at once, the continue menu retries, and the result
  // and the game over leave for the title.
  void ShowStartBanner();
  void Play();
  void PauseMenu();
  void ShowResult();
  void ContinueMenu();
  void GameOver();

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
  void RebuildSightMask() override;
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
  void SetStage(int bRestore, int bFirst);
  // The parts of SetStage: the objects of the play before go; the play map
  // and the scroll axes; the hero, the placed objects and the team lists;
  // the before-start triggers.
  void ClearObjects();
  void BuildPlayMap();
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
  void SpawnPlacedItem(int nColumn, int nRow, const cEdItem& placement);
  // Erases a character of g_CharacterList with every link to it (targets,
  // shots, its team list); returns the position after it.
  std::list<cCharacter>::iterator EraseCharacter(std::list<cCharacter>::iterator node);

  // Block changes (stage_blocks.cpp).
  // 1 when a protected object overlaps the cell (the change is undone);
  // every object the new block would squeeze gets a crush grace of 2.
  int CheckCellOccupants(int nIndex, int nColumn, int nRow, const cEdShot& shot);

  // Appearance and floor blocks (stage_appearance.cpp).
  int CheckCharacterCondition(cCharacter& chara);
  int CheckItemCondition(cItem& item);
  void UpdateAppearance();
  int ApplyFloorEffect(cActor& player);
  int ApplyFloorItem(cActor& player);

  // The hero as the play sees it (null before set-up).
  cActor* Hero() const { return m_pHero; }

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
  std::vector<std::uint8_t> m_vViewSwitches;
  std::int32_t m_nCharacterSerial = 0;
  std::int32_t m_nItemSerial = 0;
  std::int32_t m_abScreenOutOn[3] = {0, 0, 0};  // characters, block characters, items
  std::vector<std::int32_t> m_vChangedCells;
  std::int32_t m_nStageFrame = 0;
  std::int32_t m_bNewRecord = 0;
  std::vector<std::int32_t> m_vRankPosition;
  std::vector<std::int32_t> m_vRankValue;
  std::int32_t m_bRankingRegistered = 0;
};

void RegisterStageScene();
