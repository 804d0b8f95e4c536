// Narrow literals are CP932 in this program; tests write the expected UTF-8
// of files and names as u8"..." literals and compare them as std::string.
#pragma once

#include <string>
#include <string_view>

inline std::string Utf8(std::u8string_view text) { return {text.begin(), text.end()}; }
