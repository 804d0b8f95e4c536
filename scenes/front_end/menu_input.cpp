#include "scenes/front_end/menu_input.h"

#include "base/checked_access.h"
#include "base/input_state.h"

void FilterMenuInput(int nOneShotMask) {
  CheckedAt(g_InputStates, 0).ApplyAutoRepeat();
  CheckedAt(g_InputStates, 0).OneShotButtons(nOneShotMask);
}
