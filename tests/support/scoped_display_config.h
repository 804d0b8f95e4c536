// Sets the software display's configuration for one test and puts the
// defaults back (clearing pending faults) when the test ends.
#pragma once

#include "platform/video/display_config.h"

class ScopedDisplayConfig {
 public:
  explicit ScopedDisplayConfig(const platform::DisplayConfig& config = {}) {
    platform::ResetDisplayConfig();
    platform::SetDisplayConfig(config);
  }
  ~ScopedDisplayConfig() { platform::ResetDisplayConfig(); }
  ScopedDisplayConfig(const ScopedDisplayConfig&) = delete;
  ScopedDisplayConfig& operator=(const ScopedDisplayConfig&) = delete;

  void Set(const platform::DisplayConfig& config) { platform::SetDisplayConfig(config); }
};
