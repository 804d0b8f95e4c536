// The three game fonts drawn through the text engine in their fixed cells,
// compared with goldens: Japanese and Latin text, centring, symbol cells,
// line feeds; and a face name no installed font has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/font_layout.h"
#include "platform/text_engine.h"
#include "support/text_fonts.h"

namespace {

constexpr std::uint32_t kBackground = 0x101830;
constexpr std::uint32_t kText = 0xFFFFFF;
constexpr std::uint32_t kSymbol = 0x40A0FF;
constexpr std::uint32_t kCellCorner = 0x505870;

struct GameFont {
  const char* name;
  int nCharHeight;
  int nCellWidth;
  int nLineHeight;
};

constexpr GameFont kGameFonts[] = {{"font0", 9, 10, 10}, {"font1", 16, 16, 16}, {"font2", 30, 32, 32}};

// An 8-bit canvas: index 0 background, 1 text; shown in colours.
class Canvas {
 public:
  Canvas(int width, int height) : m_Image(width, height, kBackground), m_Index(width * height) {}

  platform::TextTarget Target() { return {m_Index.data(), m_Image.width, m_Image.height, m_Image.width, 1}; }

  void Draw(const platform::TextFont& font, const char* text, int x, int y, const GameFont& game, bool center,
            bool symbols) {
    const FixedCellLayout layout{game.nCellWidth, game.nLineHeight, center, symbols};
    const auto measure = [&](std::string_view glyph) { return font.Measure(glyph); };
    for (const GlyphPlacement& glyph : LayoutFixedCells(text, x, y, layout, measure)) {
      font.Draw(Target(), glyph.x, glyph.y, glyph.glyph, 1);
    }
    if (!symbols) return;
    // A symbol cell as its outline with the letter's number of dots.
    for (const SymbolPlacement& s : LayoutSymbols(text, x, y, game.nCellWidth, game.nLineHeight)) {
      for (int i = 0; i < game.nCellWidth; ++i) {
        Mark(s.x + i, s.y, 2);
        Mark(s.x + i, s.y + game.nLineHeight - 1, 2);
      }
      for (int i = 0; i < game.nLineHeight; ++i) {
        Mark(s.x, s.y + i, 2);
        Mark(s.x + game.nCellWidth - 1, s.y + i, 2);
      }
      for (int i = 0; i <= s.nSymbol % 4; ++i) Mark(s.x + 2 + 2 * i, s.y + 2, 2);
    }
  }

  void MarkCells(int x, int y, int cell, int line, int columns, int rows) {
    for (int r = 0; r <= rows; ++r) {
      for (int c = 0; c <= columns; ++c) Mark(x + c * cell, y + r * line, 3);
    }
  }

  GoldenImage Picture() const {
    GoldenImage image = m_Image;
    constexpr std::uint32_t kColours[] = {kBackground, kText, kSymbol, kCellCorner};
    for (std::size_t i = 0; i < m_Index.size(); ++i) image.pixels[i] = kColours[m_Index[i] & 3];
    return image;
  }

 private:
  void Mark(int x, int y, std::uint8_t value) {
    if (x < 0 || y < 0 || x >= m_Image.width || y >= m_Image.height) return;
    std::uint8_t& pixel = m_Index[static_cast<std::size_t>(y) * m_Image.width + x];
    if (pixel == 0) pixel = value;
  }

  GoldenImage m_Image;
  std::vector<std::uint8_t> m_Index;
};

struct Face {
  const char* label;
  const char* name;  // CP932, as the program holds it
};

constexpr Face kFaces[] = {{"PGothic", "ＭＳ Ｐゴシック"}, {"Gothic", "ＭＳ ゴシック"}};

class GameFontGolden : public testing::TestWithParam<std::tuple<GameFont, Face>> {};

// Rows: plain, centred, symbols over lower case, two lines.
TEST_P(GameFontGolden, DrawsTheSampleSheet) {
  REQUIRE_IPA_FONTS();
  const auto& [game, face] = GetParam();
  const auto font = platform::TextFont::Create(face.name, game.nCharHeight);
  ASSERT_NE(font, nullptr);
  constexpr int kColumns = 20;
  Canvas canvas(kColumns * game.nCellWidth + 8, 5 * game.nLineHeight + 8);
  canvas.MarkCells(4, 4, game.nCellWidth, game.nLineHeight, kColumns, 5);
  const char* sample = "ステージ1 Score:0 ＯＫ！";
  canvas.Draw(*font, sample, 4, 4, game, false, false);
  canvas.Draw(*font, sample, 4, 4 + game.nLineHeight, game, true, false);
  canvas.Draw(*font, "Life abcあ\x81\x40wxyz", 4, 4 + 2 * game.nLineHeight, game, false, true);
  canvas.Draw(*font, "漢字かなカナ ｶﾅ\nLatin g/j @#%", 4, 4 + 3 * game.nLineHeight, game, false, false);
  EXPECT_TEXT_GOLDEN(canvas.Picture(), std::string("fonts/") + game.name + "_" + face.label);
}

INSTANTIATE_TEST_SUITE_P(
    ThreeFonts, GameFontGolden,
    testing::Combine(testing::ValuesIn(kGameFonts), testing::ValuesIn(kFaces)),
    [](const auto& info) { return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).label; });

// A project may name a face of its table that Linux has no font for: the
// text is still drawn, legibly, in the Japanese font fontconfig chooses.
TEST(GameFontFallback, FaceNoInstalledFontHasDrawsLegibleJapanese) {
  REQUIRE_IPA_FONTS();
  const GameFont& game = kGameFonts[1];
  const auto unknown = platform::TextFont::Create("HG創英角ﾎﾟｯﾌﾟ体", 16);
  const auto gothic = platform::TextFont::Create("IPAGothic", 16);
  ASSERT_NE(unknown, nullptr);
  ASSERT_NE(gothic, nullptr);
  Canvas drawn(12 * 16, 16);
  Canvas expected(12 * 16, 16);
  drawn.Draw(*unknown, "ゲームオーバー Score", 0, 0, game, false, false);
  expected.Draw(*gothic, "ゲームオーバー Score", 0, 0, game, false, false);
  EXPECT_EQ(drawn.Picture(), expected.Picture());
  EXPECT_TEXT_GOLDEN(drawn.Picture(), "fonts/unknown_face");
}

}  // namespace
