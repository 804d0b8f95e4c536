// Start-up switches that change how data files are read.
//
// g_bTestPlay is 1 when the program was started as the editor's test play
// (show-window value 5 on the command line), else 0. Start-up sets it before
// any data file is read; while it is nonzero, loaders keep test-only flows.
#pragma once

extern int g_bTestPlay;
