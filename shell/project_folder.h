// The checks on the current folder before the player writes anything there:
// it must be a project, and a project folder the player can write into (its
// report, options, saves and rankings live there). A failure is told on
// standard error and in an error box that names the folder.
#pragma once

// True when the current folder holds data\System.dat, or has no data folder
// and a default folder with System.dat, from which start-up makes the data
// folder. Otherwise tells that data\System.dat is missing.
bool CheckProjectFolder();

// Tells that the project folder cannot be written into (the report could
// not be created there).
void TellProjectFolderReadOnly();
