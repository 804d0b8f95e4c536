// Files addressed by Windows-style paths.
//
// The program names files as the project stores them: CP932 bytes, folders
// separated by '\'. MapPath turns such a path into a Linux path: the text is
// converted to UTF-8 before it is split (a CP932 trail byte may be 0x5C), and
// each component is matched exactly, then without regard to case, against
// what exists on disk. Components that do not exist are kept as given. A
// path that starts with a drive letter ("C:") names nothing: it maps to a
// path that can be neither opened, listed nor created.
//
// WriteFileAtomic writes into a temporary file of the same folder, flushes it
// to the disk and renames it over the target: on any failure the old file is
// left as it was, no temporary file remains, and false is returned. The
// temporary name is short (".player-<pid>-<n>.tmp"), so that names up to the
// file system's limit can be written; temporary files that a killed process
// left in the folder are removed by the next write there. A replaced file
// keeps its mode, and one the user may not write is refused (false); a
// symbolic link is written through: the file it names is replaced, beside
// itself, and the link stays.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

std::filesystem::path MapPath(std::string_view windowsPath);

// Reads the whole file at a program path: the path as given when it exists
// so (one look-up), else the path MapPath finds. False when it cannot be
// opened or read.
bool ReadProgramFile(std::string_view windowsPath, std::vector<std::uint8_t>& bytes);
// Makes the folder at a program path unless something exists there, under
// the name given or under one that matches it without regard to case.
void MakeFolder(std::string_view windowsFolder);
// True when the program path names a folder (or a link to one).
bool IsFolder(std::string_view windowsPath);

// The names of the entries of a folder, in CP932, in no particular order;
// empty when the folder does not exist. Names that a program path cannot
// give back (no exact CP932 form, or a backslash inside) are left out: the
// program could not name them.
std::vector<std::string> ListFolder(std::string_view windowsFolder);

// True when two CP932 file names name the same file: equal, or equal
// without regard to case.
bool SameFileName(std::string_view a, std::string_view b);

// Reads a whole file. False when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);
// Reads a whole regular file of at most maxBytes bytes. False, with the
// reason in `reason` ("no such file", "a folder", "larger than N bytes",
// the system's message ...), when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                   std::string& reason);

bool WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Test seam for failing writes (a full disk): WriteFileAtomic writes through
// this function, ::write unless a test sets another. nullptr restores
// ::write; the previous function is returned.
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t size);
WriteFunction SetWriteFunctionForTests(WriteFunction function);

}  // namespace platform
