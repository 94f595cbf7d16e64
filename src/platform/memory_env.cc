#include "platform/memory_env.h"

#include <algorithm>

#include "platform/file_time.h"
#include "platform/message_box_rules.h"
#include "platform/windows1252.h"

namespace platform {
namespace {

constexpr std::string_view kSource = "MemoryEnv";

// 2020-06-01 00:00:00 UTC: a fixed start so that runs are repeatable.
constexpr std::chrono::seconds kStartOfClock{1'590'969'600};

class MemoryFile : public File {
 public:
  MemoryFile(std::shared_ptr<MemoryEnv::Node> node, bool writable,
             std::function<void(MemoryEnv::Node&)> touch)
      : node_(std::move(node)), writable_(writable), touch_(std::move(touch)) {}

  std::uint64_t Size() override { return node_->bytes.size(); }

  void Read(std::uint64_t offset, std::span<std::byte> out) override {
    if (offset > node_->bytes.size() || out.size() > node_->bytes.size() - offset) {
      throw Failure(err::kInputPastEnd, std::string(kSource), "Read past the end of the file");
    }
    std::copy_n(reinterpret_cast<const std::byte*>(node_->bytes.data()) + offset, out.size(),
                out.data());
  }

  void Write(std::uint64_t offset, std::span<const std::byte> data) override {
    RequireWritable();
    if (node_->bytes.size() < offset + data.size()) node_->bytes.resize(offset + data.size());
    std::copy(data.begin(), data.end(), reinterpret_cast<std::byte*>(node_->bytes.data()) + offset);
    touch_(*node_);
  }

  void Truncate(std::uint64_t size) override {
    RequireWritable();
    node_->bytes.resize(size);
    touch_(*node_);
  }

  void Sync() override {}
  bool Writable() const override { return writable_; }

 private:
  void RequireWritable() const {
    if (!writable_) {
      throw Failure(err::kBadFileMode, std::string(kSource), "The file is open for reading only");
    }
  }

  std::shared_ptr<MemoryEnv::Node> node_;
  bool writable_;
  std::function<void(MemoryEnv::Node&)> touch_;
};

[[noreturn]] void Fail(std::int32_t number, std::string description) {
  throw Failure(number, std::string(kSource), std::move(description));
}

}  // namespace

MemoryEnv::MemoryEnv(char separator)
    : separator_(separator),
      executable_file_name_(separator == '\\' ? "316_Orlix_Config.exe" : "316_Orlix_Config"),
      service_pack_log_(separator == '\\' ? "C:\\VelmorServicePack.log"
                                          : "/var/log/VelmorServicePack.log"),
      now_(kStartOfClock) {
  program_folder_ = separator == '\\' ? "C:\\Orlix" : "/opt/orlix";
}

MemoryEnv::~MemoryEnv() = default;

// --- Paths ------------------------------------------------------------------

std::vector<std::string> MemoryEnv::Split(std::string_view path) const {
  std::vector<std::string> components;
  if (path.empty()) return components;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find(separator_, start);
    const std::string_view part =
        path.substr(start, end == std::string_view::npos ? end : end - start);
    if (!part.empty() || components.empty()) components.emplace_back(part);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  // Drive letters are one letter case: d: is D:.
  if (components[0].size() == 2 && components[0][1] == ':')
    components[0] = UpperCase(components[0]);
  return components;
}

std::string MemoryEnv::Join(const std::vector<std::string>& components, std::size_t count) const {
  if (count == 1 && components[0].empty()) return std::string(1, separator_);
  std::string path;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) path += separator_;
    path += components[i];
  }
  return path;
}

bool MemoryEnv::IsRoot(const std::string& resolved) const {
  const std::vector<std::string> components = Split(resolved);
  return components.size() == 1 && (components[0].empty() || components[0].back() == ':');
}

std::string MemoryEnv::ParentOf(const std::string& resolved) const {
  const std::vector<std::string> components = Split(resolved);
  if (components.size() <= 1) return "";
  return Join(components, components.size() - 1);
}

std::vector<std::string> MemoryEnv::EntriesOf(const std::string& folder) const {
  std::vector<std::string> names;
  auto consider = [&](const std::string& path) {
    if (ParentOf(path) != folder) return;
    const std::vector<std::string> components = Split(path);
    if (!components.empty()) names.push_back(components.back());
  };
  for (const auto& [path, node] : files_) consider(path);
  for (const auto& path : folders_) consider(path);
  return names;
}

