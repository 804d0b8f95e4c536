// System.ini: any bytes read with the project's default keys.
#include "fuzz_file.h"
#include "model/settings/system_data.h"
#include "shell/system_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const cSystemData defaults;
  SYSTEMINIDATA ini;
  SetSystemIniDefaults(ini, defaults.m_vIniKeys);
  ReadSystemIni(FuzzInputFile(data, size, "System.ini").c_str(), ini, defaults.m_vIniKeys);
  return 0;
}
