// Choosing a file to open or a place to save, through the platform's file
// chooser.
//
// filter is a pair of texts ended by zero bytes, as the callers write it:
// the name shown, then the patterns ("*.stg4_*;*.rpl4_*"), which match
// without regard to case. Results are program paths (CP932, '\' between
// folders): the open chooser gives the full path of an existing file, the
// save chooser a path relative to the current folder, with the default
// extension appended when the name has none, and confirmed by the user when
// that file exists already. A name that a program path cannot hold (no
// exact CP932 form) is refused with a box and the chooser shown again.
#pragma once

#include <string>

// 1 with path set when a file was chosen, 0 (path empty) when cancelled.
int OpenFileDialog(std::string& path, const char* folder, const char* title, const char* filter,
                   const char* defaultExtension);

// 1 with path set when a name was chosen, 0 when cancelled. With keepName
// the path's text is offered as the name, else it is cleared first.
int SaveFileDialog(std::string& path, const char* folder, const char* title, const char* filter,
                   const char* defaultExtension, int keepName);

// The program path of a native path (absolute or relative as given); false
// when it has no exact CP932 form.
bool ToProgramPath(const std::string& native, std::string& path);
