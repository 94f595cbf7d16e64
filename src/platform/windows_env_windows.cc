// The Env of Windows. Paths are UTF-8 here and UTF-16 for the system; the
// file system itself ignores letter case, so paths are used as given.
//
// Message boxes: ORLIXCFG_ANSWERS and ORLIXCFG_TRANSCRIPT work as on every
// platform; otherwise the native modal box (MessageBoxW) asks the user.
// Close requests: console close, logoff and shutdown events (and Ctrl+C,
// Ctrl+Break) set a flag that the next poll takes; ORLIXCFG_CLOSE_AT=N
// raises one request at the N-th poll.

#include "platform/env.h"
#include "platform/file_time.h"
#include "platform/message_box_rules.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// env.h names two methods like these Win32 macros.
#undef MessageBox
#undef CreateFile

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace platform {
namespace {

constexpr const char* kSource = "FileSystem";
constexpr const char* kDefaultServicePackLog = "C:\\VelmorServicePack.log";

// Run-wide state of the process: set by the console handler, taken by polls.
std::atomic<bool> g_close_requested{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      g_close_requested = true;
      return TRUE;
    default:
      return FALSE;
  }
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                      nullptr, nullptr);
  return utf8;
}

std::int32_t ErrorNumberOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return err::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return err::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return err::kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return err::kDiskFull;
    case ERROR_NOT_READY:
      return err::kDiskNotReady;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return err::kFileExists;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
      return err::kDeviceIo;
    default:
      return err::kPathFileAccess;
  }
}

Failure LastError(std::string_view step, std::string_view path) {
  const DWORD error = GetLastError();
  return Failure(ErrorNumberOf(error), kSource,
                 std::string(step) + " '" + std::string(path) + "' (system error " +
                     std::to_string(error) + ")");
}

std::int64_t FromFiletime(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

FILETIME ToFiletime(std::int64_t ticks) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
  time.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
  return time;
}

// Closes the handle when it goes out of scope.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) {
    other.handle_ = INVALID_HANDLE_VALUE;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Close(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    if (!valid()) return true;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != 0;
  }

 private:
  HANDLE handle_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t at = path.find_last_of("\\/");
  if (at == std::string::npos) return ".";
  if (at == 0 || (at == 2 && path[1] == ':'))
    return path.substr(0, at + 1);  // a root keeps its separator
  return path.substr(0, at);
}

std::string NameOf(const std::string& path) {
  const std::size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::optional<DWORD> AttributesOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

void WriteAll(HANDLE handle, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr))
      throw LastError("Cannot write", path);
    bytes.remove_prefix(written);
  }
}

// Refuses a folder, a read-only file and a missing folder as a write target.
void RequireWritableTarget(const std::string& path) {
  if (path.empty()) throw Failure(err::kPathFileAccess, kSource, "The file path is empty");
  if (const auto attributes = AttributesOf(path)) {
    if (*attributes & FILE_ATTRIBUTE_DIRECTORY) {
      throw Failure(err::kPathFileAccess, kSource, "'" + path + "' is a folder");
    }
    if (*attributes & FILE_ATTRIBUTE_READONLY) {
      throw Failure(err::kPermissionDenied, kSource, "'" + path + "' is read-only");
    }
  }
  const auto folder = AttributesOf(FolderOf(path));
  if (!folder || !(*folder & FILE_ATTRIBUTE_DIRECTORY)) {
    throw Failure(err::kPathNotFound, kSource, "Folder not found: '" + FolderOf(path) + "'");
  }
}

