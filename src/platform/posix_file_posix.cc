#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix_file.h"

namespace platform::posix {
namespace {

class PosixFile : public File {
 public:
  PosixFile(UniqueFd fd, std::string path, bool writable)
      : fd_(std::move(fd)), path_(std::move(path)), writable_(writable) {}

  std::uint64_t Size() override {
    struct stat info;
    if (fstat(fd_.get(), &info) != 0) throw FailureFromErrno(errno, "Cannot inspect", path_);
    return static_cast<std::uint64_t>(info.st_size);
  }

  void Read(std::uint64_t offset, std::span<std::byte> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t got =
          pread(fd_.get(), out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (got < 0) {
        if (errno == EINTR) continue;
        throw FailureFromErrno(errno, "Cannot read", path_);
      }
      if (got == 0) {
        throw Failure(err::kInputPastEnd, "FileSystem", "Read past the end of '" + path_ + "'");
      }
      done += static_cast<std::size_t>(got);
    }
  }

  void Write(std::uint64_t offset, std::span<const std::byte> data) override {
    RequireWritable();
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t put = pwrite(fd_.get(), data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
      if (put < 0) {
        if (errno == EINTR) continue;
        throw FailureFromErrno(errno, "Cannot write", path_);
      }
      done += static_cast<std::size_t>(put);
    }
  }

  void Truncate(std::uint64_t size) override {
    RequireWritable();
    if (ftruncate(fd_.get(), static_cast<off_t>(size)) != 0) {
      throw FailureFromErrno(errno, "Cannot truncate", path_);
    }
  }

  void Sync() override {
    if (writable_ && fsync(fd_.get()) != 0) throw FailureFromErrno(errno, "Cannot flush", path_);
  }

  bool Writable() const override { return writable_; }

 private:
  void RequireWritable() {
    if (!writable_) {
      throw Failure(err::kPermissionDenied, "FileSystem",
                    "'" + path_ + "' is open for reading only");
    }
  }

  UniqueFd fd_;
  std::string path_;
  bool writable_;
};

}  // namespace

std::unique_ptr<File> MakePosixFile(UniqueFd fd, std::string path, bool writable) {
  return std::make_unique<PosixFile>(std::move(fd), std::move(path), writable);
}

}  // namespace platform::posix
