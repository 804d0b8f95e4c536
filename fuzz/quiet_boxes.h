// Fuzz targets whose readers show error boxes: the boxes answer OK unseen.
#pragma once

#include "platform/message_box.h"

class QuietMessageBoxes : public platform::MessageBoxBackend {
 public:
  QuietMessageBoxes() { platform::SetMessageBoxBackend(this); }
  int Show(const std::string&, const std::string&, unsigned) override { return platform::IDOK; }
};