// Fills a temporary file beside the target, flushes it and moves it over the
// target in one step; on failure the temporary file is deleted.
template <typename Fill>
void ReplaceByMove(const std::string& target, Fill&& fill) {
  const std::string temporary = FolderOf(target) + (FolderOf(target).ends_with("\\") ? "" : "\\") +
                                "~" + NameOf(target) + "." + std::to_string(GetCurrentProcessId()) +
                                "." + std::to_string(GetTickCount64()) + ".tmp";
  const std::wstring wide_temporary = Wide(temporary);
  UniqueHandle out(CreateFileW(wide_temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.valid()) throw LastError("Cannot create a file beside", target);
  try {
    fill(out.get(), temporary);
    if (!FlushFileBuffers(out.get())) throw LastError("Cannot flush", temporary);
    if (!out.Close()) throw LastError("Cannot close", temporary);
    if (!MoveFileExW(wide_temporary.c_str(), Wide(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      throw LastError("Cannot replace", target);
    }
  } catch (...) {
    out.Close();
    DeleteFileW(wide_temporary.c_str());
    throw;
  }
}

class WindowsFile : public File {
 public:
  WindowsFile(UniqueHandle handle, std::string path, bool writable)
      : handle_(std::move(handle)), path_(std::move(path)), writable_(writable) {}

  std::uint64_t Size() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_.get(), &size)) throw LastError("Cannot inspect", path_);
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  void Read(std::uint64_t offset, std::span<std::byte> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      OVERLAPPED at = At(offset + done);
      DWORD got = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 20));
      if (!ReadFile(handle_.get(), out.data() + done, chunk, &got, &at)) {
        if (GetLastError() != ERROR_HANDLE_EOF) throw LastError("Cannot read", path_);
        got = 0;
      }
      if (got == 0)
        throw Failure(err::kInputPastEnd, kSource, "Read past the end of '" + path_ + "'");
      done += got;
    }
  }

  void Write(std::uint64_t offset, std::span<const std::byte> data) override {
    RequireWritable();
    std::size_t done = 0;
    while (done < data.size()) {
      OVERLAPPED at = At(offset + done);
      DWORD put = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
      if (!WriteFile(handle_.get(), data.data() + done, chunk, &put, &at))
        throw LastError("Cannot write", path_);
      done += put;
    }
  }

  void Truncate(std::uint64_t size) override {
    RequireWritable();
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(handle_.get(), FileEndOfFileInfo, &end, sizeof end)) {
      throw LastError("Cannot truncate", path_);
    }
  }

  void Sync() override {
    if (writable_ && !FlushFileBuffers(handle_.get())) throw LastError("Cannot flush", path_);
  }

  bool Writable() const override { return writable_; }

 private:
  static OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }

  void RequireWritable() {
    if (!writable_)
      throw Failure(err::kPermissionDenied, kSource, "'" + path_ + "' is open for reading only");
  }

  UniqueHandle handle_;
  std::string path_;
  bool writable_;
};

// The raw command-line text after the program's own path (quoted or not).
std::string ArgumentsOf(std::wstring_view line) {
  std::size_t at = 0;
  if (!line.empty() && line.front() == L'"') {
    const std::size_t closing = line.find(L'"', 1);
    at = closing == std::wstring_view::npos ? line.size() : closing + 1;
  } else {
    while (at < line.size() && line[at] != L' ' && line[at] != L'\t') ++at;
  }
  while (at < line.size() && (line[at] == L' ' || line[at] == L'\t')) ++at;
  return Narrow(line.substr(at));
}

class WindowsEnv : public Env {
 public:
  WindowsEnv() {
    if (const auto answers = GetVariable("ORLIXCFG_ANSWERS")) {
      scripted_answers_ = ParseAnswerList(*answers);
      answers_scripted_ = true;
    }
    if (const auto close_at = GetVariable("ORLIXCFG_CLOSE_AT"))
      close_at_poll_ = std::atoi(close_at->c_str());
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  }

  char PathSeparator() const override { return '\\'; }
  std::string ResolvePath(std::string_view path) override { return std::string(path); }

