// The story menu, opened from the world map with the cancel button: save
// the progress into one of the story slots, switch auto-saving on or off,
// go back to the map, or go back to the title. States: 0 fade in, 1 the
// menu, 2 save to a slot, 3 the auto-save switch, 4 back to the map, 5 back
// to the title, 6 fade out. A decided entry n leads to state n + 2.
//
// The program registers it with RegisterStoryMenuScene.
#pragma once

#include <array>

#include "model/settings/system_data.h"
#include "scenes/front_end/front_end_scene.h"

class cStoryMenuScene : public cFrontEndScene {
 public:
  static constexpr int kMenuX = 264, kMenuY = 192;
  static constexpr int kTotalScoreY = 260;
  static constexpr int kSlotListX = 152, kSlotListY = 160, kSlotRowsShown = 10;
  static constexpr int kSavePromptY = 400, kAutoSavePromptY = 224, kNoSlotMessageY = 232, kTitlePromptY = 224;

  cStoryMenuScene();

  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  void SelectMenu();
  void SaveToSlot();
  void SaveToCurrentSlot();
  void BackToMap();
  void BackToTitle();

  // The plain screen, the menu window, the total score, the colour cycle.
  void Draw();
  void DrawMenu();
  void DrawTotalScore();

  int m_nItemCount = 1;
  std::array<int, cSystemData::kStoryMenuItems> m_anItem{};
  int m_nSlotTop = 0;
  int m_nSlotRows = 0;

 private:
  // Back to the menu from a prompt.
  void CloseSubMenu();
  // A two-answer prompt of messages nFirst and nFirst + 1 at y: moves its
  // cursor and returns its left edge.
  int MovePrompt(int nFirst, int y);
  void DrawPrompt(int x, int y, int nFirst, int nCount, int bCursor);
};

void RegisterStoryMenuScene();
