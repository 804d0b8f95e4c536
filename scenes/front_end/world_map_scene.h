// The world map, the hub of the story: the hero walks cell by cell over
// g_WorldMap; the first event of a map point whose conditions hold decides
// what its cell is (a stage entry, a wall, or an ordinary cell). On a stage
// entry the caption, the best score and the ranking are shown, and the
// stage is entered after a yes/no prompt (at once for entries that do not
// wait for the decide button). After a stage the progress is auto-saved
// when asked; an uncleared entry under the hero starts as the map opens,
// unless the map was reached from the story menu. Cancel opens the story
// menu. States: 0 fade in, 1 moving the hero, 2 the prompt, 3 fade out.
//
// The hero's cell is the current cursor of g_MenuCursor (nCol x, nRow y);
// the screen shows the map from cursor - (9, 7), so the hero stands at
// (288, 224). The program registers the scene with RegisterWorldMapScene.
#pragma once

#include "model/stage/world_map.h"
#include "scenes/front_end/front_end_scene.h"

// Image numbers of the world map: its background picture (named by the
// map), the chip tiles, the point icons and the empty surface the map is
// drawn into.
constexpr int IMAGE_WORLD_MAP_CHIP = 52, IMAGE_WORLD_EVENT = 53, IMAGE_WORLD_BACK = 54, IMAGE_WORLD_MAP = 67;

// The hero's facing, kept in the progress while the map is left.
enum eMapFacing { FACING_DOWN = 0, FACING_UP = 1, FACING_LEFT = 2, FACING_RIGHT = 3 };

class cWorldMapScene : public cFrontEndScene {
 public:
  static constexpr int kHeroX = 288, kHeroY = 224;
  static constexpr int kHeroColumn = 9, kHeroRow = 7;  // hero cell - view origin
  static constexpr int kViewColumns = 20, kViewRows = 15;
  static constexpr int kPromptY = 260;
  static constexpr int kRankingX = 367, kRankingY = 64, kRankingWidth = 272, kRankingHeight = 352;
  static constexpr int kHeroFrameLength = 40;  // frames per picture of the walk

  cWorldMapScene();

  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  void MoveCursor();
  void ConfirmStage();

  void SetViewOrigin(const CURSORPOS& cursor);
  // One step of the hero by the direction keys (left before right before
  // up before down); a step onto a blocked cell is taken back. The map
  // surface is redrawn when the view moved.
  void MoveHero(CURSORPOS& cursor, int nKeys);
  // The event of the point that applies with the progress (null: none).
  static const cEdMapEvent* FindEnabledEvent(const cEdMapPoint* pPoint);
  static int IsCleared(const cEdMapEvent* pEvent);
  // 1 when the entry opens only with the decide button: it asks for that,
  // or it is cleared.
  static int IsManualEntry(const cEdMapEvent* pEvent);
  // The stage file, best score and ranking of the entry under the hero.
  void SelectStageEvent();
  // The progress of the stage just loaded from the entry under the hero.
  void PrepareStagePlay();

  void CreateRankingSurface();
  void DrawRankingSurface(DDSURFACEDATA* lpSD);
  // Background colour and picture, chip tiles and point icons of the view.
  void DrawMapSurface(DDSURFACEDATA* lpSD);
  // The map, the hero and the lives; with bWithPanel on a stage entry its
  // ranking, caption and best score.
  void Draw(int bWithPanel);
  void DrawHero();

  int m_nViewX = 0;
  int m_nViewY = 0;
  const cEdMapPoint* m_pPoint = nullptr;
  const cEdMapEvent* m_pEvent = nullptr;
  int m_nFacing = FACING_DOWN;
  CURSORPOS m_BackupCursor;  // the hero's cell before the latest move
  CURSORPOS m_LastCell{-1, -1, 0, 0};  // whose stage information is loaded
  int m_nStageBest = 0;

 private:
  // m_pPoint and m_pEvent of the hero's cell.
  void FindPointAndEvent();
  bool OnStageEntry() const;
  // Loads the stage of the entry under the hero; a failure shows its box.
  static bool LoadEntryStage(const cEdMapEvent& event);
  // Into the stage scene with the loaded stage.
  void StartStage();
  // The ranking keys of the story, the ranking surface drawn again when
  // they change it.
  void StoryRankingKeys();
  // Closes the prompt: back to moving, the hero where he was.
  void ClosePrompt();
  // The hero back on the cell he stood on before his last move.
  void StepBack();

  int m_nPointIndex = -1;
  int m_nDrawnViewX = -1;  // view the map surface shows
  int m_nDrawnViewY = -1;
  int m_nHeroCounter = 0;
  int m_nPromptX = 0;
  bool m_bStageLoaded = false;
};

void RegisterWorldMapScene();
