#pragma once
// An Env held entirely in memory, for tests: files and folders in maps,
// process facts as set by the test, message boxes answered from a script and
// recorded, close requests raised at chosen polls, a clock that stands still
// until the test moves it.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace platform {

// What ExitProcess of a MemoryEnv throws, so that a test sees the status.
struct ProcessExit {
  int status = 0;
};

// One message box as it was shown and answered.
struct MessageBoxRecord {
  std::string text;
  std::string title;
  int flags = 0;
  int answer = 0;
};

class MemoryEnv : public Env {
 public:
  // '/' by default; '\\' lets a test use Windows paths such as D:\Plant\Bin.
  // The first component of an absolute path (empty before a leading '/', or a
  // drive such as D:) is a root that always exists.
  explicit MemoryEnv(char separator = '/');
  ~MemoryEnv() override;

  // --- Set-up and inspection of files ------------------------------------
  // Creates or replaces the file at exactly this path (no case-insensitive
  // resolution, so that a test can set up names differing in case only),
  // creating its folders.
  void PutFile(std::string_view path, std::string_view bytes, bool read_only = false);
  // Creates the folder at exactly this path, with its parents.
  void AddFolder(std::string_view path);
  void SetReadOnly(std::string_view path, bool read_only);
  // Hidden or system files are not ordinary files.
  void SetHidden(std::string_view path, bool hidden);
  void SetTimes(std::string_view path, const FileTimes& times);
  // A file held open by another program without sharing: every read, write
  // and open of it fails with 70 until it is released.
  void SetLocked(std::string_view path, bool locked);
  // The bytes of the file at the path (resolved like every other path).
  std::optional<std::string> FileBytes(std::string_view path);
  bool FolderExists(std::string_view path);
  // Every file path, in the letters it was created with, sorted.
  std::vector<std::string> FilePaths() const;

  // --- Set-up of process facts --------------------------------------------
  void SetCommandLine(std::string text) { command_line_ = std::move(text); }
  void SetProgramFolder(std::string folder) { program_folder_ = std::move(folder); }
  // Name without extension and the file name on disk.
  void SetExecutable(std::string name, std::string file_name);
  // "name=value" entries, the first one first.
  void SetEnvironment(std::vector<std::string> entries) { environment_ = std::move(entries); }
  void SetServicePackLogPath(std::string path) { service_pack_log_ = std::move(path); }

  // --- Message boxes --------------------------------------------------------
  // Answers (ID* values) for the next boxes, one per box; a box beyond them
  // takes its default button.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return boxes_; }

  // --- Close requests and clock ---------------------------------------------
  // A close request is pending at the n-th call of PollCloseRequest (from 1).
  void RaiseCloseRequestAtPoll(int n) { close_at_polls_.insert(n); }
  // A close request is pending from now on until the next poll takes it.
  void RaiseCloseRequest() { close_pending_ = true; }
  int PollCount() const { return polls_; }
  void SetNow(std::chrono::system_clock::time_point now) { now_ = now; }
  void AdvanceClock(std::chrono::system_clock::duration by) { now_ += by; }

  // --- Env ------------------------------------------------------------------
  char PathSeparator() const override { return separator_; }
  std::string ResolvePath(std::string_view path) override;
  bool IsOrdinaryFile(std::string_view path) override;
  std::optional<FileStamp> Stat(std::string_view path) override;
  std::optional<std::string> ReadWholeFile(std::string_view path) override;
  void ReplaceWholeFile(std::string_view path, std::string_view bytes) override;
  void AppendToFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<File> OpenFile(std::string_view path, OpenMode mode) override;
  std::unique_ptr<File> CreateFile(std::string_view path) override;
  void CopyFileReplacing(std::string_view source, std::string_view target) override;
  void RemoveFile(std::string_view path) override;
  std::optional<FileTimes> GetFileTimes(std::string_view path) override;
  bool SetFileTimes(std::string_view path, const FileTimes& times) override;
  std::string CommandLine() override { return command_line_; }
  std::string ProgramFolder() override { return program_folder_; }
  std::string ExecutableName() override { return executable_name_; }
  std::string ExecutableFileName() override { return executable_file_name_; }
  std::optional<std::string> FirstEnvironmentEntry() override;
  std::optional<std::string> GetVariable(std::string_view name) override;
  std::string ServicePackLogPath() override { return service_pack_log_; }
  [[noreturn]] void ExitProcess(int status) override;
  int MessageBox(std::string_view text, std::string_view title, int flags) override;
  bool PollCloseRequest() override;
  std::chrono::system_clock::time_point Now() override { return now_; }

  // The content of one file; open File objects share it.
  struct Node {
    std::string bytes;
    bool read_only = false;
    bool hidden = false;
    bool locked = false;
    FileTimes times;
    std::uint64_t identity = 0;
  };

 private:
  std::vector<std::string> Split(std::string_view path) const;
  std::string Join(const std::vector<std::string>& components, std::size_t count) const;
  std::string ParentOf(const std::string& resolved) const;
  // "/" or a drive such as "D:".
  bool IsRoot(const std::string& resolved) const;
  std::vector<std::string> EntriesOf(const std::string& folder) const;
  std::shared_ptr<Node> FindNode(std::string_view path);
  // FindNode, failing with 70 for a locked file.
  std::shared_ptr<Node> FindUnlockedNode(std::string_view path);
  // The node for a write at the path: the existing one (refused when read-only
  // or a folder), or nullptr when the file would be new (refused when its
  // folder is missing).
  std::shared_ptr<Node> NodeForWrite(const std::string& resolved, std::string_view source);
  std::shared_ptr<Node> NewNode(const std::string& resolved);
  void Touch(Node& node);

  char separator_;
  std::map<std::string, std::shared_ptr<Node>> files_;
  std::set<std::string> folders_;
  std::uint64_t next_identity_ = 1;
  std::string command_line_;
  std::string program_folder_;
  std::string executable_name_ = "316_Orlix_Config";
  std::string executable_file_name_;
  std::vector<std::string> environment_;
  std::string service_pack_log_;
  std::deque<int> answers_;
  std::vector<MessageBoxRecord> boxes_;
  std::set<int> close_at_polls_;
  bool close_pending_ = false;
  int polls_ = 0;
  std::chrono::system_clock::time_point now_;
};

}  // namespace platform
