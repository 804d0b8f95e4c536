#include "base/paths.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "base/strings.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsAbsolute(std::string_view path) {
  return (!path.empty() && IsSeparator(path[0])) || HasDriveLetter(path);
}

// Position of the last separator that is not the trail byte of a
// double-byte character; npos when there is none.
std::size_t FindLastSeparator(std::string_view path) {
  std::size_t last = std::string_view::npos;
  const std::string text(path);  // zero-terminated for IsDoubleByteChar
  for (std::size_t i = 0; i < text.size();) {
    if (IsDoubleByteChar(text.c_str() + i)) {
      i += 2;
      continue;
    }
    if (IsSeparator(text[i])) last = i;
    ++i;
  }
  return last;
}

// The non-empty components of a path, split at its separators.
std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  const std::string text(path);
  std::string part;
  for (std::size_t i = 0; i < text.size();) {
    if (IsDoubleByteChar(text.c_str() + i)) {
      part.append(text, i, 2);
      i += 2;
      continue;
    }
    if (IsSeparator(text[i])) {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += text[i];
    }
    ++i;
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

std::string JoinPath(const std::vector<std::string>& parts, std::size_t from) {
  std::string path;
  for (std::size_t i = from; i < parts.size(); ++i) {
    if (i > from) path += '\\';
    path += parts[i];
  }
  return path;
}

// The current folder as the components of an absolute program path.
bool CurrentFolder(std::vector<std::string>& parts) {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return false;
  const std::string native = current.string();
  bool exact = false;
  const std::string program = platform::Utf8ToCp932(native, &exact);
  // A folder whose name holds a backslash would be split in two.
  if (!exact || native.find('\\') != std::string::npos) return false;
  parts = SplitPath(program);
  return true;
}

bool EndsWithSeparator(std::string_view path) {
  const std::size_t last = FindLastSeparator(path);
  return last != std::string_view::npos && last + 1 == path.size();
}

}  // namespace

int MakeAbsolutePath(std::string& path) {
  if (IsAbsolute(path)) return 1;
  std::vector<std::string> parts;
  if (!CurrentFolder(parts)) return 0;
  for (std::string& part : SplitPath(path)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string absolute(1, '\\');
  absolute += JoinPath(parts, 0);
  if (EndsWithSeparator(path) && absolute.size() > 1) absolute += '\\';
  path = std::move(absolute);
  return 1;
}

int MakeRelativePath(std::string& path) {
  if (!IsAbsolute(path)) return 1;
  if (HasDriveLetter(path)) return 0;  // another drive: no relative path
  std::vector<std::string> current;
  if (!CurrentFolder(current)) return 0;
  const std::vector<std::string> target = SplitPath(path);
  std::size_t common = 0;
  while (common < current.size() && common < target.size() && current[common] == target[common])
    ++common;
  std::string relative;
  if (common == current.size()) {
    relative = ".";
  } else {
    for (std::size_t i = common; i < current.size(); ++i) relative += i == common ? ".." : "\\..";
  }
  if (common < target.size()) {
    relative += '\\';
    relative += JoinPath(target, common);
  }
  if (EndsWithSeparator(path)) relative += '\\';
  path = std::move(relative);
  return 1;
}

void StripDirectory(std::string& path) {
  const std::size_t last = FindLastSeparator(path);
  if (last != std::string::npos) path.erase(0, last + 1);
}

int GetExtension(std::string& out, std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return 0;
  out = path.substr(dot + 1);
  return 1;
}

int ReplaceExtension(std::string& out, std::string_view path, const char* extension) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) {
    out = path;
    return 0;
  }
  std::string replaced(path.substr(0, dot));
  if (extension) replaced.append(".").append(extension);
  out = std::move(replaced);
  return 1;
}

int InsertNumberSuffix(std::string& out, std::string_view path, int a, int b) {
  std::string extension;
  const bool digits = a >= 0 && a <= 9 && b >= 0 && b <= 9;
  if (!digits || !GetExtension(extension, path)) {
    out = path;
    return 0;
  }
  std::string numbered(path.substr(0, path.rfind('.')));
  numbered += '_';
  numbered += static_cast<char>('0' + a);
  numbered += static_cast<char>('0' + b);
  out = numbered + "." + extension;
  return 1;
}

int FindNewestVersion(std::string& out, std::string_view path, const char* baseExtension) {
  std::string base;
  ReplaceExtension(base, path, baseExtension);  // without an extension base is the path
  const std::size_t separator = FindLastSeparator(base);
  const std::string folder =
      separator == std::string::npos ? "" : base.substr(0, separator == 0 ? 1 : separator);
  const std::string name = separator == std::string::npos ? base : base.substr(separator + 1);

  // One listing instead of a look-up per number: the result is the same.
  int newest = -1;
  for (const std::string& entry : platform::ListFolder(folder)) {
    if (entry.size() != name.size() + 4 || entry[name.size()] != '_') continue;
    int number = 0;
    bool digits = true;
    for (std::size_t i = name.size() + 1; i < entry.size(); ++i) {
      digits = digits && entry[i] >= '0' && entry[i] <= '9';
      number = number * 10 + (entry[i] - '0');
    }
    if (digits && number > newest && platform::SameFileName(entry.substr(0, name.size()), name))
      newest = number;
  }
  if (newest < 0) return 0;
  out = base + "_" + static_cast<char>('0' + newest / 100) +
        static_cast<char>('0' + newest / 10 % 10) + static_cast<char>('0' + newest % 10);
  return 1;
}
