// Tests that play the demo project: the project is written into a temporary
// folder, which is the current folder while the test runs, and a stage
// harness is booted on it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/settings/system_data.h"
#include "support/stage_harness.h"
#include "support/temp_folder.h"
#include "tools/make-demo/demo_data.h"
#include "tools/make-demo/demo_images.h"

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

  TempFolder m_Folder;
  ScopedCurrentFolder m_Current{m_Folder.path()};
  std::unique_ptr<StageHarness> m_Harness;
};
