#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNowhere = "/dev/null";

// Code points of a UTF-8 name with the case folded the way Windows compares
// file names, for every cased letter that CP932 can write: Latin, full-width
// Latin, Greek, Cyrillic and the Roman numerals. A byte that is not valid
// UTF-8 stands for itself (as U+DC80 + byte) so that it still compares.
std::u32string FoldName(std::string_view utf8) {
  std::u32string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    char32_t c = 0;
    std::size_t length = 0;
    if (b < 0x80) { c = b; length = 1; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; length = 2; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; length = 3; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; length = 4; }
    bool valid = length > 0 && i + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned char t = static_cast<unsigned char>(utf8[i + k]);
      if ((t & 0xC0) != 0x80) valid = false;
      c = (c << 6) | (t & 0x3F);
    }
    if (!valid) { c = 0xDC80 + b; length = 1; }
    i += length;

    if ((c >= U'A' && c <= U'Z') || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
      c += 0x20;
    else if (c >= 0xFF21 && c <= 0xFF3A) c += 0x20;   // full-width Latin
    else if (c >= 0x400 && c <= 0x40F) c += 0x50;     // Cyrillic Ё and others
    else if (c >= 0x2160 && c <= 0x216F) c += 0x10;   // Roman numerals
    out.push_back(c);
  }
  return out;
}

bool Exists(const char* path) {
  struct stat st;
  return ::lstat(path, &st) == 0;
}

bool NamesDrive(std::string_view text) {
  return text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]));
}

bool IsAbsolute(std::string_view text) { return !text.empty() && (text.front() == '\\' || text.front() == '/'); }

// The non-empty pieces of a path between its separators.
std::vector<std::string_view> Components(std::string_view text) {
  std::vector<std::string_view> components;
  for (std::size_t begin = 0; begin <= text.size();) {
    std::size_t end = text.find_first_of("\\/", begin);
    if (end == std::string_view::npos) end = text.size();
    if (end > begin) components.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return components;
}

// The components of the text joined by '/', after a '/' when the path is
// absolute.
std::string Joined(std::string_view text) {
  std::string joined = IsAbsolute(text) ? "/" : "";
  joined.reserve(text.size() + 1);
  bool between = false;  // separators after a component
  for (const char c : text) {
    if (c == '\\' || c == '/') {
      between = !joined.empty() && joined.back() != '/';
      continue;
    }
    if (between) joined += '/';
    between = false;
    joined += c;
  }
  return joined;
}

// The Linux path of a program path with every component under the name
// given; empty for a path without components or with a drive letter.
std::string GivenPath(std::string_view windowsPath) {
  const std::string text = Cp932ToUtf8(windowsPath);
  if (NamesDrive(text)) return {};
  std::string given = Joined(text);
  return given == "/" ? std::string() : given;
}

// Non-blocking, so that a named pipe standing where a file should be is
// refused by ReadOpenFile instead of blocking the open; regular files read
// as usual.
int OpenForReading(const char* path) { return ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK); }

