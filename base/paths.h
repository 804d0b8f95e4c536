// Path and file-name functions on program paths.
//
// A program path is CP932 text whose folders are separated by '\' ('/' is
// accepted too); a backslash that is the second byte of a double-byte
// character is part of that character, never a separator. A relative path
// is relative to the current folder; an absolute path starts with '\' at
// the root of the file system. A path that starts with a drive letter
// ("C:") counts as absolute but names nothing on this system.
//
// Results are whole strings, never cut. Functions that can fail return 1 on
// success and 0 on failure, and leave their output as it was on failure
// unless they say otherwise. Files are looked up through platform::MapPath,
// so names match without regard to case.
#pragma once

#include <string>
#include <string_view>

// A relative path becomes absolute from the current folder, with "." and
// ".." resolved; an absolute one is left. 0 when the current folder cannot
// be read or has no program path (a name without an exact CP932 form, or
// with a backslash in it).
int MakeAbsolutePath(std::string& path);

// An absolute path becomes relative to the current folder: ".\x" below it,
// "..\x" beside it; a relative one is left. 0 when no relative path exists
// (a drive letter) or the current folder cannot be read.
int MakeRelativePath(std::string& path);
inline int MakeRelativePathStr(std::string& path) { return MakeRelativePath(path); }

// Keeps only the part after the last separator.
void StripDirectory(std::string& path);

// out = the text after the last "." of the whole path (which may lie in a
// folder name). 0 when the path has no ".".
int GetExtension(std::string& out, std::string_view path);

// out = path with the text after its last "." replaced by extension; with
// no extension (nullptr) the "." goes too. Without a ".", out = path and 0.
int ReplaceExtension(std::string& out, std::string_view path, const char* extension);

// out = path with "_ab" before its extension: x.rpl4_566 with 0 and 3 gives
// x_03.rpl4_566. 0, and out = path, when there is no extension or a or b is
// not a digit.
int InsertNumberSuffix(std::string& out, std::string_view path, int a, int b);

// The newest numbered version of a file: the path with its extension
// replaced by baseExtension (taken whole when it has none) followed by
// "_000" to "_999"; out = the existing name with the highest number. 0 when
// none exists.
int FindNewestVersion(std::string& out, std::string_view path, const char* baseExtension);
inline int FindNewestVersionStr(std::string& out, const std::string& path,
                                const char* baseExtension) {
  return FindNewestVersion(out, path, baseExtension);
}
