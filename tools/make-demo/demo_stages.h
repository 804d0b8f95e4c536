// The demo's stages, each with the file it is saved to: the story stage
// that the world map enters, the challenge stage with its follow-on part,
// and the free stage.
//
// A stage is drawn as 15 rows of text, one character per 32-pixel cell:
//   '#' ground, 'B' brick, '^' spikes (deadly), '~' a cloud that throws the
//   hero up, 'H' the hero, 'w' a walker, 's' a shooter, 'f' a flyer,
//   'c' a coin, 'h' a heart, 'G' the goal, '.' nothing.
// Each stage's palette holds the common palette's entries at the same
// indices, every one inheriting all of its template; every placed object
// inherits all of its stage palette entry. The goal of the last part of a
// series keeps its own stage clear, which ends the series.
#pragma once

#include <string>
#include <vector>

#include "model/stage/stage.h"
#include "tools/make-demo/demo_entries.h"

namespace demo {

struct StageLayout {
  const char* name;
  std::vector<std::string> rows;
  eGoalKind goal;
};

// The stage of a layout. Throws std::invalid_argument when the rows are not
// 15 of one length (at least the 20 x 15 view) or hold an unknown character.
cEdStage BuildStage(const StageLayout& layout);

struct DemoStageFile {
  const char* path;
  StageLayout layout;
};

std::vector<DemoStageFile> DemoStageFiles();

}  // namespace demo
