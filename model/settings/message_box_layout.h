// Layout of the framed message boxes in which the scenes show the settings'
// message texts (prompts, pause and continue menus): one line per text,
// 16 pixels per character, with an optional free column at the left for the
// menu cursor. Drawing the box belongs with the game fonts.
#pragma once

// The left edge that centres on x a box for message texts nFirst to
// nFirst + nCount - 1 of g_SystemData.
int CenterMessageBoxX(int x, int nFirst, int nCount, int bCursor);

// The box width in characters: the longest of those texts, plus the cursor
// column.
int MessageBoxChars(int nFirst, int nCount, int bCursor);
