// The data part of start-up: everything the player reads from the project
// folder (the current folder) before its first scene, in the start-up order.
//
// LoadProjectData sets the data version and the text conversion, makes sure
// that data\ exists (offering to create it from default\), creates the
// project and user folders, reads the database and builds the tables the
// game derives from it, installs the project's definition context, then
// reads data\System.dat, user_data\Option.dat (a missing or damaged file
// keeps the defaults), data\WorldMap.dat and data\CommonPalette.cplt4.
//
// From the database on, validation of definitions answers from the loaded
// project: cProjectContext over g_Database and g_SystemData, under an
// outermost palette scope over g_CommonPalette and g_LoadedStage that stays
// for the rest of the run. A stage is read afterwards with LoadStageFile.
//
// A failure is reported as start-up reports it (report line, error log and
// error box) and ends the load at once; the reported text is also returned
// in `error`.
#pragma once

#include <string>

bool LoadProjectData(std::string& error);
