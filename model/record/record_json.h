// Prints a record as JSON: every registered field and string by its member's
// name, then the lists and raw members of its tail. Texts are converted from
// CP932 to UTF-8; doubles that JSON cannot hold (NaN, infinities) print as
// strings.
#pragma once

#include <string>

class cEdRecord;

std::string RecordToJson(cEdRecord& record);
