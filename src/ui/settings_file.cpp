#include "ui/settings_file.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "text/text.h"

namespace sumora {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Attempts at a fresh temporary name before a write gives up; names left by
// earlier runs that died mid-write are skipped over.
constexpr int kMaxTemporaryNameAttempts = 100;

bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Position of the first single-byte character c in text, stepping over
// double-byte characters whole, or npos.
std::size_t FindCharacter(std::string_view text, char c) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(text[i])) {
      ++i;  // the second byte of the pair is never a character of its own
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool second_byte = false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (second_byte || IsLeadByte(a[i])) {
      if (a[i] != b[i]) return false;
      second_byte = !second_byte;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

// A section or key name as the caller gives it: up to its first zero byte,
// without the blanks around it.
std::string_view NormalizeName(std::string_view name) {
  return Trim(name.substr(0, name.find('\0')));
}

// A value cut so that it fits the read buffer, never splitting a double-byte
// character.
std::string_view CutToValueLimit(std::string_view value) {
  if (value.size() <= kMaxProfileValueBytes) return value;
  std::size_t end = 0;
  while (end < kMaxProfileValueBytes) {
    const std::size_t width = IsLeadByte(value[end]) ? 2 : 1;
    if (end + width > kMaxProfileValueBytes) break;
    end += width;
  }
  return value.substr(0, end);
}

// The text a key line's raw value reads as.
std::string CleanValue(std::string_view raw) {
  std::string_view value = Trim(raw.substr(0, raw.find('\0')));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(CutToValueLimit(value));
}

// One line of the file, as offsets into the file's bytes.
struct ProfileLine {
  enum class Kind {
    kBlank,    // nothing but blanks
    kComment,  // starts with ";"
    kSection,  // "[name]"
    kKey,      // "key=value"
    kOther,    // anything else: ignored when read, kept when written
  };
  Kind kind = Kind::kBlank;
  std::size_t end = 0;          // one past the last byte before the line end
  std::size_t next = 0;         // start of the next line (after the line end)
  std::string_view name;        // section or key name, trimmed
  std::size_t value_begin = 0;  // the trimmed value of a key line
  std::size_t value_end = 0;
};

// Walks the lines of a file once, front to back.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes)
      : bytes_(bytes),
        start_(bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size()
                                                     : 0),
        position_(start_) {}

  // The offset where the first line starts (after a byte order mark).
  std::size_t start() const { return start_; }

  bool Next(ProfileLine& line) {
    if (position_ >= bytes_.size()) return false;
    const std::size_t begin = position_;
    const std::size_t line_end = bytes_.find_first_of(kLineEnd, begin);
    if (line_end == std::string_view::npos) {
      line.end = line.next = bytes_.size();
    } else {
      line.end = line_end;
      line.next = line_end + 1;
      if (bytes_[line_end] == '\r' && line.next < bytes_.size() &&
          bytes_[line.next] == '\n') {
        ++line.next;
      }
    }
    position_ = line.next;
    Classify(bytes_.substr(begin, line.end - begin), line);
    return true;
  }

 private:
  void Classify(std::string_view content, ProfileLine& line) const {
    const std::string_view text = Trim(content);
    line.name = {};
    if (text.empty()) {
      line.kind = ProfileLine::Kind::kBlank;
      return;
    }
    if (text.front() == ';') {
      line.kind = ProfileLine::Kind::kComment;
      return;
    }
    if (text.front() == '[') {
      const std::size_t close = FindCharacter(text.substr(1), ']');
      if (close != std::string_view::npos) {
        line.kind = ProfileLine::Kind::kSection;
        line.name = Trim(text.substr(1, close));
        return;
      }
    }
    const std::size_t equals = text.find('=');  // never a second byte
    if (equals == std::string_view::npos) {
      line.kind = ProfileLine::Kind::kOther;
      return;
    }
    line.kind = ProfileLine::Kind::kKey;
    line.name = Trim(text.substr(0, equals));
    const std::string_view value = Trim(text.substr(equals + 1));
    // text is already trimmed at the right, so the value ends where it does.
    line.value_end =
        static_cast<std::size_t>(text.data() - bytes_.data()) + text.size();
    line.value_begin = line.value_end - value.size();
  }

  std::string_view bytes_;
  std::size_t start_;
  std::size_t position_;
};

bool EndsInLineEnd(std::string_view bytes) {
  return bytes.ends_with('\n') || bytes.ends_with('\r');
}

bool HasLineEndOrZero(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) !=
         std::string_view::npos;
}

