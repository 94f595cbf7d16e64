#pragma once
// A read-only platform::File over a standard file stream, so that the tool
// opens a path without needing the program's environment.

#include <fstream>
#include <memory>
#include <string>

#include "platform/env.h"

namespace mdbtool {

class StreamFile : public platform::File {
 public:
  explicit StreamFile(const std::string& path);
  std::uint64_t Size() override { return size_; }
  void Read(std::uint64_t offset, std::span<std::byte> out) override;
  void Write(std::uint64_t, std::span<const std::byte>) override;
  void Truncate(std::uint64_t) override;
  void Sync() override {}
  bool Writable() const override { return false; }

 private:
  std::ifstream in_;
  std::string path_;
  std::uint64_t size_ = 0;
};

// Opens the file for the engine; 3024 when it cannot be opened.
std::unique_ptr<platform::File> OpenForReading(const std::string& path);

}  // namespace mdbtool