// Reads the whole regular file open at fd (a failed open when negative, its
// reason in errno) and closes it.
bool ReadOpenFile(int fd, std::size_t maxBytes, std::vector<std::uint8_t>& bytes, std::string& reason) {
  const auto fail = [&reason](int fd, std::string why) {
    if (fd >= 0) ::close(fd);
    reason = std::move(why);
    return false;
  };
  if (fd < 0) return fail(fd, errno == ENOENT ? "no such file" : std::strerror(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0) return fail(fd, std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return fail(fd, "a folder, not a file");
  if (!S_ISREG(st.st_mode)) return fail(fd, "not a regular file (a pipe, socket or device)");
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
    return fail(fd, "larger than " + std::to_string(maxBytes) + " bytes");
  }
  // Read straight into the result, with room for one byte more than the
  // file had: a file that has not grown comes short of it in one read,
  // which is its end.
  const std::size_t statSize = static_cast<std::size_t>(st.st_size);
  std::vector<std::uint8_t> data(statSize + 1);
  std::size_t size = 0;
  for (;;) {
    if (size == data.size()) data.resize(size + std::max<std::size_t>(size / 2, 65536));
    const std::size_t asked = data.size() - size;
    const ssize_t n = ::read(fd, data.data() + size, asked);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(fd, std::strerror(errno));
    if (n == 0) break;
    // A file that grows while it is read is held to the same limit.
    if (static_cast<std::size_t>(n) > maxBytes - size) {
      return fail(fd, "larger than " + std::to_string(maxBytes) + " bytes");
    }
    size += static_cast<std::size_t>(n);
    if (static_cast<std::size_t>(n) < asked && size == statSize) break;
  }
  ::close(fd);
  data.resize(size);
  bytes = std::move(data);
  return true;
}

// The entry of dir whose name equals name without regard to case; the
// smallest such name when several do.
std::optional<std::string> FindEntryIgnoringCase(const fs::path& dir, const std::string& name) {
  const std::u32string wanted = FoldName(name);
  std::optional<std::string> found;
  std::error_code error;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, error), end;
       !error && it != end; it.increment(error)) {
    std::string entry = it->path().filename().string();
    if (FoldName(entry) == wanted && (!found || entry < *found)) found = std::move(entry);
  }
  return found;
}

std::atomic<WriteFunction> g_WriteFunction{nullptr};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  const WriteFunction write = g_WriteFunction.load();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write ? write(fd, bytes.data() + done, bytes.size() - done)
                            : ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // a write that makes no progress would never end
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Temporary files are named ".player-<pid>-<n>.tmp": short, so that a
// target whose own name is near the 255-byte limit can still be written, and
// marked with the writer's process, so that one left by a killed process can
// be recognised and removed.
constexpr std::string_view kTempPrefix = ".player-";
constexpr std::string_view kTempSuffix = ".tmp";

// The process id of a temporary file name of ours; 0 when it is not one.
pid_t TemporaryFileOwner(std::string_view name) {
  if (name.size() <= kTempPrefix.size() + kTempSuffix.size() || !name.starts_with(kTempPrefix) ||
      !name.ends_with(kTempSuffix))
    return 0;
  name.remove_prefix(kTempPrefix.size());
  const std::size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos) return 0;
  pid_t pid = 0;
  for (const char c : name.substr(0, dash)) {
    if (c < '0' || c > '9' || pid > 100000000) return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

// Removes the temporary files of processes that no longer run.
void RemoveStaleTemporaryFiles(const fs::path& dir) {
  std::error_code error;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, error), end;
       !error && it != end; it.increment(error)) {
    const pid_t owner = TemporaryFileOwner(it->path().filename().native());
    if (owner > 0 && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
      ::unlink(it->path().c_str());
  }
}

// A fresh file next to the target, created with the usual permissions.
int CreateTemporaryFile(const fs::path& target, fs::path& tempPath) {
  static std::atomic<unsigned> counter{0};
  const fs::path dir = target.parent_path();
  RemoveStaleTemporaryFiles(dir);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = dir / (std::string(kTempPrefix) + std::to_string(::getpid()) + "-" +
                      std::to_string(counter++) + std::string(kTempSuffix));
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The file a write to `path` lands in: path itself, or the file that the
// symbolic link at path names, through any chain of links; nothing for a
// chain that does not end.
std::optional<fs::path> FileALinkNames(fs::path path) {
  for (int links = 0; links < 40; ++links) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    const fs::path named = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = named.is_absolute() ? named : path.parent_path() / named;
  }
  return std::nullopt;
}

void SyncFolder(const fs::path& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the rename is done; failing to flush the folder loses nothing now
  ::close(fd);
}

}  // namespace

