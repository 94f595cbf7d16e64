#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/posix_io.h"
#include "platform/windows1252.h"

namespace platform::posix {
namespace {

constexpr const char* kSource = "FileSystem";

// Lists the names of a folder; empty when it cannot be read.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return names;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::string Joined(const std::string& prefix, std::string_view name) {
  if (prefix.empty()) return std::string(name);
  if (prefix.back() == '/') return prefix + std::string(name);
  return prefix + "/" + std::string(name);
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.Release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  Close();
}

int UniqueFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool UniqueFd::Close() {
  if (fd_ < 0) return true;
  const int result = ::close(fd_);
  fd_ = -1;
  return result == 0;
}

std::int32_t ErrorNumberOf(int error) {
  switch (error) {
    case ENOENT:
      return err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
      return err::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::kDiskFull;
    case EIO:
      return err::kDeviceIo;
    case EEXIST:
      return err::kFileExists;
    default:
      return err::kPathFileAccess;
  }
}

Failure FailureFromErrno(int error, std::string_view step, std::string_view path) {
  return Failure(ErrorNumberOf(error), kSource,
                 std::string(step) + " '" + std::string(path) + "': " + std::strerror(error));
}

std::string ResolveCaseInsensitive(std::string_view path) {
  std::string resolved;
  std::size_t start = 0;
  if (!path.empty() && path.front() == '/') {
    resolved = "/";
    start = 1;
  }
  bool searching = true;  // false once a component does not exist
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::string_view name = path.substr(
        start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    if (name.empty() || name == "." || name == ".." || !searching) {
      resolved = name.empty() ? resolved : Joined(resolved, name);
    } else {
      std::string exact = Joined(resolved, name);
      if (!Exists(exact)) {
        std::vector<std::string> names = NamesIn(resolved);
        std::sort(names.begin(), names.end());
        const auto match = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
          return EqualsIgnoringCase(n, name);
        });
        if (match != names.end()) {
          exact = Joined(resolved, *match);
        } else {
          searching = false;
        }
      }
      resolved = std::move(exact);
    }
    if (slash == std::string_view::npos) break;
    if (slash + 1 == path.size()) resolved += '/';  // keep a trailing separator
    start = slash + 1;
  }
  return resolved;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  return S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void WriteAll(int fd, std::string_view bytes, std::string_view path) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw FailureFromErrno(errno, "Cannot write", path);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

TemporaryFile CreateTemporaryBeside(const std::string& target, unsigned mode) {
  const std::string folder = FolderOf(target);
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) throw FailureFromErrno(ENOTDIR, "Folder not found", folder);
  if (!S_ISDIR(info.st_mode)) throw FailureFromErrno(ENOTDIR, "Not a folder", folder);
  const std::size_t slash = target.rfind('/');
  const std::string prefix = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Unique enough with O_EXCL: process id, clock and attempt number.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string path = prefix + "." + NameOf(target) + ".tmp-" + std::to_string(getpid()) + "-" +
                       std::to_string(stamp % 1000000007) + "-" + std::to_string(attempt);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      TemporaryFile temporary{UniqueFd(fd), std::move(path)};
      if (fchmod(fd, mode) != 0) {
        const int error = errno;
        const std::string failed = temporary.path;
        DiscardTemporary(temporary);
        throw FailureFromErrno(error, "Cannot set the permissions of", failed);
      }
      return temporary;
    }
    if (errno != EEXIST) throw FailureFromErrno(errno, "Cannot create a file in", folder);
  }
  throw FailureFromErrno(EEXIST, "Cannot create a temporary file in", folder);
}

void CommitTemporary(TemporaryFile& temporary, const std::string& target) {
  if (fsync(temporary.fd.get()) != 0) throw FailureFromErrno(errno, "Cannot flush", temporary.path);
  if (!temporary.fd.Close()) throw FailureFromErrno(errno, "Cannot close", temporary.path);
  if (std::rename(temporary.path.c_str(), target.c_str()) != 0) {
    throw FailureFromErrno(errno, "Cannot replace", target);
  }
  temporary.path.clear();
  // Make the rename itself durable; a failure here loses nothing written.
  UniqueFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) fsync(folder.get());
}

void DiscardTemporary(TemporaryFile& temporary) noexcept {
  temporary.fd.Close();
  if (!temporary.path.empty()) ::unlink(temporary.path.c_str());
  temporary.path.clear();
}

}  // namespace platform::posix
