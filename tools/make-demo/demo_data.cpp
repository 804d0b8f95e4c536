#include "tools/make-demo/demo_data.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <vector>

#include "model/stage/common_palette.h"
#include "model/stage/palette_scope.h"
#include "model/settings/paths.h"
#include "model/settings/project_context.h"
#include "platform/files.h"
#include "tools/make-demo/demo_database.h"
#include "tools/make-demo/demo_entries.h"
#include "tools/make-demo/demo_settings.h"
#include "tools/make-demo/demo_sounds.h"
#include "tools/make-demo/demo_stages.h"
#include "tools/make-demo/demo_world_map.h"

namespace demo {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSystemIniFile = "System.ini";

// The project folder is the current folder while the files are written.
class ScopedProjectFolder {
 public:
  explicit ScopedProjectFolder(const fs::path& root) : m_Previous(fs::current_path()) { fs::current_path(root); }
  ~ScopedProjectFolder() {
    std::error_code ignored;
    fs::current_path(m_Previous, ignored);
  }
  ScopedProjectFolder(const ScopedProjectFolder&) = delete;
  ScopedProjectFolder& operator=(const ScopedProjectFolder&) = delete;

 private:
  fs::path m_Previous;
};

// Files carry the current data version.
class ScopedDataVersion {
 public:
  ScopedDataVersion() : m_nPrevious(g_nDataVersion) { g_nDataVersion = DATA_VERSION; }
  ~ScopedDataVersion() { g_nDataVersion = m_nPrevious; }
  ScopedDataVersion(const ScopedDataVersion&) = delete;
  ScopedDataVersion& operator=(const ScopedDataVersion&) = delete;

 private:
  std::uint32_t m_nPrevious;
};

class ScopedDefinitionContext {
 public:
  explicit ScopedDefinitionContext(const cDefinitionContext& context) : m_pPrevious(&DefinitionContext()) {
    SetDefinitionContext(&context);
  }
  ~ScopedDefinitionContext() { SetDefinitionContext(m_pPrevious); }
  ScopedDefinitionContext(const ScopedDefinitionContext&) = delete;
  ScopedDefinitionContext& operator=(const ScopedDefinitionContext&) = delete;

 private:
  const cDefinitionContext* m_pPrevious;
};

// "<file>: <what>: <reason>", the file in the project's own form with '/'
// and the reason from errno, which the caller cleared before the call.
bool Fail(std::string& error, const std::string& file, const char* what) {
  const int code = errno;
  std::string path = file;
  std::replace(path.begin(), path.end(), '\\', '/');
  error = path + ": " + what;
  if (code != 0) error += std::string(": ") + std::strerror(code);
  return false;
}

bool Save(cEdRecord& record, const char* path, std::string& error) {
  errno = 0;
  return record.SaveFile(path) != 0 || Fail(error, path, "cannot be written");
}

bool CreateFolders(std::string& error) {
  CreateProjectFolders();
  for (const char* const* folder = g_aszProjectFolders; *folder != nullptr; ++folder) {
    std::error_code failure;
    if (fs::is_directory(platform::MapPath(*folder), failure)) continue;
    // Creating it again tells why it failed.
    fs::create_directories(platform::MapPath(*folder), failure);
    errno = failure.value();
    return Fail(error, *folder, "cannot be created");
  }
  return true;
}

bool WriteSystemIni(const cSystemData& settings, std::string& error) {
  const std::string text = SystemIniText(settings);
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  errno = 0;
  return platform::WriteFileAtomic(platform::MapPath(kSystemIniFile), bytes) ||
         Fail(error, kSystemIniFile, "cannot be written");
}

bool WriteFiles(std::string& error) {
  if (!CreateFolders(error)) return false;

  cDatabase database = DemoDatabase();
  cSystemData settings = DemoSettings();
  AddDemoSounds(database, settings);
  const cProjectContext context(database, settings);
  const ScopedDefinitionContext installed(context);

  errno = 0;
  if (database.SaveAll() == 0) return Fail(error, "data\\database\\", "the database files cannot be written");
  if (!Save(settings, g_astrFilePath[PATH_SYSTEM], error) || !WriteSystemIni(settings, error)) return false;
  cOptionData options = DemoOptions();
  if (!Save(options, g_astrFilePath[PATH_OPTION], error)) return false;

  cEdWorldMap map = DemoWorldMap();
  if (!Save(map, g_astrFilePath[PATH_WORLD_MAP], error)) return false;

  // Stages inherit from and are checked against the demo's common palette
  // (a stage scopes its own palette while it is saved).
  cEdCommonPalette palette = DemoCommonPalette();
  const cPaletteScope common(&palette, nullptr);
  if (!Save(palette, g_astrFilePath[PATH_COMMON_PALETTE], error)) return false;
  for (const DemoStageFile& file : DemoStageFiles()) {
    cEdStage stage = BuildStage(file.layout);
    if (!Save(stage, file.path, error)) return false;
  }
  return WriteDemoSounds(error);
}

}  // namespace

bool WriteDemoData(const fs::path& root, std::string& error) {
  try {
    fs::create_directories(root);
    const ScopedProjectFolder folder(root);
    const ScopedDataVersion version;
    return WriteFiles(error);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
}

}  // namespace demo
