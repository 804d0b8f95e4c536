// The title: the title picture with the project's title menu. It decides
// what kind of play starts (a new story, a story continued from a save
// slot, the challenge, a stage file, a replay), opens the options, or ends
// the program. States: 0 fade in, 1 the menu, 2 the save-slot list, 3 fade
// out to the chosen scene.
//
// The scene needs only the loaded project: its pictures (bmp\Title.bmp,
// bmp\GameMode.bmp, bmp\Accessory.bmp, bmp\Window.bmp), the settings, the
// fonts and the main window that serves its requests. The program registers
// it with RegisterTitleScene.
#pragma once

#include <array>

#include "model/settings/system_data.h"
#include "scenes/front_end/front_end_scene.h"

class cTitleScene : public cFrontEndScene {
 public:
  static constexpr int kMenuY = 240;
  static constexpr int kSlotListX = 152, kSlotListY = 160;
  static constexpr int kSlotRowsShown = 10;

  cTitleScene();

  void Enter() override;
  void FadeIn() override;
  void Leave() override;
  void SelectMenu();
  void SelectSaveSlot();

  // The stage file chooser on the main thread; 1 when a stage was started.
  static int OpenStageFile();
  // The title picture, the menu and the colour cycle.
  void DrawBackground();

  int MenuX() const { return m_nMenuX; }

  int m_nItemCount = 1;
  std::array<int, cSystemData::kTitleItems> m_anItem{};  // eTitleItem of each row
  int m_nSlotTop = 0;
  int m_nSlotRows = 0;

 private:
  // Draws the menu into its work surface: rows of bmp\GameMode.bmp when the
  // project draws the title menu from the picture, else the entry texts in
  // a window.
  void DrawMenuSurface();
  void CreateMenuSurface();
  void Decide(int nItem);

  int m_nMenuX = 192;
  int m_nMenuWidth = 0;
  int m_nMenuHeight = 0;
};

void RegisterTitleScene();
