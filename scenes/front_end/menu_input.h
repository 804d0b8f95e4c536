// The front end's filter of player 1's input, run at the start of every
// front-end frame: directions auto-repeat (a new press, then from the
// repeat delay every interval), and the masked buttons pass once per press.
// The filter changes element 0 of g_InputStates in place, so the scene's
// states and its drawing see the filtered bits.
#pragma once

// The menu buttons of wButton.
constexpr int MENU_DECIDE = 1;
constexpr int MENU_CANCEL = 2;
// The ranking keys: show or hide the ranking, and step its kind.
constexpr int MENU_RANKING_SHOW = 4;
constexpr int MENU_RANKING_KIND = 8;

// Button masks: decide and cancel; with them the two ranking keys.
constexpr int MENU_ONE_SHOT_BUTTONS = 3;
constexpr int MENU_ONE_SHOT_BUTTONS_AND_RANKING = 15;

void FilterMenuInput(int nOneShotMask);
