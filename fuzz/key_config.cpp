// KeyConfig.dat: any bytes read as the key map, which the input then polls
// with (bindings naming any device and key code).
#include <vector>

#include "base/input_state.h"
#include "base/key_config.h"
#include "fuzz_file.h"
#include "platform/joystick.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SetDefaultKeyConfig(&g_KeyConfig);
  if (LoadKeyConfig(FuzzInputFile(data, size, "KeyConfig.dat").c_str(), &g_KeyConfig) == 0) std::abort();
  platform::SetJoystickState(0, 0, 65535, 0xFFFFFFFFu);
  cInputState input;
  input.SetJoyButtonMasks();
  input.PollKeyConfig(0);
  return 0;
}
