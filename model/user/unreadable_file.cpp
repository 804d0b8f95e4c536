#include "model/user/unreadable_file.h"

#include <filesystem>
#include <system_error>

#include "base/report.h"
#include "platform/files.h"

void KeepUnreadableFile(const std::string& path) {
  const std::filesystem::path native = platform::MapPath(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(native, error)) return;
  std::filesystem::path backup = native;
  backup += ".bak";
  std::filesystem::rename(native, backup, error);
  if (error) {
    ReportF("%s : unreadable, and it could not be kept as .bak (%s)", path.c_str(), error.message().c_str());
  } else {
    ReportF("%s : unreadable, kept as %s.bak", path.c_str(), path.c_str());
  }
}