fs::path MapPath(std::string_view windowsPath) {
  const std::string text = Cp932ToUtf8(windowsPath);
  // "C:" names a drive of another system. Below /dev/null, which is no
  // folder, nothing can be opened, listed or created.
  if (NamesDrive(text)) return fs::path(kNowhere) / text;
  const bool absolute = IsAbsolute(text);
  const std::vector<std::string_view> components = Components(text);

  // The path as given: when it exists, so does every component on the way
  // under the name given, which is the match the walk below would find for
  // each; one look-up instead of one per component.
  std::string given = Joined(text);
  if (!components.empty() && Exists(given.c_str())) return given;

  fs::path result = absolute ? "/" : "";
  bool resolving = true;  // once a component is missing, the rest cannot exist
  for (std::string_view view : components) {
    const std::string component(view);
    if (!resolving || component == "." || component == ".." || Exists((result / component).c_str())) {
      result /= component;
      continue;
    }
    if (auto match = FindEntryIgnoringCase(result, component)) {
      result /= *match;
    } else {
      result /= component;
      resolving = false;
    }
  }
  return result;
}

bool ReadProgramFile(std::string_view windowsPath, std::vector<std::uint8_t>& bytes) {
  std::string ignored;
  // The path as given is opened straight away; only a path that does not
  // exist so is looked up component by component.
  const std::string given = GivenPath(windowsPath);
  if (!given.empty()) {
    const int fd = OpenForReading(given.c_str());
    if (fd >= 0 || (errno != ENOENT && errno != ENOTDIR)) return ReadOpenFile(fd, SIZE_MAX, bytes, ignored);
  }
  return ReadOpenFile(OpenForReading(MapPath(windowsPath).c_str()), SIZE_MAX, bytes, ignored);
}

void MakeFolder(std::string_view windowsFolder) {
  // Whatever exists under the name given stays, and would make mkdir fail.
  const std::string given = GivenPath(windowsFolder);
  if (!given.empty() && Exists(given.c_str())) return;
  ::mkdir(MapPath(windowsFolder).c_str(), 0777);
}

bool IsFolder(std::string_view windowsPath) {
  const std::string given = GivenPath(windowsPath);
  struct stat st;
  if (!given.empty() && ::stat(given.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  std::error_code error;
  return fs::is_directory(MapPath(windowsPath), error);
}

std::vector<std::string> ListFolder(std::string_view windowsFolder) {
  std::vector<std::string> names;
  const fs::path folder = MapPath(windowsFolder);
  std::error_code error;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end;
       !error && it != end; it.increment(error)) {
    const std::string native = it->path().filename().string();
    bool exact = false;
    std::string name = Utf8ToCp932(native, &exact);
    // A backslash inside a name would split it in a program path.
    if (exact && native.find('\\') == std::string::npos) names.push_back(std::move(name));
  }
  return names;
}

bool SameFileName(std::string_view a, std::string_view b) {
  return a == b || FoldName(Cp932ToUtf8(a)) == FoldName(Cp932ToUtf8(b));
}

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::string ignored;
  return ReadWholeFile(path, SIZE_MAX, bytes, ignored);
}

bool ReadWholeFile(const fs::path& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                   std::string& reason) {
  return ReadOpenFile(OpenForReading(path.c_str()), maxBytes, bytes, reason);
}

bool WriteFileAtomic(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const std::optional<fs::path> target = FileALinkNames(path);
  if (!target) return false;
  struct stat old;
  const bool replacing = ::stat(target->c_str(), &old) == 0;
  // A file the user may not write is not replaced behind their back.
  if (replacing && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) return false;
  fs::path tempPath;
  const int fd = CreateTemporaryFile(*target, tempPath);
  if (fd < 0) return false;
  bool ok = (!replacing || ::fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(tempPath.c_str(), target->c_str()) == 0) {
    SyncFolder(target->parent_path());
    return true;
  }
  ::unlink(tempPath.c_str());
  return false;
}

WriteFunction SetWriteFunctionForTests(WriteFunction function) {
  return g_WriteFunction.exchange(function);
}

}  // namespace platform
