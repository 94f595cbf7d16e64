// The Env of a POSIX system (Linux).
//
// Files: every path is first resolved without regard to letter case (see
// posix_io.h). An "ordinary file" is a regular file (symbolic links
// followed) whose name does not start with '.': dot-files are what POSIX has
// for hidden files, and there is no system attribute. A file is read-only
// when it has no write permission bit at all; such files are refused for
// writing even to the superuser, as Windows refuses read-only files.
//
// Message boxes: ORLIXCFG_ANSWERS answers them one per box; without it the
// box is drawn on the controlling terminal, or, without one, printed on
// standard error and answered with its default button. ORLIXCFG_TRANSCRIPT
// names a file that gets one JSON line per box.
//
// Close requests: SIGTERM, SIGHUP and SIGINT set a flag that the next poll
// takes; ORLIXCFG_CLOSE_AT=N raises one request at the N-th poll.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "platform/env.h"
#include "platform/file_time.h"
#include "platform/message_box_rules.h"
#include "platform/posix_dialog.h"
#include "platform/posix_file.h"
#include "platform/posix_io.h"

extern char** environ;

namespace platform {
namespace {

using posix::FailureFromErrno;
using posix::UniqueFd;

constexpr const char* kSource = "FileSystem";
constexpr const char* kDefaultServicePackLog = "/var/log/VelmorServicePack.log";

// Run-wide state of the process: set by the signal handler, taken by polls.
volatile std::sig_atomic_t g_close_signal = 0;

extern "C" void OnCloseSignal(int) {
  g_close_signal = 1;
}

void InstallCloseSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = OnCloseSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal_number, &action, nullptr);
}

std::optional<struct stat> StatOf(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info;
}

std::int64_t FileTimeOf(const struct timespec& time) {
  return FileTimeFromUnix(time.tv_sec, time.tv_nsec);
}

