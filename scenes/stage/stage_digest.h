// The state digest of a running stage: one JSON object with everything a
// replay or a restart must reproduce exactly (the hero and every character
// with position, speed, HP, SP and flags; the numbers of shots and items;
// the stage variables that are not 0; both scroll positions; score and
// total; time left; the random generator's state; the scene's state and
// step, the frame and sub-step counts). Doubles are written with 17
// significant digits, so equal digests mean equal states. Headless tests
// compare digests frame by frame; the state dump of a headless run
// (PLAYER_DUMP_STATE) includes it.
#pragma once

#include <string>

class cStageScene;

std::string StageDigestJson(const cStageScene& scene);
