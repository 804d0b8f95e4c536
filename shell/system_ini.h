// System.ini: the start-up settings of the current folder.
//
// The file holds "key=value" lines. The key names and their defaults are the
// project's (the System.ini key list of the settings, entry i feeding field i
// of SYSTEMINIDATA). Keys compare case-sensitively; blanks, tabs and carriage
// returns are skipped anywhere in a key; a value ends at a blank, tab, "/",
// carriage return, line feed or zero byte, and what follows it on the line
// is read as the start of the next key (so a comment after "/" is ignored
// unless it holds "="). The file must end with an "Exit" line or a zero
// byte; one that simply ends is not read at all.
//
// Numbers read as atoi would (optional sign, leading digits, 0 without
// any), but clamped to the int range; a FreeStage value is taken only with 2
// to 259 characters. Keys and values longer than 2048 bytes keep their
// first 2048.
#pragma once

#include <vector>

class cEdIniKey;

struct SYSTEMINIDATA {
  int nDirect3D = 0;    // 0 DirectDraw, 1 Direct3D, 2 or more: ask in the launcher
  int nWindowMode = 0;  // 0 full screen, else a window
  int nBpp = 0;         // 8, 16 or 32; 0 chooses
  int nVSync = 0;       // 0 off, 1 on, 2 or more chooses
  int nShowFps = 0;     // 0 none, 1 and 2 two placements of the frame rate
  char szFreeStage[260] = {};  // a stage file to start directly; empty = none
};

extern SYSTEMINIDATA g_SystemIni;

// Fields 0 to 4 from the int values of keys 0 to 4, the stage from key 5.
void SetSystemIniDefaults(SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys);

// 1 when the file was read (fields it names are set), 0 when it cannot be
// opened or does not end properly (fields may have been set; the caller
// puts the defaults back).
int ReadSystemIni(const char* path, SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys);

// Start-up's step: the defaults of the project settings, then "System.ini";
// a file that is not read is reported in a box and every default is kept.
void LoadSystemIni(SYSTEMINIDATA& ini, const std::vector<cEdIniKey>& keys);
