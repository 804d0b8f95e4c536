#include "platform/audio/fluidsynth_library.h"

#include <dlfcn.h>

namespace platform {

namespace {

template <typename Function>
bool Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

const FluidSynthLibrary* Load() {
  // The soname of FluidSynth 2 on Debian 12, then the development link.
  void* library = ::dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_LOCAL);
  if (!library) library = ::dlopen("libfluidsynth.so", RTLD_NOW | RTLD_LOCAL);
  if (!library) return nullptr;
  static FluidSynthLibrary table;
  FluidSynthLibrary& t = table;
  const bool bound =
      Bind(library, "new_fluid_settings", t.new_fluid_settings) &&
      Bind(library, "delete_fluid_settings", t.delete_fluid_settings) &&
      Bind(library, "fluid_settings_setnum", t.fluid_settings_setnum) &&
      Bind(library, "fluid_settings_setint", t.fluid_settings_setint) &&
      Bind(library, "new_fluid_synth", t.new_fluid_synth) &&
      Bind(library, "delete_fluid_synth", t.delete_fluid_synth) &&
      Bind(library, "fluid_synth_sfload", t.fluid_synth_sfload) &&
      Bind(library, "fluid_synth_noteon", t.fluid_synth_noteon) &&
      Bind(library, "fluid_synth_noteoff", t.fluid_synth_noteoff) &&
      Bind(library, "fluid_synth_key_pressure", t.fluid_synth_key_pressure) &&
      Bind(library, "fluid_synth_cc", t.fluid_synth_cc) &&
      Bind(library, "fluid_synth_program_change", t.fluid_synth_program_change) &&
      Bind(library, "fluid_synth_channel_pressure", t.fluid_synth_channel_pressure) &&
      Bind(library, "fluid_synth_pitch_bend", t.fluid_synth_pitch_bend) &&
      Bind(library, "fluid_synth_all_notes_off", t.fluid_synth_all_notes_off) &&
      Bind(library, "fluid_synth_sysex", t.fluid_synth_sysex) &&
      Bind(library, "fluid_synth_system_reset", t.fluid_synth_system_reset) &&
      Bind(library, "fluid_synth_write_float", t.fluid_synth_write_float);
  return bound ? &table : nullptr;
}

}  // namespace

const FluidSynthLibrary* LoadFluidSynth() {
  static const FluidSynthLibrary* const library = Load();
  return library;
}

}  // namespace platform