std::string ReadLink(const char* link) {
  std::vector<char> buffer(4096);
  const ssize_t length = ::readlink(link, buffer.data(), buffer.size());
  if (length <= 0) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// Refuses a target that is a folder or a read-only file, and a missing folder.
void RequireWritableTarget(const std::string& path) {
  if (path.empty()) throw Failure(err::kPathFileAccess, kSource, "The file path is empty");
  if (const auto info = StatOf(path)) {
    if (S_ISDIR(info->st_mode)) throw FailureFromErrno(EISDIR, "Cannot write", path);
    if (posix::IsReadOnlyFile(path)) {
      throw Failure(err::kPermissionDenied, kSource, "'" + path + "' is read-only");
    }
  }
  const auto folder = StatOf(posix::FolderOf(path));
  if (!folder || !S_ISDIR(folder->st_mode)) {
    throw Failure(err::kPathNotFound, kSource, "Folder not found: '" + posix::FolderOf(path) + "'");
  }
}

unsigned ModeForNewContent(const std::string& path) {
  if (const auto info = StatOf(path)) return info->st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

class PosixEnv : public Env {
 public:
  PosixEnv(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
      if (i > 1) command_line_ += ' ';
      command_line_ += argv[i];
    }
    executable_path_ = ReadLink("/proc/self/exe");
    if (executable_path_.empty() && argc > 0) executable_path_ = argv[0];
    if (const auto answers = GetVariable("ORLIXCFG_ANSWERS")) {
      scripted_answers_ = ParseAnswerList(*answers);
      answers_scripted_ = true;
    }
    if (const auto close_at = GetVariable("ORLIXCFG_CLOSE_AT"))
      close_at_poll_ = std::atoi(close_at->c_str());
    InstallCloseSignalHandlers();
  }

  char PathSeparator() const override { return '/'; }

  std::string ResolvePath(std::string_view path) override {
    return posix::ResolveCaseInsensitive(path);
  }

  bool IsOrdinaryFile(std::string_view path) override {
    const std::string resolved = ResolvePath(path);
    if (resolved.empty() || posix::NameOf(resolved).starts_with('.')) return false;
    struct stat info;
    if (::stat(resolved.c_str(), &info) != 0) {
      if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == ELOOP)
        return false;
      throw FailureFromErrno(errno, "Cannot probe", resolved);
    }
    return S_ISREG(info.st_mode);
  }

  std::optional<FileStamp> Stat(std::string_view path) override {
    const auto info = StatOf(ResolvePath(path));
    if (!info || !S_ISREG(info->st_mode)) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info->st_size), FileTimeOf(info->st_mtim),
                     static_cast<std::uint64_t>(info->st_ino)};
  }

  std::optional<std::string> ReadWholeFile(std::string_view path) override {
    const std::string resolved = ResolvePath(path);
    if (resolved.empty()) return std::nullopt;
    UniqueFd fd(::open(resolved.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
      if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
      throw FailureFromErrno(errno, "Cannot open", resolved);
    }
    struct stat info;
    if (fstat(fd.get(), &info) != 0) throw FailureFromErrno(errno, "Cannot inspect", resolved);
    if (!S_ISREG(info.st_mode)) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (true) {
      const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        throw FailureFromErrno(errno, "Cannot read", resolved);
      }
      if (got == 0) break;
      bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
  }

  void ReplaceWholeFile(std::string_view path, std::string_view bytes) override {
    const std::string resolved = ResolvePath(path);
    RequireWritableTarget(resolved);
    posix::ReplaceByRename(
        resolved, ModeForNewContent(resolved),
        [&](int fd, const std::string& temporary) { posix::WriteAll(fd, bytes, temporary); });
  }

  void AppendToFile(std::string_view path, std::string_view bytes) override {
    const std::string resolved = ResolvePath(path);
    RequireWritableTarget(resolved);
    UniqueFd fd(::open(resolved.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid()) throw FailureFromErrno(errno, "Cannot open", resolved);
    posix::WriteAll(fd.get(), bytes, resolved);
    if (!fd.Close()) throw FailureFromErrno(errno, "Cannot close", resolved);
  }

  std::unique_ptr<File> OpenFile(std::string_view path, OpenMode mode) override {
    const std::string resolved = ResolvePath(path);
    const bool writable = mode == OpenMode::kReadWrite;
    if (writable && posix::IsReadOnlyFile(resolved)) {
      throw Failure(err::kPermissionDenied, kSource, "'" + resolved + "' is read-only");
    }
    UniqueFd fd(::open(resolved.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC));
    if (!fd.valid()) throw FailureFromErrno(errno, "Cannot open", resolved);
    RequireRegular(fd.get(), resolved);
    return posix::MakePosixFile(std::move(fd), resolved, writable);
  }

  std::unique_ptr<File> CreateFile(std::string_view path) override {
    const std::string resolved = ResolvePath(path);
    RequireWritableTarget(resolved);
    UniqueFd fd(::open(resolved.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid()) throw FailureFromErrno(errno, "Cannot create", resolved);
    return posix::MakePosixFile(std::move(fd), resolved, true);
  }

  void CopyFileReplacing(std::string_view source, std::string_view target) override {
    const std::string from = ResolvePath(source);
    UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) throw FailureFromErrno(errno, "Cannot open", from);
    RequireRegular(in.get(), from);
    const std::string to = ResolvePath(target);
    RequireWritableTarget(to);
    struct stat info;
    if (fstat(in.get(), &info) != 0) throw FailureFromErrno(errno, "Cannot inspect", from);
    posix::ReplaceByRename(to, info.st_mode & 07777, [&](int out, const std::string& temporary) {
      char buffer[65536];
      while (true) {
        const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
        if (got < 0) {
          if (errno == EINTR) continue;
          throw FailureFromErrno(errno, "Cannot read", from);
        }
        if (got == 0) break;
        posix::WriteAll(out, std::string_view(buffer, static_cast<std::size_t>(got)), temporary);
      }
    });
  }

  void RemoveFile(std::string_view path) override {
    const std::string resolved = ResolvePath(path);
    if (posix::IsReadOnlyFile(resolved)) {
      throw Failure(err::kPermissionDenied, kSource, "'" + resolved + "' is read-only");
    }
    if (::unlink(resolved.c_str()) != 0) throw FailureFromErrno(errno, "Cannot remove", resolved);
  }

  std::optional<FileTimes> GetFileTimes(std::string_view path) override {
    const std::string resolved = ResolvePath(path);
    struct statx info;
    if (::statx(AT_FDCWD, resolved.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) {
      return std::nullopt;
    }
    FileTimes times;
    if ((info.stx_mask & STATX_BTIME) != 0) {
      times.creation = FileTimeFromUnix(info.stx_btime.tv_sec, info.stx_btime.tv_nsec);
    }
    times.last_access = FileTimeFromUnix(info.stx_atime.tv_sec, info.stx_atime.tv_nsec);
    times.last_write = FileTimeFromUnix(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
    return times;
  }

  bool SetFileTimes(std::string_view path, const FileTimes& times) override {
    // POSIX cannot set a birth time; the last-access time stays as it is.
    const std::string resolved = ResolvePath(path);
    std::int64_t seconds = 0, nanoseconds = 0;
    FileTimeToUnix(times.last_write, seconds, nanoseconds);
    struct timespec both[2];
    both[0].tv_sec = 0;
    both[0].tv_nsec = UTIME_OMIT;
    both[1].tv_sec = static_cast<time_t>(seconds);
    both[1].tv_nsec = static_cast<long>(nanoseconds);
    return ::utimensat(AT_FDCWD, resolved.c_str(), both, 0) == 0;
  }

  std::string CommandLine() override { return command_line_; }

  std::string ProgramFolder() override { return posix::FolderOf(executable_path_); }

  std::string ExecutableName() override {
    const std::string name = ExecutableFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  }

  std::string ExecutableFileName() override { return posix::NameOf(executable_path_); }

  std::optional<std::string> FirstEnvironmentEntry() override {
    if (environ == nullptr || environ[0] == nullptr) return std::nullopt;
    return std::string(environ[0]);
  }

  std::optional<std::string> GetVariable(std::string_view name) override {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  }

  std::string ServicePackLogPath() override {
    const auto path = GetVariable("ORLIXCFG_SERVICEPACK_LOG");
    return path && !path->empty() ? *path : kDefaultServicePackLog;
  }

  [[noreturn]] void ExitProcess(int status) override {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
  }

  int MessageBox(std::string_view text, std::string_view title, int flags) override {
    const int answer = Answer(text, title, flags);
    if (const auto transcript = GetVariable("ORLIXCFG_TRANSCRIPT");
        transcript && !transcript->empty()) {
      // A transcript that cannot be written must not stop the run.
      try {
        AppendToFile(*transcript, TranscriptLine(text, title, flags, answer));
      } catch (const Failure& failure) {
        std::fprintf(stderr, "transcript not written: %s\n", failure.what());
      }
    }
    return answer;
  }

  bool PollCloseRequest() override {
    ++polls_;
    bool pending = polls_ == close_at_poll_;
    if (g_close_signal != 0) {
      g_close_signal = 0;
      pending = true;
    }
    return pending;
  }

  std::chrono::system_clock::time_point Now() override { return std::chrono::system_clock::now(); }

 private:
  int Answer(std::string_view text, std::string_view title, int flags) {
    if (answers_scripted_) {
      const std::size_t index = boxes_shown_++;
      if (index < scripted_answers_.size() && scripted_answers_[index] &&
          BoxOffers(flags, *scripted_answers_[index])) {
        return *scripted_answers_[index];
      }
      return DefaultAnswer(flags);
    }
    if (const auto answer = posix::AskOnTerminal(text, title, flags)) return *answer;
    const int answer = DefaultAnswer(flags);
    posix::PrintOnStandardError(text, title, flags, answer);
    return answer;
  }

  static void RequireRegular(int fd, const std::string& path) {
    struct stat info;
    if (fstat(fd, &info) != 0) throw FailureFromErrno(errno, "Cannot inspect", path);
    if (!S_ISREG(info.st_mode)) throw FailureFromErrno(EISDIR, "Not a file", path);
  }

  std::string command_line_;
  std::string executable_path_;
  std::vector<std::optional<int>> scripted_answers_;
  bool answers_scripted_ = false;
  std::size_t boxes_shown_ = 0;
  int close_at_poll_ = 0;
  int polls_ = 0;
};

}  // namespace

std::unique_ptr<Env> MakeSystemEnv(int argc, char** argv) {
  return std::make_unique<PosixEnv>(argc, argv);
}

}  // namespace platform