  bool IsOrdinaryFile(std::string_view path) override {
    const auto attributes = AttributesOf(std::string(path));
    if (!attributes) return false;
    return (*attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
  }

  std::optional<FileStamp> Stat(std::string_view path) override {
    UniqueHandle handle(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    return FileStamp{(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     FromFiletime(info.ftLastWriteTime),
                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  }

  std::optional<std::string> ReadWholeFile(std::string_view path) override {
    const std::string name(path);
    const auto attributes = AttributesOf(name);
    if (name.empty() || !attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY))
      return std::nullopt;
    UniqueHandle in(CreateFileW(Wide(name).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in.valid()) {
      if (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND)
        return std::nullopt;
      throw LastError("Cannot open", name);
    }
    std::string bytes;
    std::vector<char> buffer(65536);
    while (true) {
      DWORD got = 0;
      if (!ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
        throw LastError("Cannot read", name);
      }
      if (got == 0) break;
      bytes.append(buffer.data(), got);
    }
    return bytes;
  }

  void ReplaceWholeFile(std::string_view path, std::string_view bytes) override {
    const std::string target(path);
    RequireWritableTarget(target);
    ReplaceByMove(
        target, [&](HANDLE out, const std::string& temporary) { WriteAll(out, bytes, temporary); });
  }

  void AppendToFile(std::string_view path, std::string_view bytes) override {
    const std::string target(path);
    RequireWritableTarget(target);
    UniqueHandle out(CreateFileW(Wide(target).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.valid()) throw LastError("Cannot open", target);
    WriteAll(out.get(), bytes, target);
    if (!out.Close()) throw LastError("Cannot close", target);
  }

  std::unique_ptr<File> OpenFile(std::string_view path, OpenMode mode) override {
    const std::string name(path);
    const bool writable = mode == OpenMode::kReadWrite;
    UniqueHandle handle(
        CreateFileW(Wide(name).c_str(), writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) throw LastError("Cannot open", name);
    return std::make_unique<WindowsFile>(std::move(handle), name, writable);
  }

  std::unique_ptr<File> CreateFile(std::string_view path) override {
    const std::string name(path);
    RequireWritableTarget(name);
    UniqueHandle handle(CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
    if (!handle.valid()) throw LastError("Cannot create", name);
    return std::make_unique<WindowsFile>(std::move(handle), name, true);
  }

  void CopyFileReplacing(std::string_view source, std::string_view target) override {
    const std::string from(source);
    UniqueHandle in(CreateFileW(Wide(from).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in.valid()) throw LastError("Cannot open", from);
    const std::string to(target);
    RequireWritableTarget(to);
    ReplaceByMove(to, [&](HANDLE out, const std::string& temporary) {
      std::vector<char> buffer(65536);
      while (true) {
        DWORD got = 0;
        if (!ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
          throw LastError("Cannot read", from);
        }
        if (got == 0) break;
        WriteAll(out, std::string_view(buffer.data(), got), temporary);
      }
    });
  }

  void RemoveFile(std::string_view path) override {
    if (!DeleteFileW(Wide(path).c_str())) throw LastError("Cannot remove", path);
  }

  std::optional<FileTimes> GetFileTimes(std::string_view path) override {
    UniqueHandle handle(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return std::nullopt;
    FILETIME creation, access, write;
    if (!GetFileTime(handle.get(), &creation, &access, &write)) return std::nullopt;
    return FileTimes{FromFiletime(creation), FromFiletime(access), FromFiletime(write)};
  }

  bool SetFileTimes(std::string_view path, const FileTimes& times) override {
    UniqueHandle handle(CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return false;
    const FILETIME creation = ToFiletime(times.creation);
    const FILETIME write = ToFiletime(times.last_write);
    return SetFileTime(handle.get(), times.creation != 0 ? &creation : nullptr, nullptr, &write) !=
           0;
  }

  std::string CommandLine() override { return ArgumentsOf(GetCommandLineW()); }

  std::string ProgramFolder() override { return FolderOf(ModulePath()); }

  std::string ExecutableName() override {
    const std::string name = ExecutableFileName();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  }

  std::string ExecutableFileName() override { return NameOf(ModulePath()); }

  std::optional<std::string> FirstEnvironmentEntry() override {
    wchar_t* block = GetEnvironmentStringsW();
    if (block == nullptr) return std::nullopt;
    std::optional<std::string> first;
    if (*block != L'\0') first = Narrow(block);
    FreeEnvironmentStringsW(block);
    return first;
  }

  std::optional<std::string> GetVariable(std::string_view name) override {
    const std::wstring wide_name = Wide(name);
    const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (length == 0) return std::nullopt;
    std::wstring value(length, L'\0');
    const DWORD got = GetEnvironmentVariableW(wide_name.c_str(), value.data(), length);
    value.resize(got);
    return Narrow(value);
  }

  std::string ServicePackLogPath() override {
    const auto path = GetVariable("ORLIXCFG_SERVICEPACK_LOG");
    return path && !path->empty() ? *path : kDefaultServicePackLog;
  }

  [[noreturn]] void ExitProcess(int status) override {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::ExitProcess(static_cast<UINT>(status));
  }

  int MessageBox(std::string_view text, std::string_view title, int flags) override {
    const int answer = Answer(text, title, flags);
    if (const auto transcript = GetVariable("ORLIXCFG_TRANSCRIPT");
        transcript && !transcript->empty()) {
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
    if (g_close_requested.exchange(false)) pending = true;
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
    const int answer = MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(),
                                   static_cast<UINT>(flags) | MB_TASKMODAL | MB_SETFOREGROUND);
    return answer == 0 ? DefaultAnswer(flags) : answer;
  }

  static std::string ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
      const DWORD length =
          GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (length < buffer.size()) {
        buffer.resize(length);
        return Narrow(buffer);
      }
      buffer.resize(buffer.size() * 2);
    }
  }

  std::vector<std::optional<int>> scripted_answers_;
  bool answers_scripted_ = false;
  std::size_t boxes_shown_ = 0;
  int close_at_poll_ = 0;
  int polls_ = 0;
};

}  // namespace

std::unique_ptr<Env> MakeSystemEnv(int, char**) {
  return std::make_unique<WindowsEnv>();
}

}  // namespace platform
