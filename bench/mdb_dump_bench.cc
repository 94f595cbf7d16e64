// Dump speed of the storage engine: open + read every user table and index of
// the largest Access file, and of a generated 30,000-row table built in
// memory; and open alone (header and catalog).

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "../tests/mdb/support/b_dump_all.h"
#include "../tests/mdb/support/b_jet4_builder.h"
#include "../tests/mdb/support/b_memory_file.h"

namespace {

const std::vector<std::byte>& LargestAccessFile() {
  static const std::vector<std::byte> bytes =
      mdbtest::ReadFileBytes(std::string(ORLIX_SHARED_DIR) + "/testdata/access/testV2000.mdb");
  return bytes;
}

// 30,000 rows of (Id Long, Amount Double, Name Text, Flag Yes/No).
const std::vector<std::byte>& Generated30000Rows() {
  static const std::vector<std::byte> bytes = [] {
    using mdbtest::JetType;
    const std::vector<mdbtest::BuiltColumn> columns{{"Id", JetType::kLong},
                                                    {"Amount", JetType::kDouble},
                                                    {"Name", JetType::kText, 100},
                                                    {"Flag", JetType::kBoolean}};
    std::vector<std::vector<mdbtest::Cell>> rows;
    rows.reserve(30000);
    for (std::uint32_t i = 0; i < 30000; ++i) {
      const double amount = i * 1.25;
      mdbtest::Bytes amount_bytes(8);
      std::memcpy(amount_bytes.data(), &amount, 8);
      rows.push_back({mdbtest::U32Bytes(i), amount_bytes,
                      mdbtest::Utf16("row " + std::to_string(i)), mdbtest::Bytes(i % 2)});
    }
    mdbtest::Jet4Builder builder;
    builder.AddTable("Generated", columns, rows);
    return builder.Build();
  }();
  return bytes;
}

void Dump(benchmark::State& state, const std::vector<std::byte>& file) {
  if (file.empty()) {
    state.SkipWithError("test database not found");
    return;
  }
  std::size_t items = 0;
  for (auto _ : state) {
    mdb::Database db = mdb::Database::Open(mdbtest::MakeMemoryFile(file), "bench.mdb");
    items = mdbtest::DumpAll(db, false);
    benchmark::DoNotOptimize(items);
  }
  state.counters["values"] = double(items);
  state.SetBytesProcessed(std::int64_t(state.iterations() * file.size()));
}

void BM_DumpTestV2000(benchmark::State& state) {
  Dump(state, LargestAccessFile());
}
void BM_DumpGenerated30000Rows(benchmark::State& state) {
  Dump(state, Generated30000Rows());
}

void BM_OpenTestV2000(benchmark::State& state) {
  const auto& file = LargestAccessFile();
  for (auto _ : state) {
    mdb::Database db = mdb::Database::Open(mdbtest::MakeMemoryFile(file), "bench.mdb");
    benchmark::DoNotOptimize(db.catalog().size());
  }
}

BENCHMARK(BM_DumpTestV2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpGenerated30000Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTestV2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
