#include "stream_file.h"

#include "mdb/errors.h"

namespace mdbtool {

StreamFile::StreamFile(const std::string& path) : in_(path, std::ios::binary), path_(path) {
  if (!in_) {
    throw platform::Failure(mdb::dao::kFileNotFound, "mdbtool",
                            "Could not find file '" + path + "'.");
  }
  in_.seekg(0, std::ios::end);
  size_ = static_cast<std::uint64_t>(in_.tellg());
}

void StreamFile::Read(std::uint64_t offset, std::span<std::byte> out) {
  if (offset > size_ || out.size() > size_ - offset) {
    throw platform::Failure(platform::err::kInputPastEnd, "mdbtool",
                            "Read past the end of '" + path_ + "'.");
  }
  in_.seekg(static_cast<std::streamoff>(offset));
  in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!in_) {
    throw platform::Failure(platform::err::kDeviceIo, "mdbtool", "Could not read '" + path_ + "'.");
  }
}

void StreamFile::Write(std::uint64_t, std::span<const std::byte>) {
  throw platform::Failure(platform::err::kPermissionDenied, "mdbtool",
                          "'" + path_ + "' is open for reading only.");
}

void StreamFile::Truncate(std::uint64_t) {
  Write(0, {});
}

std::unique_ptr<platform::File> OpenForReading(const std::string& path) {
  return std::make_unique<StreamFile>(path);
}

}  // namespace mdbtool
