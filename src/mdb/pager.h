#pragma once
// Pages of one database file, read through platform::File and kept in a
// bounded cache, so that a table scan reads each page from the file once.
// The write half will add dirty pages here.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "mdb/byte_view.h"
#include "mdb/format.h"
#include "platform/env.h"

namespace mdb {

using PageBuffer = std::vector<std::byte>;
using PageRef = std::shared_ptr<const PageBuffer>;

class Pager {
 public:
  // The file must already be known to hold whole pages of the format.
  Pager(std::unique_ptr<platform::File> file, std::string file_name, const Format& format);

  const Format& format() const { return *format_; }
  const std::string& file_name() const { return file_name_; }
  std::uint32_t page_count() const { return page_count_; }
  // How many pages were read from the file so far (cache misses).
  std::uint64_t file_reads() const { return file_reads_; }

  // The page; a page number past the end is damage found on referring_page.
  PageRef Read(std::uint32_t page, std::uint32_t referring_page);

  // A checked view of a page already read.
  ByteView View(const PageRef& buffer, std::uint32_t page) const {
    return ByteView(*buffer, Where{file_name_, page});
  }

 private:
  static constexpr std::size_t kCacheLimit = 4096;

  std::unique_ptr<platform::File> file_;
  std::string file_name_;
  const Format* format_;
  std::uint32_t page_count_;
  std::uint64_t file_reads_ = 0;
  std::unordered_map<std::uint32_t, PageRef> cache_;
};

}  // namespace mdb
