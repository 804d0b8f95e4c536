// User files that exist but cannot be read (damaged, or of a later
// program) are kept before the program starts afresh and writes over them.
#pragma once

#include <string>

// Renames the file at the program path to NAME.bak (replacing an older one)
// and reports it, so that the next save, which starts from a fresh record,
// does not destroy the only copy. Nothing happens when no file is there.
void KeepUnreadableFile(const std::string& path);
