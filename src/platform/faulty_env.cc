#include "platform/faulty_env.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

constexpr const char* kSource = "FaultyEnv";

// A File whose writes pass through the env's fault checks.
class FaultyFile : public File {
 public:
  FaultyFile(std::unique_ptr<File> inner, FaultyEnv& env, std::string path)
      : inner_(std::move(inner)), env_(env), path_(std::move(path)) {}

  std::uint64_t Size() override { return inner_->Size(); }
  void Read(std::uint64_t offset, std::span<std::byte> out) override { inner_->Read(offset, out); }
  void Write(std::uint64_t offset, std::span<const std::byte> data) override {
    env_.BeforeWrite(path_, data.size());
    inner_->Write(offset, data);
  }
  void Truncate(std::uint64_t size) override { inner_->Truncate(size); }
  void Sync() override { inner_->Sync(); }
  bool Writable() const override { return inner_->Writable(); }

 private:
  std::unique_ptr<File> inner_;
  FaultyEnv& env_;
  std::string path_;
};

}  // namespace

void FaultyEnv::FailWrite(int n, std::int32_t error) {
  failing_write_ = writes_ + n;
  failing_error_ = error;
}

void FaultyEnv::LimitDiskTo(std::uint64_t bytes) {
  disk_budget_ = bytes;
  bytes_since_limit_ = 0;
}

void FaultyEnv::MakeReadOnly(std::string_view path) {
  read_only_.push_back(inner_.ResolvePath(path));
}

bool FaultyEnv::IsReadOnly(std::string_view path) {
  const std::string resolved = inner_.ResolvePath(path);
  return std::find(read_only_.begin(), read_only_.end(), resolved) != read_only_.end();
}

void FaultyEnv::RequireNotReadOnly(std::string_view path) {
  if (IsReadOnly(path)) {
    throw Failure(err::kPermissionDenied, kSource, "'" + std::string(path) + "' is read-only");
  }
}

void FaultyEnv::BeforeWrite(std::string_view path, std::uint64_t size) {
  ++writes_;
  if (failing_write_ && writes_ == *failing_write_) {
    throw Failure(failing_error_, kSource,
                  "Write " + std::to_string(writes_) + " to '" + std::string(path) + "' failed");
  }
  RequireNotReadOnly(path);
  if (disk_budget_) {
    if (size > *disk_budget_ - std::min(*disk_budget_, bytes_since_limit_)) {
      throw Failure(err::kDiskFull, kSource, "Disk full writing '" + std::string(path) + "'");
    }
    bytes_since_limit_ += size;
  }
}

void FaultyEnv::ReplaceWholeFile(std::string_view path, std::string_view bytes) {
  BeforeWrite(path, bytes.size());
  inner_.ReplaceWholeFile(path, bytes);
}

void FaultyEnv::AppendToFile(std::string_view path, std::string_view bytes) {
  BeforeWrite(path, bytes.size());
  inner_.AppendToFile(path, bytes);
}

std::unique_ptr<File> FaultyEnv::OpenFile(std::string_view path, OpenMode mode) {
  if (mode == OpenMode::kReadWrite) RequireNotReadOnly(path);
  return std::make_unique<FaultyFile>(inner_.OpenFile(path, mode), *this, std::string(path));
}

std::unique_ptr<File> FaultyEnv::CreateFile(std::string_view path) {
  RequireNotReadOnly(path);
  return std::make_unique<FaultyFile>(inner_.CreateFile(path), *this, std::string(path));
}

void FaultyEnv::CopyFileReplacing(std::string_view source, std::string_view target) {
  const auto stamp = inner_.Stat(source);
  BeforeWrite(target, stamp ? stamp->size : 0);
  inner_.CopyFileReplacing(source, target);
}

void FaultyEnv::RemoveFile(std::string_view path) {
  RequireNotReadOnly(path);
  inner_.RemoveFile(path);
}

void FaultyEnv::ExitProcess(int status) {
  inner_.ExitProcess(status);
  std::abort();  // not reached: the inner Env ends the process
}

bool FaultyEnv::SetFileTimes(std::string_view path, const FileTimes& times) {
  if (IsReadOnly(path)) return false;
  return inner_.SetFileTimes(path, times);
}

}  // namespace platform