std::string MemoryEnv::ResolvePath(std::string_view path) {
  std::vector<std::string> components = Split(path);
  // The root (first component) is taken as given; every later component is
  // matched exactly first, else without regard to case.
  for (std::size_t i = 1; i < components.size(); ++i) {
    const std::vector<std::string> entries = EntriesOf(Join(components, i));
    if (std::find(entries.begin(), entries.end(), components[i]) != entries.end()) continue;
    const auto match = std::find_if(entries.begin(), entries.end(), [&](const std::string& name) {
      return EqualsIgnoringCase(name, components[i]);
    });
    if (match != entries.end()) components[i] = *match;
  }
  return components.empty() ? std::string() : Join(components, components.size());
}

bool MemoryEnv::FolderExists(std::string_view path) {
  const std::string resolved = ResolvePath(path);
  return resolved.empty() || IsRoot(resolved) || folders_.count(resolved) > 0;
}

// --- Set-up -------------------------------------------------------------------

void MemoryEnv::AddFolder(std::string_view path) {
  const std::vector<std::string> components = Split(path);
  for (std::size_t i = 2; i <= components.size(); ++i) folders_.insert(Join(components, i));
}

void MemoryEnv::PutFile(std::string_view path, std::string_view bytes, bool read_only) {
  const std::vector<std::string> components = Split(path);
  const std::string resolved =
      components.empty() ? std::string() : Join(components, components.size());
  AddFolder(ParentOf(resolved));
  auto node = NewNode(resolved);
  node->bytes = std::string(bytes);
  node->read_only = read_only;
}

void MemoryEnv::SetReadOnly(std::string_view path, bool read_only) {
  if (auto node = FindNode(path)) node->read_only = read_only;
}

void MemoryEnv::SetHidden(std::string_view path, bool hidden) {
  if (auto node = FindNode(path)) node->hidden = hidden;
}

void MemoryEnv::SetTimes(std::string_view path, const FileTimes& times) {
  if (auto node = FindNode(path)) node->times = times;
}

void MemoryEnv::SetLocked(std::string_view path, bool locked) {
  if (auto node = FindNode(path)) node->locked = locked;
}

std::optional<std::string> MemoryEnv::FileBytes(std::string_view path) {
  if (auto node = FindNode(path)) return node->bytes;
  return std::nullopt;
}

std::vector<std::string> MemoryEnv::FilePaths() const {
  std::vector<std::string> paths;
  for (const auto& [path, node] : files_) paths.push_back(path);
  return paths;
}

void MemoryEnv::SetExecutable(std::string name, std::string file_name) {
  executable_name_ = std::move(name);
  executable_file_name_ = std::move(file_name);
}

// --- Files ----------------------------------------------------------------------

std::shared_ptr<MemoryEnv::Node> MemoryEnv::FindNode(std::string_view path) {
  const auto it = files_.find(ResolvePath(path));
  return it == files_.end() ? nullptr : it->second;
}

std::shared_ptr<MemoryEnv::Node> MemoryEnv::FindUnlockedNode(std::string_view path) {
  auto node = FindNode(path);
  if (node && node->locked) Fail(err::kPermissionDenied, "File is in use: " + std::string(path));
  return node;
}

std::shared_ptr<MemoryEnv::Node> MemoryEnv::NewNode(const std::string& resolved) {
  auto node = std::make_shared<Node>();
  node->identity = next_identity_++;
  const std::int64_t now = ToFileTime(now_);
  node->times = {now, now, now};
  files_[resolved] = node;
  return node;
}

void MemoryEnv::Touch(Node& node) {
  const std::int64_t now = ToFileTime(now_);
  node.times.last_write = now;
  node.times.last_access = now;
}

std::shared_ptr<MemoryEnv::Node> MemoryEnv::NodeForWrite(const std::string& resolved,
                                                         std::string_view path) {
  if (resolved.empty()) Fail(err::kPathFileAccess, "Empty file name");
  if (folders_.count(resolved) || IsRoot(resolved)) {
    Fail(err::kPathFileAccess, "Path is a folder: " + std::string(path));
  }
  const auto it = files_.find(resolved);
  if (it != files_.end()) {
    if (it->second->locked) Fail(err::kPermissionDenied, "File is in use: " + std::string(path));
    if (it->second->read_only)
      Fail(err::kPermissionDenied, "File is read-only: " + std::string(path));
    return it->second;
  }
  if (!FolderExists(ParentOf(resolved))) {
    Fail(err::kPathNotFound, "Folder not found for: " + std::string(path));
  }
  return nullptr;
}

