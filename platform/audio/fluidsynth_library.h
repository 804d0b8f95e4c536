// FluidSynth, loaded with dlopen when the first MIDI stream opens, so that
// a run that plays no MIDI never maps the library nor the dozens it needs
// (PulseAudio, JACK, ALSA, libsndfile, OpenMP ...). The table holds the
// functions the MIDI stream calls, under FluidSynth's own names and types
// (from its header; the program does not link the library).
#pragma once

#include <fluidsynth.h>

namespace platform {

struct FluidSynthLibrary {
  decltype(&::new_fluid_settings) new_fluid_settings = nullptr;
  decltype(&::delete_fluid_settings) delete_fluid_settings = nullptr;
  decltype(&::fluid_settings_setnum) fluid_settings_setnum = nullptr;
  decltype(&::fluid_settings_setint) fluid_settings_setint = nullptr;
  decltype(&::new_fluid_synth) new_fluid_synth = nullptr;
  decltype(&::delete_fluid_synth) delete_fluid_synth = nullptr;
  decltype(&::fluid_synth_sfload) fluid_synth_sfload = nullptr;
  decltype(&::fluid_synth_noteon) fluid_synth_noteon = nullptr;
  decltype(&::fluid_synth_noteoff) fluid_synth_noteoff = nullptr;
  decltype(&::fluid_synth_key_pressure) fluid_synth_key_pressure = nullptr;
  decltype(&::fluid_synth_cc) fluid_synth_cc = nullptr;
  decltype(&::fluid_synth_program_change) fluid_synth_program_change = nullptr;
  decltype(&::fluid_synth_channel_pressure) fluid_synth_channel_pressure = nullptr;
  decltype(&::fluid_synth_pitch_bend) fluid_synth_pitch_bend = nullptr;
  decltype(&::fluid_synth_all_notes_off) fluid_synth_all_notes_off = nullptr;
  decltype(&::fluid_synth_sysex) fluid_synth_sysex = nullptr;
  decltype(&::fluid_synth_system_reset) fluid_synth_system_reset = nullptr;
  decltype(&::fluid_synth_write_float) fluid_synth_write_float = nullptr;
};

// Loads the library at the first call (from any thread) and keeps it for
// the rest of the process; null when it cannot be loaded or lacks one of
// the functions.
const FluidSynthLibrary* LoadFluidSynth();

}  // namespace platform
