#include "scenes/front_end/menu_input.h"

#include "shell/checked_access.h"
#include "shell/input_state.h"

void FilterMenuInput(int nOneShotMask) {
  CheckedAt(g_InputStates, 0).ApplyAutoRepeat();
  CheckedAt(g_InputStates, 0).OneShotButtons(nOneShotMask);
}
