// Tests that play the demo project: the project is written into a temporary
// folder, which is the current folder while the test runs, and a stage
// harness is booted on it. Short stages drawn with the demo's own cells
// (tools/make-demo/demo_stages.h) can be saved over the demo's stage files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/settings/system_data.h"
#include "scenes/stage/stage_scene.h"
#include "support/stage_harness.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"
#include "tools/make-demo/demo_stages.h"

// A stage of 20 columns whose last three rows are given: the hero's row and
// the two rows of ground under it; open sky above.
inline cEdStage DemoRoad(const char* name, const char* heroRow, demo::eGoalKind goal = demo::eGoalKind::NextPart,
                         const char* groundRow = "####################",
                         const char* bottomRow = "####################") {
  std::vector<std::string> rows(12, std::string(20, '.'));
  rows.insert(rows.end(), {heroRow, groundRow, bottomRow});
  return demo::BuildStage({name, rows, goal});
}

class DemoHarnessTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(demo::WriteDemoImages(m_Folder.path(), error) && demo::WriteDemoData(m_Folder.path(), error)) << error;
    m_Harness = std::make_unique<StageHarness>();
    ASSERT_TRUE(m_Harness->Started()) << m_Harness->Error();
    // Without recording the seed stays, so a restart draws the same numbers.
    g_SystemData.m_bRecordReplay = 0;
  }
  void TearDown() override { m_Harness.reset(); }

  StageHarness& Harness() { return *m_Harness; }
  cStageScene& Stage() { return *m_Harness->Stage(); }

  // Saves a stage into the project under a program path.
  void Save(const cEdStage& stage, const char* path) { ASSERT_TRUE(StageHarness::SaveStage(stage, path)) << path; }

  // Right held until the stage is in `state`.
  void WalkRightUntil(int state) {
    Harness().Hold("RIGHT");
    const bool reached = Harness().RunUntilState(state, 300);
    Harness().Release("RIGHT");
    Harness().Frame();
    ASSERT_TRUE(reached) << "state " << state << " not reached; in " << Stage().m_nState;
  }

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  std::unique_ptr<StageHarness> m_Harness;
};