// ---------------------------------------------------------------------------
// Files: everything that asks the operating system for something. Each of
// the functions below has one implementation for Windows and one for POSIX
// systems; what is done with the bytes is shared.
//
//   ReadRegularFile     up to a limit of bytes from a regular file
//   IsReadOnly          whether the file may not be replaced
//   ReplacementTarget   the file a symbolic link names
//   ReplaceAtomically   the new bytes in the file's place, all or nothing
// ---------------------------------------------------------------------------

enum class LoadStatus {
  kLoaded,    // bytes and info hold the file
  kMissing,   // no such file (or a path through a non-directory)
  kUnusable,  // there, but not a settings file we may read or replace
};

#ifdef _WIN32

// What replacing a file needs to know of the old one.
struct FileInfo {
  DWORD attributes = 0;
};

// The old file's attributes that its replacement takes over. Read-only is not
// among them (such a file is never replaced), nor are those the system
// manages itself (directory, reparse point, compression, encryption).
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Others may read, write, rename or delete the file while it is open, as on a
// POSIX system: the settings file is never locked against other programs.
constexpr DWORD kShareAll =
    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Closes a handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

LoadStatus ReadRegularFile(const std::filesystem::path& file, std::size_t limit,
                           std::string& bytes, FileInfo& info) {
  FileHandle handle(::CreateFileW(file.c_str(), GENERIC_READ, kShareAll,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  if (!handle.valid()) {
    // A directory cannot be opened this way at all: it is unusable.
    const DWORD error = ::GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
               ? LoadStatus::kMissing
               : LoadStatus::kUnusable;
  }
  // A console, a pipe or another device in the file's place shows itself by
  // its type before anything is read from it, so it cannot stall the program.
  BY_HANDLE_FILE_INFORMATION file_information{};
  if (::GetFileType(handle.get()) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(handle.get(), &file_information) ||
      (file_information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return LoadStatus::kUnusable;
  }
  info.attributes = file_information.dwFileAttributes;
  bytes.resize(limit);
  std::size_t total = 0;
  while (total < bytes.size()) {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(
        std::min<std::size_t>(bytes.size() - total, MAXDWORD));
    if (!::ReadFile(handle.get(), bytes.data() + total, want, &got, nullptr)) {
      return LoadStatus::kUnusable;
    }
    if (got == 0) break;
    total += got;
  }
  bytes.resize(total);
  return LoadStatus::kLoaded;
}

bool IsReadOnly(const std::filesystem::path& file, const FileInfo& info) {
  if ((info.attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
  // Opening for writing changes nothing, and fails when the file's access
  // control list (or another program holding it) does not let us write.
  const FileHandle handle(::CreateFileW(file.c_str(), GENERIC_WRITE, kShareAll,
                                        nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  return !handle.valid();
}

std::optional<std::filesystem::path> ReplacementTarget(
    const std::filesystem::path& file) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return file;
  }
  // A symbolic link (or another reparse point): the file the system reaches
  // through it, by its full name.
  const FileHandle handle(::CreateFileW(file.c_str(), 0, kShareAll, nullptr,
                                        OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) return std::nullopt;
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    // The length without the terminating zero, or (when the buffer is too
    // small) the size needed with it, so this ends after at most two calls
    // unless the name keeps changing.
    const DWORD length = ::GetFinalPathNameByHandleW(
        handle.get(), name.data(), static_cast<DWORD>(name.size()),
        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::nullopt;
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name);
    }
    name.resize(length);
  }
}

bool WriteAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD put = 0;
    const auto size =
        static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
    if (!::WriteFile(handle, bytes.data(), size, &put, nullptr) || put == 0) {
      return false;
    }
    bytes.remove_prefix(put);
  }
  return true;
}

// Replaces target with bytes through a temporary file in the same directory.
// old_info describes the file being replaced, or is null for a new file.
bool ReplaceAtomically(const std::filesystem::path& target,
                       std::string_view bytes, const FileInfo* old_info) {
  const std::filesystem::path directory = target.parent_path();
  const std::wstring base = L"." + target.filename().wstring() + L".tmp-" +
                            std::to_wstring(::GetCurrentProcessId());
  const DWORD attributes =
      old_info != nullptr ? old_info->attributes & kKeptAttributes : 0;
  std::filesystem::path temporary;
  HANDLE raw_handle = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kMaxTemporaryNameAttempts &&
                        raw_handle == INVALID_HANDLE_VALUE;
       ++attempt) {
    temporary = directory / (base + L"-" + std::to_wstring(attempt));
    raw_handle = ::CreateFileW(
        temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw_handle == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
        return false;
      }
    }
  }
  if (raw_handle == INVALID_HANDLE_VALUE) return false;
  FileHandle handle(raw_handle);

  bool ok =
      WriteAll(handle.get(), bytes) && ::FlushFileBuffers(handle.get()) != 0;
  ok = handle.Close() && ok;
  // Write-through: the call returns once the new name is on the disk.
  ok = ok &&
       ::MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

#else  // POSIX

// What replacing a file needs to know of the old one.
using FileInfo = struct stat;

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (it can report a
  // deferred write error).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

LoadStatus ReadRegularFile(const std::filesystem::path& file, std::size_t limit,
                           std::string& bytes, FileInfo& info) {
  // O_NONBLOCK: a pipe in the file's place must not stall the program; it is
  // rejected below as not a regular file.
  FileDescriptor fd(
      ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) {
    return (errno == ENOENT || errno == ENOTDIR) ? LoadStatus::kMissing
                                                 : LoadStatus::kUnusable;
  }
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return LoadStatus::kUnusable;
  }
  bytes.resize(limit);
  std::size_t total = 0;
  while (total < bytes.size()) {
    const ssize_t got =
        ::read(fd.get(), bytes.data() + total, bytes.size() - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return LoadStatus::kUnusable;
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
  }
  bytes.resize(total);
  return LoadStatus::kLoaded;
}

bool IsReadOnly(const std::filesystem::path& file, const FileInfo& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
         ::access(file.c_str(), W_OK) != 0;
}

std::optional<std::filesystem::path> ReplacementTarget(
    const std::filesystem::path& file) {
  struct stat link_info {};
  if (::lstat(file.c_str(), &link_info) == 0 && S_ISLNK(link_info.st_mode)) {
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(file, error);
    if (error) return std::nullopt;
    return target;
  }
  return file;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// Flushes a directory so that a rename in it survives a crash. Some file
// systems cannot do this; the rename has happened either way.
void SyncDirectory(const std::filesystem::path& directory) {
  const std::filesystem::path name = directory.empty() ? "." : directory;
  FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// Replaces target with bytes through a temporary file in the same directory.
// old_info describes the file being replaced, or is null for a new file.
bool ReplaceAtomically(const std::filesystem::path& target,
                       std::string_view bytes, const FileInfo* old_info) {
  const std::filesystem::path directory = target.parent_path();
  const std::string base =
      "." + target.filename().string() + ".tmp-" + std::to_string(::getpid());
  std::filesystem::path temporary;
  int raw_fd = -1;
  for (int attempt = 0; attempt < kMaxTemporaryNameAttempts && raw_fd < 0;
       ++attempt) {
    temporary = directory / (base + "-" + std::to_string(attempt));
    raw_fd = ::open(temporary.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (raw_fd < 0 && errno != EEXIST) return false;
  }
  if (raw_fd < 0) return false;
  FileDescriptor fd(raw_fd);

  bool ok = true;
  if (old_info != nullptr) {
    // The owner can only be kept by a process allowed to give files away;
    // otherwise the new file is simply ours.
    if (::fchown(fd.get(), old_info->st_uid, old_info->st_gid) != 0) {
    }
    ok = ::fchmod(fd.get(), old_info->st_mode & 0777) == 0;
  }
  ok = ok && WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncDirectory(directory);
  return true;
}

#endif  // _WIN32

struct LoadedFile {
  LoadStatus status = LoadStatus::kUnusable;
  std::string bytes;
  FileInfo info{};
};

LoadedFile LoadSettingsFile(const std::filesystem::path& file) {
  LoadedFile loaded;
  // One byte more than the limit tells a file at the limit from a larger one,
  // whatever size the file had when it was opened (it may be growing).
  loaded.status = ReadRegularFile(file, kMaxSettingsFileBytes + 1, loaded.bytes,
                                  loaded.info);
  if (loaded.status != LoadStatus::kLoaded) return loaded;
  if (loaded.bytes.size() > kMaxSettingsFileBytes ||
      loaded.bytes.find('\0') != std::string::npos) {
    loaded.status = LoadStatus::kUnusable;
  }
  return loaded;
}

}  // namespace

std::optional<std::string> ProfileLookup(std::string_view file_bytes,
                                         std::string_view section,
                                         std::string_view key) {
  section = NormalizeName(section);
  key = NormalizeName(key);
  if (section.empty() || key.empty()) return std::nullopt;

  LineReader reader(file_bytes);
  ProfileLine line;
  bool in_section = false;
  while (reader.Next(line)) {
    if (line.kind == ProfileLine::Kind::kSection) {
      if (in_section) return std::nullopt;  // only the first one counts
      in_section = NamesEqual(line.name, section);
    } else if (in_section && line.kind == ProfileLine::Kind::kKey &&
               NamesEqual(line.name, key)) {
      return CleanValue(file_bytes.substr(line.value_begin,
                                          line.value_end - line.value_begin));
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProfileUpdate(std::string_view file_bytes,
                                         std::string_view section,
                                         std::string_view key,
                                         std::string_view value) {
  // 1. Refuse what could not be read back as this section, key and value.
  if (HasLineEndOrZero(section) || HasLineEndOrZero(key) ||
      HasLineEndOrZero(value) || value.size() > kMaxProfileValueBytes) {
    return std::nullopt;
  }
  section = NormalizeName(section);
  key = NormalizeName(key);
  if (section.empty() || key.empty() ||
      FindCharacter(section, ']') != std::string_view::npos ||
      key.find('=') != std::string_view::npos || key.front() == '[' ||
      key.front() == ';') {
    return std::nullopt;
  }

  // 2. Find the key, or the end of the section's last non-blank line.
  LineReader reader(file_bytes);
  ProfileLine line;
  bool in_section = false;
  bool section_found = false;
  std::size_t last_end = 0;   // end of that line's text
  std::size_t last_next = 0;  // after its line end
  while (reader.Next(line)) {
    if (line.kind == ProfileLine::Kind::kSection) {
      if (in_section) break;
      in_section = NamesEqual(line.name, section);
      if (in_section) {
        section_found = true;
        last_end = line.end;
        last_next = line.next;
      }
      continue;
    }
    if (!in_section) continue;
    if (line.kind == ProfileLine::Kind::kKey && NamesEqual(line.name, key)) {
      // 3a. Replace the value in place.
      std::string result;
      result.reserve(file_bytes.size() + value.size());
      result.append(file_bytes.substr(0, line.value_begin));
      result.append(value);
      result.append(file_bytes.substr(line.value_end));
      return result;
    }
    if (line.kind != ProfileLine::Kind::kBlank) {
      last_end = line.end;
      last_next = line.next;
    }
  }

  std::string key_line;
  key_line.reserve(key.size() + value.size() + 3);
  key_line.append(key).append("=").append(value).append(kLineEnd);

  std::string result;
  result.reserve(file_bytes.size() + section.size() + key_line.size() + 6);
  if (section_found) {
    // 3b. Add the key after the section's last non-blank line.
    result.append(file_bytes.substr(0, last_next));
    if (last_next == last_end) result.append(kLineEnd);  // at the very end
    result.append(key_line);
    result.append(file_bytes.substr(last_next));
    return result;
  }

  // 3c. Add the section and the key at the end of the file.
  result.append(file_bytes);
  if (file_bytes.size() > reader.start() && !EndsInLineEnd(file_bytes)) {
    result.append(kLineEnd);
  }
  result.append("[").append(section).append("]").append(kLineEnd);
  result.append(key_line);
  return result;
}

std::string ReadProfileString(const std::filesystem::path& file,
                              std::string_view section, std::string_view key,
                              std::string_view default_value) {
  if (file.empty() || NormalizeName(section).empty() ||
      NormalizeName(key).empty()) {
    return std::string();
  }
  const LoadedFile loaded = LoadSettingsFile(file);
  if (loaded.status == LoadStatus::kLoaded) {
    if (std::optional<std::string> value =
            ProfileLookup(loaded.bytes, section, key)) {
      return *std::move(value);
    }
  }
  return std::string(CutToValueLimit(default_value));
}

bool WriteProfileString(const std::filesystem::path& file,
                        std::string_view section, std::string_view key,
                        std::string_view value) {
  if (file.empty()) return false;

  // 1. A symbolic link stays; the file it names is the one replaced.
  const std::optional<std::filesystem::path> resolved = ReplacementTarget(file);
  if (!resolved) return false;
  const std::filesystem::path& target = *resolved;

  // 2. Only a readable, writable settings file (or none) is replaced.
  const LoadedFile loaded = LoadSettingsFile(target);
  if (loaded.status == LoadStatus::kUnusable) return false;
  const bool exists = loaded.status == LoadStatus::kLoaded;
  if (exists && IsReadOnly(target, loaded.info)) return false;

  // 3. The new bytes, within the limit the reader accepts.
  const std::optional<std::string> updated =
      ProfileUpdate(loaded.bytes, section, key, value);
  if (!updated || updated->size() > kMaxSettingsFileBytes) return false;
  if (exists && *updated == loaded.bytes) return true;

  // 4. Replace the file whole.
  return ReplaceAtomically(target, *updated, exists ? &loaded.info : nullptr);
}

}  // namespace sumora
