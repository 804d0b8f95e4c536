// The demo's settings: data\System.dat (the defaults of a new project with
// the demo's title, its one challenge stage and a start in a window without
// the launcher) and the System.ini beside it, whose keys and values are the
// settings' System.ini keys.
#pragma once

#include <string>

#include "model/settings/system_data.h"

namespace demo {

cSystemData DemoSettings();

// One "key=value" line per System.ini key of the settings, in their order,
// then the line "Exit" that ends the file. Lines end with a bare line feed:
// the reader would keep a carriage return in a text value.
std::string SystemIniText(const cSystemData& settings);

}  // namespace demo
