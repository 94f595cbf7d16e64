// libFuzzer target: any byte string opened as a database and read through
// (catalog, every table, every index) must end in success or a
// platform::Failure, never a crash, hang or out-of-bounds read.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../tests/mdb/support/b_dump_all.h"
#include "../tests/mdb/support/b_memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::byte> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = std::byte(data[i]);
  try {
    mdb::Database database =
        mdb::Database::Open(mdbtest::MakeMemoryFile(std::move(bytes)), "fuzz.mdb");
    mdbtest::DumpAll(database);
  } catch (const platform::Failure&) {
    // Refusing a damaged file is the expected outcome.
  }
  return 0;
}
