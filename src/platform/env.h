#pragma once
// The one door to the operating system. Everything that touches files,
// dialogs, close requests, the clock or process facts goes through an Env, so
// that tests can run the program against an in-memory or fault-injecting one.
//
// Paths are UTF-8 texts with the native separator (PathSeparator()). On file
// systems that tell letter case apart, every path is resolved component by
// component: an exact match first, else the one entry whose name matches
// without regard to case; a missing last component keeps the letters given.
//
// Failures are thrown as platform::Failure with a VB file-error number
// (53 file not found, 70 permission denied, 61 disk full, 75 path/file access
// error, 76 path not found, 57 device I/O error).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform {

// An open file with random access, as the storage engine uses it.
class File {
 public:
  virtual ~File() = default;
  virtual std::uint64_t Size() = 0;
  // Reads exactly out.size() bytes at offset; a read past the end throws.
  virtual void Read(std::uint64_t offset, std::span<std::byte> out) = 0;
  // Writes all of data at offset, growing the file as needed.
  virtual void Write(std::uint64_t offset, std::span<const std::byte> data) = 0;
  virtual void Truncate(std::uint64_t size) = 0;
  // Makes every write so far durable.
  virtual void Sync() = 0;
  virtual bool Writable() const = 0;
};

enum class OpenMode { kRead, kReadWrite };

// Creation, last-access and last-write times as Windows file times
// (100-nanosecond ticks since 1601-01-01 UTC); 0 where a platform has none.
struct FileTimes {
  std::int64_t creation = 0;
  std::int64_t last_access = 0;
  std::int64_t last_write = 0;
};

// What identifies one version of a file's content cheaply.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t last_write = 0;  // file time, full resolution the platform has
  std::uint64_t identity = 0;   // inode or file index; 0 where unknown
  bool operator==(const FileStamp&) const = default;
};

// Message box flags as Windows spells them (MB_*), and the answers (ID*).
namespace mb {
inline constexpr int kOk = 0x0;
inline constexpr int kYesNo = 0x4;
inline constexpr int kIconError = 0x10;
inline constexpr int kIconQuestion = 0x20;
inline constexpr int kIconWarning = 0x30;
inline constexpr int kIconInformation = 0x40;
inline constexpr int kDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

class Env {
 public:
  virtual ~Env() = default;

  // --- Paths -------------------------------------------------------------
  virtual char PathSeparator() const = 0;
  // The path as it is found on disk (see the header comment).
  virtual std::string ResolvePath(std::string_view path) = 0;

  // --- Files -------------------------------------------------------------
  // True when an ordinary file (not a folder, not hidden or system) exists.
  // Throws only when the probe itself cannot be made.
  virtual bool IsOrdinaryFile(std::string_view path) = 0;
  virtual std::optional<FileStamp> Stat(std::string_view path) = 0;
  // Whole content, or nullopt when there is no file at the path.
  virtual std::optional<std::string> ReadWholeFile(std::string_view path) = 0;
  // Replaces the whole content in one step (creating the file), refused for a
  // read-only file or a missing folder.
  virtual void ReplaceWholeFile(std::string_view path, std::string_view bytes) = 0;
  // Appends bytes at the end, creating the file; opens and closes each call.
  virtual void AppendToFile(std::string_view path, std::string_view bytes) = 0;
  virtual std::unique_ptr<File> OpenFile(std::string_view path, OpenMode mode) = 0;
  // Creates a new file (or empties an existing one) opened for reading and writing.
  virtual std::unique_ptr<File> CreateFile(std::string_view path) = 0;
  // Copies source over target in one step: a temporary file in the target's
  // folder, flushed, then renamed over the target. A failed copy leaves the
  // target as it was and no temporary file behind.
  virtual void CopyFileReplacing(std::string_view source, std::string_view target) = 0;
  virtual void RemoveFile(std::string_view path) = 0;
  virtual std::optional<FileTimes> GetFileTimes(std::string_view path) = 0;
  // Puts creation (where the platform can) and last-write time back; the
  // last-access time is left as the system keeps it. False on failure.
  virtual bool SetFileTimes(std::string_view path, const FileTimes& times) = 0;

  // --- Process -----------------------------------------------------------
  // The argument text after the program's own path.
  virtual std::string CommandLine() = 0;
  // Folder of the running executable, without trailing separator except at a root.
  virtual std::string ProgramFolder() = 0;
  // Executable file name without extension (316_Orlix_Config).
  virtual std::string ExecutableName() = 0;
  // Executable file name as it lies on disk (316_Orlix_Config.exe on Windows).
  virtual std::string ExecutableFileName() = 0;
  // The first entry of the process environment ("name=value"), if any.
  virtual std::optional<std::string> FirstEnvironmentEntry() = 0;
  virtual std::optional<std::string> GetVariable(std::string_view name) = 0;
  // Path of the service-pack log (C:\VelmorServicePack.log on Windows).
  virtual std::string ServicePackLogPath() = 0;
  [[noreturn]] virtual void ExitProcess(int status) = 0;

  // --- User interface ----------------------------------------------------
  // A modal message box; flags are the MB_* values. Returns the ID* answer.
  virtual int MessageBox(std::string_view text, std::string_view title, int flags) = 0;
  // "Let pending window messages run once": true when a close request from
  // outside is pending; taking it clears it.
  virtual bool PollCloseRequest() = 0;

  // --- Clock -------------------------------------------------------------
  virtual std::chrono::system_clock::time_point Now() = 0;
};

// The Env of the machine the program runs on (POSIX or Windows).
std::unique_ptr<Env> MakeSystemEnv(int argc, char** argv);

}  // namespace platform
