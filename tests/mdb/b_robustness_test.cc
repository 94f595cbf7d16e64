// Deterministic mutations of the Access-written files (bit flips,
// truncations, swapped pages) opened and read through: each must end in
// success or a platform::Failure with the damage number or a format
// refusal, never a crash, a hang or any other exception. Run under
// ASan+UBSan, out-of-bounds reads show as crashes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "mdb/database.h"
#include "mdb/errors.h"
#include "support/b_dump_all.h"
#include "support/b_memory_file.h"
#include "support/shared_data.h"

namespace {

// Mutations per file and kind; 20 files x 3 kinds x this = a few thousand.
constexpr int kMutationsPerKind = 60;

using Bytes = std::vector<std::byte>;

enum class Mutation { kBitFlips, kTruncation, kPageSwap };

std::size_t PageSize(const Bytes& file) {
  return file.size() > 0x14 && file[0x14] == std::byte{0} ? 2048 : 4096;
}

Bytes Mutate(const Bytes& original, Mutation kind, std::mt19937& random) {
  Bytes bytes = original;
  auto pick = [&](std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
  };
  const std::size_t page_size = PageSize(bytes), pages = bytes.size() / page_size;
  switch (kind) {
    case Mutation::kBitFlips: {
      // Flips gathered on one page hit its structure rather than spreading thin.
      const std::size_t page = pick(pages);
      const int flips = int(1 + pick(8));
      for (int i = 0; i < flips; ++i)
        bytes[page * page_size + pick(page_size)] ^= std::byte(1u << pick(8));
      break;
    }
    case Mutation::kTruncation:
      bytes.resize(pick(bytes.size()));
      break;
    case Mutation::kPageSwap: {
      const std::size_t a = 1 + pick(pages - 1), b = 1 + pick(pages - 1);
      std::swap_ranges(bytes.begin() + std::ptrdiff_t(a * page_size),
                       bytes.begin() + std::ptrdiff_t((a + 1) * page_size),
                       bytes.begin() + std::ptrdiff_t(b * page_size));
      break;
    }
  }
  return bytes;
}

bool ExpectedRefusal(std::int32_t number) {
  return number == mdb::dao::kCorruptDatabase || number == mdb::dao::kUnrecognizedFormat ||
         number == mdb::dao::kNotValidPassword || number == mdb::dao::kObjectNotFound ||
         number == mdb::dao::kItemNotFound;
}

TEST(RobustnessTest, MutatedFilesOpenAndReadOrFailCleanly) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(testsupport::AccessDataDir()))
    if (entry.path().extension() == ".mdb") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());

  std::mt19937 random(20261211);
  int refused = 0, read = 0;
  for (const auto& path : files) {
    const Bytes original = mdbtest::ReadFileBytes(path.string());
    for (Mutation kind : {Mutation::kBitFlips, Mutation::kTruncation, Mutation::kPageSwap}) {
      for (int i = 0; i < kMutationsPerKind; ++i) {
        Bytes mutated = Mutate(original, kind, random);
        const std::string name = path.filename().string() + " mutation " +
                                 std::to_string(int(kind)) + "/" + std::to_string(i);
        try {
          mdb::Database db = mdb::Database::Open(mdbtest::MakeMemoryFile(std::move(mutated)), name);
          mdbtest::DumpAll(db);
          ++read;
        } catch (const platform::Failure& failure) {
          EXPECT_TRUE(ExpectedRefusal(failure.number()))
              << name << ": " << failure.number() << " " << failure.description();
          EXPECT_EQ(failure.source(), "mdb") << name;
          EXPECT_NE(failure.description().find(name), std::string::npos)
              << name << ": the message does not name the file: " << failure.description();
          ++refused;
        } catch (const std::exception& other) {
          ADD_FAILURE() << name << ": escaped as " << typeid(other).name() << ": " << other.what();
        }
      }
    }
  }
  // Both outcomes occur: many mutations hit pages no read touches, others
  // hit the structures and must be refused.
  EXPECT_GT(refused, 100);
  EXPECT_GT(read, 100);
}

TEST(RobustnessTest, DamageNamesThePage) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  // The catalog's definition is page 2; a catalog page of the wrong kind is
  // damage reported at page 2.
  Bytes bytes = mdbtest::ReadFileBytes((testsupport::AccessDataDir() / "testV2000.mdb").string());
  bytes[2 * 4096] = std::byte{0x07};
  try {
    mdb::Database::Open(mdbtest::MakeMemoryFile(std::move(bytes)), "damaged.mdb");
    FAIL() << "a database whose catalog page is no table definition opened";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), mdb::dao::kCorruptDatabase);
    EXPECT_NE(failure.description().find("damaged.mdb"), std::string::npos)
        << failure.description();
    EXPECT_NE(failure.description().find("page 2"), std::string::npos) << failure.description();
  }
}

}  // namespace
