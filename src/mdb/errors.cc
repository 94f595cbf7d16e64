#include "mdb/errors.h"

#include <sstream>

namespace mdb {

void ThrowCorrupt(const Where& where, std::string_view what) {
  std::ostringstream text;
  text << "The database '" << where.file << "' is damaged: page " << where.page << ": " << what
       << ".";
  throw platform::Failure(dao::kCorruptDatabase, std::string(kErrorSource), text.str());
}

void ThrowFailure(std::int32_t number, std::string description) {
  throw platform::Failure(number, std::string(kErrorSource), std::move(description));
}

}  // namespace mdb
