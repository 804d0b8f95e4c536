// The challenge's stage list: the numbered challenge stages that are open,
// whether each was cleared and its best score, the ranking of the stage
// under the cursor, and the start of the chosen stage. Challenge stage n is
// the newest version of data\stg4\cNN-1.stg4. The list reopens where the
// last stage was started (the scene manager keeps its row and top).
// States: 0 fade in, 1 the list, 2 fade out to the stage or the title.
//
// The list, its headings and the ranking are drawn into the work surface
// after every change. The program registers the scene with
// RegisterStageSelectScene.
#pragma once

#include <string>

#include "scenes/front_end/front_end_scene.h"

class cStageSelectScene : public cFrontEndScene {
 public:
  static constexpr int kListX = 64, kListY = 160, kRowHeight = 32, kCursorX = 32;
  static constexpr int kRowsShown = 10;
  static constexpr int kRankingX = 292, kRankingY = 108;

  cStageSelectScene();

  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  void SelectStage();

  // m_nStageCount (every challenge stage when all are open, else the
  // unlocked ones) and m_nRows.
  void UpdateCounts();
  // Takes stage n's file as the progress's stage and reads its ranking.
  void LoadRanking(int n);
  void CreateListSurface();
  void DrawList(DDSURFACEDATA* lpSD);
  void Draw();

  // The file name of challenge stage n (from 1), before the newest version
  // is looked up.
  static std::string ChallengeStageFile(int n);

  int m_nTop = 0;
  int m_nStageCount = 0;
  int m_nRows = 0;

 private:
  void Redraw();
  // Loads the stage of the cursor's row and prepares the progress; false
  // (after the error sound and box) when it cannot be loaded.
  bool StartStage(int nRow);
};

void RegisterStageSelectScene();
