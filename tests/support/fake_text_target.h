// A text target for tests of message windows.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/draw/text_target.h"

// Fixed cells of 8 x 16; message surfaces numbered from 1; records what
// it was asked to write.
class FakeTextTarget : public cTextTarget {
 public:
  void MeasureText(int, const char* text, int& width, int& height) override {
    int longest = 0, lines = 1, current = 0;
    for (const char* p = text; *p; ++p) {
      if (*p == '\n') {
        ++lines;
        current = 0;
      } else if (++current > longest) {
        longest = current;
      }
    }
    width = longest * 8;
    height = lines * 16;
  }
  void DrawText(int, sSurface, int, int, const char* text) override { m_vTexts.push_back(text); }
  void DrawTextBox(int, sSurface, int, int, const char* text) override { m_vTexts.push_back(text); }
  void DrawBox(int, sSurface, int x, int y, int w, int h) override { m_vBoxes.push_back({x, y, w, h}); }
  bool CreateMessageSurface(int width, int height, sSurface& surface) override {
    m_vCreated.push_back({width, height});
    surface = {SURFACES_MESSAGE, static_cast<int>(m_vCreated.size())};
    return true;
  }
  void ReleaseMessageSurface(sSurface surface) override { m_vReleased.push_back(surface.nIndex); }
  void ClearSurface(sSurface) override {}
  bool TakeSurfaceRestored(sSurface) override { return false; }

  std::vector<std::string> m_vTexts;
  std::vector<std::vector<int>> m_vBoxes;
  std::vector<std::pair<int, int>> m_vCreated;
  std::vector<int> m_vReleased;
};
