#include "mdb/pager.h"

#include <utility>

namespace mdb {

Pager::Pager(std::unique_ptr<platform::File> file, std::string file_name, const Format& format)
    : file_(std::move(file)),
      file_name_(std::move(file_name)),
      format_(&format),
      page_count_(static_cast<std::uint32_t>(file_->Size() / format.page_size)) {}

PageRef Pager::Read(std::uint32_t page, std::uint32_t referring_page) {
  if (auto hit = cache_.find(page); hit != cache_.end()) return hit->second;
  if (page >= page_count_) {
    ThrowCorrupt(Where{file_name_, referring_page}, "it refers to page " + std::to_string(page) +
                                                        " beyond the end of the file (" +
                                                        std::to_string(page_count_) + " pages)");
  }
  auto buffer = std::make_shared<PageBuffer>(format_->page_size);
  file_->Read(std::uint64_t{page} * format_->page_size, *buffer);
  ++file_reads_;
  if (cache_.size() >= kCacheLimit) cache_.clear();
  cache_.emplace(page, buffer);
  return buffer;
}

}  // namespace mdb
