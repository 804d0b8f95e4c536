// Writes the data of the demo project: the 22 project folders,
// data\System.dat and System.ini, the ten database files,
// data\CommonPalette.cplt4, data\WorldMap.dat and the stage files of
// data\stg4\, every data file through the model's own Save; then the
// sounds and music (demo_sounds.h).
//
// The files are written with the project folder as the current folder (as
// the player reads them); the current folder is restored afterwards. The
// definitions are saved under a definition context over the demo's own
// database, settings and palettes, so that their references are checked
// against what the project holds. The same bytes on every run.
#pragma once

#include <filesystem>
#include <string>

namespace demo {

// False, with "<file>: <what>: <reason>" in `error` (the file relative to
// the project folder, with '/'), at the first file or folder that cannot be
// written; files written before stay.
bool WriteDemoData(const std::filesystem::path& root, std::string& error);

}  // namespace demo