bool MemoryEnv::IsOrdinaryFile(std::string_view path) {
  const auto node = FindNode(path);
  return node && !node->hidden;
}

std::optional<FileStamp> MemoryEnv::Stat(std::string_view path) {
  const auto node = FindNode(path);
  if (!node) return std::nullopt;
  return FileStamp{node->bytes.size(), node->times.last_write, node->identity};
}

std::optional<std::string> MemoryEnv::ReadWholeFile(std::string_view path) {
  if (auto node = FindUnlockedNode(path)) return node->bytes;
  return std::nullopt;
}

void MemoryEnv::ReplaceWholeFile(std::string_view path, std::string_view bytes) {
  const std::string resolved = ResolvePath(path);
  NodeForWrite(resolved, path);
  // A new file renamed over the old one: a new identity.
  NewNode(resolved)->bytes = std::string(bytes);
}

void MemoryEnv::AppendToFile(std::string_view path, std::string_view bytes) {
  const std::string resolved = ResolvePath(path);
  auto node = NodeForWrite(resolved, path);
  if (!node) node = NewNode(resolved);
  node->bytes += bytes;
  Touch(*node);
}

std::unique_ptr<File> MemoryEnv::OpenFile(std::string_view path, OpenMode mode) {
  const std::string resolved = ResolvePath(path);
  auto node = mode == OpenMode::kRead ? FindUnlockedNode(resolved) : NodeForWrite(resolved, path);
  if (!node) Fail(err::kFileNotFound, "File not found: " + std::string(path));
  return std::make_unique<MemoryFile>(node, mode == OpenMode::kReadWrite,
                                      [this](Node& n) { Touch(n); });
}

std::unique_ptr<File> MemoryEnv::CreateFile(std::string_view path) {
  const std::string resolved = ResolvePath(path);
  auto node = NodeForWrite(resolved, path);
  if (node) {
    node->bytes.clear();
    Touch(*node);
  } else {
    node = NewNode(resolved);
  }
  return std::make_unique<MemoryFile>(node, true, [this](Node& n) { Touch(n); });
}

void MemoryEnv::CopyFileReplacing(std::string_view source, std::string_view target) {
  const auto from = FindUnlockedNode(source);
  if (!from) Fail(err::kFileNotFound, "File not found: " + std::string(source));
  const std::string resolved = ResolvePath(target);
  NodeForWrite(resolved, target);
  const Node copy = *from;
  auto node = NewNode(resolved);
  node->bytes = copy.bytes;
  // Like a Windows file copy, the copy keeps the source's last-write time.
  node->times.last_write = copy.times.last_write;
}

void MemoryEnv::RemoveFile(std::string_view path) {
  const auto it = files_.find(ResolvePath(path));
  if (it == files_.end()) Fail(err::kFileNotFound, "File not found: " + std::string(path));
  if (it->second->read_only)
    Fail(err::kPermissionDenied, "File is read-only: " + std::string(path));
  files_.erase(it);
}

std::optional<FileTimes> MemoryEnv::GetFileTimes(std::string_view path) {
  if (const auto node = FindNode(path)) return node->times;
  return std::nullopt;
}

bool MemoryEnv::SetFileTimes(std::string_view path, const FileTimes& times) {
  const auto node = FindNode(path);
  if (!node || node->read_only) return false;
  node->times.creation = times.creation;
  node->times.last_write = times.last_write;
  return true;
}

// --- Process ------------------------------------------------------------------------

std::optional<std::string> MemoryEnv::FirstEnvironmentEntry() {
  if (environment_.empty()) return std::nullopt;
  return environment_.front();
}

std::optional<std::string> MemoryEnv::GetVariable(std::string_view name) {
  for (const std::string& entry : environment_) {
    if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
        entry[name.size()] == '=') {
      return entry.substr(name.size() + 1);
    }
  }
  return std::nullopt;
}

void MemoryEnv::ExitProcess(int status) {
  throw ProcessExit{status};
}

// --- User interface -----------------------------------------------------------------

int MemoryEnv::MessageBox(std::string_view text, std::string_view title, int flags) {
  int answer = DefaultAnswer(flags);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  boxes_.push_back({std::string(text), std::string(title), flags, answer});
  return answer;
}

bool MemoryEnv::PollCloseRequest() {
  ++polls_;
  const bool pending = close_pending_ || close_at_polls_.count(polls_) > 0;
  close_pending_ = false;
  return pending;
}

}  // namespace platform
