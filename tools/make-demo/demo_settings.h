// The demo's settings: data\System.dat (the defaults of a new project with
// the demo's title, its one challenge stage, the six option rows and a start
// in a window without the launcher) and the System.ini beside it, whose
// keys and values are the settings' System.ini keys; and the player's
// options it ships.
#pragma once

#include <string>

#include "model/settings/system_data.h"
#include "model/user/options.h"

namespace demo {

cSystemData DemoSettings();

// The player's options the demo ships (user_data\Option.dat): the player's
// defaults, but music on and the sound effects at full volume, so that a
// first play is heard.
cOptionData DemoOptions();

// One "key=value" line per System.ini key of the settings, in their order,
// then the line "Exit" that ends the file. Lines end with a bare line feed:
// the reader would keep a carriage return in a text value.
std::string SystemIniText(const cSystemData& settings);

}  // namespace demo
