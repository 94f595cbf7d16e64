#pragma once
// File-system building blocks of the POSIX Env: an owned descriptor, the
// errno-to-VB-number mapping, case-insensitive path resolution and the
// write-beside-then-rename step. Only posix_*_posix.cc files include this.

#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::posix {

// Closes the descriptor when it goes out of scope.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd();

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();
  // Closes now and reports whether the close succeeded (a failed close can
  // mean lost data).
  bool Close();

 private:
  int fd_ = -1;
};

// The VB file-error number of an errno value (53, 61, 70, 75, 76, 57, 58).
std::int32_t ErrorNumberOf(int error);
// A Failure for the errno value, naming the step and the path.
Failure FailureFromErrno(int error, std::string_view step, std::string_view path);

// The path as found on disk: each component an exact match, else the one
// entry of its folder whose name matches without regard to letter case (the
// first in name order when several do); components that do not exist keep
// the letters given.
std::string ResolveCaseInsensitive(std::string_view path);

// The folder part of a path ("." when there is none) and the name part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// True when the file exists and no one may write it (no write bit at all).
// Checked by mode bits, since permission checks do not bind the superuser.
bool IsReadOnlyFile(const std::string& path);

// Writes all bytes at the descriptor's position (retrying short writes).
void WriteAll(int fd, std::string_view bytes, std::string_view path);

// Puts new content at the target in one step: a temporary file beside it is
// filled by `fill`, flushed to disk and renamed over the target. On any
// failure the temporary file is removed and the target is untouched.
// `mode` is the permission of the new file.
template <typename Fill>
void ReplaceByRename(const std::string& target, unsigned mode, Fill&& fill);

// Implementation detail of ReplaceByRename: a created temporary file.
struct TemporaryFile {
  UniqueFd fd;
  std::string path;
};
TemporaryFile CreateTemporaryBeside(const std::string& target, unsigned mode);
void CommitTemporary(TemporaryFile& temporary, const std::string& target);
void DiscardTemporary(TemporaryFile& temporary) noexcept;

template <typename Fill>
void ReplaceByRename(const std::string& target, unsigned mode, Fill&& fill) {
  TemporaryFile temporary = CreateTemporaryBeside(target, mode);
  try {
    fill(temporary.fd.get(), temporary.path);
    CommitTemporary(temporary, target);
  } catch (...) {
    DiscardTemporary(temporary);
    throw;
  }
}

}  // namespace platform::posix
