#include "shell/dialog_mode.h"

#include "graphics/device.h"

int RunInDialogMode(const std::function<int()>& dialog) {
  DDSetGDIMode(1);
  const int answer = dialog();
  DDSetGDIMode(0);
  return answer;
}
