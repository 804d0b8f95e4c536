// Pictures compared exactly with golden PNG files.
//
// Goldens live in tests/goldens/ (a name may hold folders: "fonts/gothic16").
// A mismatch fails with the number of differing pixels and the first one, and
// writes NAME.actual.png and NAME.diff.png (differing pixels red over a dimmed
// golden) under build/.../tests/golden-diffs/. Running the tests with
// UPDATE_GOLDENS=1 writes the pictures as the new goldens instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct GoldenImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, rows top-down

  GoldenImage() = default;
  GoldenImage(int w, int h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
  std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const GoldenImage&) const = default;
};

bool WritePng(const std::filesystem::path& path, const GoldenImage& image);
bool ReadPng(const std::filesystem::path& path, GoldenImage* image);

std::filesystem::path GoldenPath(const std::string& name);
bool UpdatingGoldens();

// `context` is added to the failure message (what the picture depends on).
testing::AssertionResult MatchesGolden(const GoldenImage& image, const std::string& name,
                                       const std::string& context = {});
