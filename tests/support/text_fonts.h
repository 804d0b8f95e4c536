// Text tests depend on the installed fonts: they skip when the IPA fonts are
// missing, and text goldens record what they were made with (the FreeType
// version, each IPA font file's size and checksum) in
// tests/goldens/fonts/environment.txt. A text golden that differs on a
// machine whose fonts or FreeType differ from the record is skipped with both
// descriptions instead of failing without a reason.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/golden_image.h"
#include "support/utf8.h"

bool IpaFontsInstalled();

#define REQUIRE_IPA_FONTS()                                                                                \
  do {                                                                                                     \
    if (!IpaFontsInstalled())                                                                              \
      GTEST_SKIP() << "the IPA fonts are not installed (scripts/test installs fonts-ipafont-gothic and " \
                      "fonts-ipafont-mincho)";                                                             \
  } while (0)

// This machine's text environment, in the form of the record.
std::string TextEnvironment();

struct TextGoldenResult {
  bool matches = false;
  bool machineDiffers = false;
  std::string message;
};
TextGoldenResult CompareTextGolden(const GoldenImage& image, const std::string& name);

#define EXPECT_TEXT_GOLDEN(image, name)                                  \
  do {                                                                   \
    const TextGoldenResult text_golden_ = CompareTextGolden(image, name); \
    if (text_golden_.machineDiffers) GTEST_SKIP() << text_golden_.message; \
    EXPECT_TRUE(text_golden_.matches) << text_golden_.message;           \
  } while (0)
