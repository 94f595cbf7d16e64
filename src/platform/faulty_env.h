#pragma once
// An Env that passes every call to another Env and injects write failures:
// the N-th write fails, a disk that is full past a byte budget, and paths
// that are read-only. Writes are ReplaceWholeFile, AppendToFile,
// CopyFileReplacing and File::Write of files it opened (each call counts
// once), so a test can make "the 3rd page write" fail. A failed write
// changes nothing. The FaultyEnv must outlive the files it opened.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"

namespace platform {

class FaultyEnv : public Env {
 public:
  explicit FaultyEnv(Env& inner) : inner_(inner) {}

  // The n-th write counted from now (1 = the next one) fails with `error`.
  void FailWrite(int n, std::int32_t error = err::kDeviceIo);
  // Writes that would bring the bytes written from now past `bytes` fail
  // with 61 (disk full).
  void LimitDiskTo(std::uint64_t bytes);
  // Writing, creating, opening for writing or removing the file fails with
  // 70 (permission denied); paths compare as the inner Env resolves them.
  void MakeReadOnly(std::string_view path);
  // Writes attempted since construction, failed ones included.
  int WriteCount() const { return writes_; }

  // Called for every write: counts it and throws when a fault applies.
  void BeforeWrite(std::string_view path, std::uint64_t size);

  char PathSeparator() const override { return inner_.PathSeparator(); }
  std::string ResolvePath(std::string_view path) override { return inner_.ResolvePath(path); }
  bool IsOrdinaryFile(std::string_view path) override { return inner_.IsOrdinaryFile(path); }
  std::optional<FileStamp> Stat(std::string_view path) override { return inner_.Stat(path); }
  std::optional<std::string> ReadWholeFile(std::string_view path) override {
    return inner_.ReadWholeFile(path);
  }
  void ReplaceWholeFile(std::string_view path, std::string_view bytes) override;
  void AppendToFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<File> OpenFile(std::string_view path, OpenMode mode) override;
  std::unique_ptr<File> CreateFile(std::string_view path) override;
  void CopyFileReplacing(std::string_view source, std::string_view target) override;
  void RemoveFile(std::string_view path) override;
  std::optional<FileTimes> GetFileTimes(std::string_view path) override {
    return inner_.GetFileTimes(path);
  }
  bool SetFileTimes(std::string_view path, const FileTimes& times) override;
  std::string CommandLine() override { return inner_.CommandLine(); }
  std::string ProgramFolder() override { return inner_.ProgramFolder(); }
  std::string ExecutableName() override { return inner_.ExecutableName(); }
  std::string ExecutableFileName() override { return inner_.ExecutableFileName(); }
  std::optional<std::string> FirstEnvironmentEntry() override {
    return inner_.FirstEnvironmentEntry();
  }
  std::optional<std::string> GetVariable(std::string_view name) override {
    return inner_.GetVariable(name);
  }
  std::string ServicePackLogPath() override { return inner_.ServicePackLogPath(); }
  [[noreturn]] void ExitProcess(int status) override;
  int MessageBox(std::string_view text, std::string_view title, int flags) override {
    return inner_.MessageBox(text, title, flags);
  }
  bool PollCloseRequest() override { return inner_.PollCloseRequest(); }
  std::chrono::system_clock::time_point Now() override { return inner_.Now(); }

 private:
  bool IsReadOnly(std::string_view path);
  void RequireNotReadOnly(std::string_view path);

  Env& inner_;
  int writes_ = 0;
  std::optional<int> failing_write_;  // absolute write number
  std::int32_t failing_error_ = err::kDeviceIo;
  std::optional<std::uint64_t> disk_budget_;
  std::uint64_t bytes_since_limit_ = 0;
  std::vector<std::string> read_only_;
};

}  // namespace platform
