#pragma once
// A platform::File over bytes in memory, and loading a sample file into one,
// for the storage-engine tests.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

#include "platform/env.h"

namespace mdbtest {

class BytesFile : public platform::File {
 public:
  explicit BytesFile(std::vector<std::byte> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() override { return bytes_.size(); }
  void Read(std::uint64_t offset, std::span<std::byte> out) override {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
      throw platform::Failure(platform::err::kInputPastEnd, "test", "read past the end");
    }
    if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  }
  void Write(std::uint64_t, std::span<const std::byte>) override {
    throw platform::Failure(platform::err::kPermissionDenied, "test", "read-only");
  }
  void Truncate(std::uint64_t) override {}
  void Sync() override {}
  bool Writable() const override { return false; }

 private:
  std::vector<std::byte> bytes_;
};

inline std::vector<std::byte> LoadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::byte> bytes(chars.size());
  if (!chars.empty()) std::memcpy(bytes.data(), chars.data(), chars.size());
  return bytes;
}

inline std::unique_ptr<platform::File> FileOf(std::vector<std::byte> bytes) {
  return std::make_unique<BytesFile>(std::move(bytes));
}

// The sample databases, sorted by name.
inline std::vector<std::filesystem::path> SampleDatabases(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() == ".mdb") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace mdbtest
