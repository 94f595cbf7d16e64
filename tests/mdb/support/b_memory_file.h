#pragma once
// A read-only platform::File over bytes in memory, for opening built or
// mutated databases without touching the disk.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "platform/env.h"

namespace mdbtest {

class MemoryFile : public platform::File {
 public:
  explicit MemoryFile(std::vector<std::byte> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() override { return bytes_.size(); }
  void Read(std::uint64_t offset, std::span<std::byte> out) override {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset)
      throw platform::Failure(platform::err::kInputPastEnd, "test",
                              "read past the end of a memory file");
    std::copy_n(bytes_.begin() + std::ptrdiff_t(offset), out.size(), out.begin());
  }
  void Write(std::uint64_t, std::span<const std::byte>) override { Refuse(); }
  void Truncate(std::uint64_t) override { Refuse(); }
  void Sync() override {}
  bool Writable() const override { return false; }

 private:
  [[noreturn]] static void Refuse() {
    throw platform::Failure(platform::err::kPermissionDenied, "test", "memory file is read-only");
  }
  std::vector<std::byte> bytes_;
};

inline std::unique_ptr<platform::File> MakeMemoryFile(std::vector<std::byte> bytes) {
  return std::make_unique<MemoryFile>(std::move(bytes));
}

}  // namespace mdbtest
