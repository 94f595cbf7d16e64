// Opening: the header tells the generation and the settings under the mask;
// files the engine cannot or must not read are refused with DAO's numbers;
// opening and scanning read each page of the file at most once.

#include <gtest/gtest.h>

#include <map>

#include "mdb/database.h"
#include "mdb/header_mask.h"
#include "support/a_bytes_file.h"
#include "support/shared_data.h"

namespace {

using Bytes = std::vector<std::byte>;

Bytes Sample(const std::string& name) {
  return mdbtest::LoadBytes(testsupport::AccessDataDir() / name);
}

// Applies a change to the unmasked header of a sample, then masks it again.
Bytes WithHeaderChange(Bytes bytes, const mdb::Format& format, std::size_t offset, std::byte flip) {
  std::span<std::byte> page0(bytes.data(), format.page_size);
  mdb::ToggleHeaderMask(format, page0);
  page0[offset] ^= flip;
  mdb::ToggleHeaderMask(format, page0);
  return bytes;
}

platform::Failure OpenFailure(Bytes bytes) {
  try {
    mdb::Database::Open(mdbtest::FileOf(std::move(bytes)), "sample.mdb");
  } catch (const platform::Failure& failure) {
    return failure;
  }
  return platform::Failure(0, "", "opened");
}

TEST(OpenTest, TellsTheGenerationAndTheMaskedSettings) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  struct Case {
    const char* file;
    mdb::JetVersion version;
    std::uint32_t page_size;
  } cases[] = {{"testV1997.mdb", mdb::JetVersion::kJet3, 2048},
               {"testV2000.mdb", mdb::JetVersion::kJet4, 4096}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    mdb::Database db = mdb::Database::Open(mdbtest::FileOf(Sample(c.file)), c.file);
    EXPECT_EQ(db.format().version, c.version);
    EXPECT_EQ(db.format().page_size, c.page_size);
    EXPECT_EQ(db.header().code_page, 1252);
    EXPECT_EQ(db.header().sort_order, 1033);  // General
  }
}

TEST(OpenTest, RefusesWhatItCannotRead) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  Bytes jet4 = Sample("empty2000.mdb");
  Bytes jet3 = Sample("testV1997.mdb");
  Bytes not_jet(8192, std::byte{'x'});
  Bytes truncated(jet4.begin(), jet4.begin() + 4096 * 2 + 100);
  Bytes ace = jet4;
  ace[0x14] = std::byte{2};
  Bytes ace2010 = jet4;
  ace2010[0x14] = std::byte{3};
  struct Case {
    const char* what;
    Bytes bytes;
    std::int32_t number;
    const char* says;
  } cases[] = {
      {"no Jet file", not_jet, 3343, "no Jet database"},
      {"empty file", Bytes{}, 3343, "no Jet database"},
      {"truncated", truncated, 3049, "truncated"},
      {"Access 2007", ace, 3343, "Access 2007"},
      {"Access 2010", ace2010, 3343, "Access 2010"},
      {"Jet 4 password", WithHeaderChange(jet4, mdb::kJet4Format, 0x42, std::byte{0x58}), 3031,
       "password"},
      {"Jet 3 password", WithHeaderChange(jet3, mdb::kJet3Format, 0x42, std::byte{0x58}), 3031,
       "password"},
      {"Jet 4 encrypted", WithHeaderChange(jet4, mdb::kJet4Format, 0x3E, std::byte{0x11}), 3031,
       "encrypted"},
      {"Jet 3 encrypted", WithHeaderChange(jet3, mdb::kJet3Format, 0x3E, std::byte{0x11}), 3031,
       "encrypted"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    platform::Failure failure = OpenFailure(c.bytes);
    EXPECT_EQ(failure.number(), c.number);
    EXPECT_EQ(failure.source(), "mdb");
    EXPECT_NE(failure.description().find(c.says), std::string::npos) << failure.description();
    EXPECT_NE(failure.description().find("sample.mdb"), std::string::npos);
  }
}

TEST(OpenTest, UnknownTablesAndQueriesAreRefused) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  mdb::Database db =
      mdb::Database::Open(mdbtest::FileOf(Sample("queryTestV2000.mdb")), "queryTestV2000.mdb");
  try {
    db.OpenTable("NoSuchTable");
    FAIL() << "opened a missing table";
  } catch (const platform::Failure& f) {
    EXPECT_EQ(f.number(), 3011);
  }
  EXPECT_EQ(db.Find("selectquery").kind, mdb::ObjectKind::kQuery);
  try {
    db.OpenTable("SelectQuery");
    FAIL() << "opened a query as a table";
  } catch (const platform::Failure& f) {
    EXPECT_EQ(f.number(), 3265);
  }
  std::vector<std::string> names;
  for (const auto* e : db.Tables()) names.push_back(e->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Table1", "Table2", "Table3"}));
  bool has_system = false;
  for (const auto* e : db.Tables(true)) has_system |= e->name == "MSysObjects";
  EXPECT_TRUE(has_system);
}

// Counts the reads of each page.
class CountingFile : public mdbtest::BytesFile {
 public:
  CountingFile(Bytes bytes, std::map<std::uint64_t, int>& reads)
      : BytesFile(std::move(bytes)), reads_(reads) {}
  void Read(std::uint64_t offset, std::span<std::byte> out) override {
    ++reads_[offset];
    BytesFile::Read(offset, out);
  }

 private:
  std::map<std::uint64_t, int>& reads_;
};

TEST(OpenTest, OpeningAndScanningReadEachPageOnce) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  std::map<std::uint64_t, int> reads;
  Bytes bytes = Sample("testV2000.mdb");
  std::size_t pages = bytes.size() / 4096;
  mdb::Database db =
      mdb::Database::Open(std::make_unique<CountingFile>(bytes, reads), "testV2000.mdb");
  std::size_t after_open = reads.size();
  EXPECT_LT(after_open, pages / 10) << "opening read more than the header and catalog";
  for (const auto* e : db.Tables()) db.OpenTable(e->name).ReadAll();
  for (const auto& [offset, count] : reads) {
    if (offset != 0) {
      EXPECT_EQ(count, 1) << "page " << offset / 4096 << " read " << count << " times";
    }
  }
  EXPECT_GT(reads.size(), after_open);
}

TEST(OpenTest, MissingFileThroughTheEnvironmentIs3024) {
  // The path check goes through Env::IsOrdinaryFile; a minimal Env answers no.
  struct NoFiles : platform::Env {
    char PathSeparator() const override { return '/'; }
    std::string ResolvePath(std::string_view p) override { return std::string(p); }
    bool IsOrdinaryFile(std::string_view) override { return false; }
    std::optional<platform::FileStamp> Stat(std::string_view) override { return {}; }
    std::optional<std::string> ReadWholeFile(std::string_view) override { return {}; }
    void ReplaceWholeFile(std::string_view, std::string_view) override {}
    void AppendToFile(std::string_view, std::string_view) override {}
    std::unique_ptr<platform::File> OpenFile(std::string_view, platform::OpenMode) override {
      return nullptr;
    }
    std::unique_ptr<platform::File> CreateFile(std::string_view) override { return nullptr; }
    void CopyFileReplacing(std::string_view, std::string_view) override {}
    void RemoveFile(std::string_view) override {}
    std::optional<platform::FileTimes> GetFileTimes(std::string_view) override { return {}; }
    bool SetFileTimes(std::string_view, const platform::FileTimes&) override { return false; }
    std::string CommandLine() override { return {}; }
    std::string ProgramFolder() override { return {}; }
    std::string ExecutableName() override { return {}; }
    std::string ExecutableFileName() override { return {}; }
    std::optional<std::string> FirstEnvironmentEntry() override { return {}; }
    std::optional<std::string> GetVariable(std::string_view) override { return {}; }
    std::string ServicePackLogPath() override { return {}; }
    [[noreturn]] void ExitProcess(int) override { std::abort(); }
    int MessageBox(std::string_view, std::string_view, int) override { return 0; }
    bool PollCloseRequest() override { return false; }
    std::chrono::system_clock::time_point Now() override { return {}; }
  } env;
  try {
    mdb::Database::Open(env, "/nowhere/db.mdb");
    FAIL() << "opened a missing file";
  } catch (const platform::Failure& f) {
    EXPECT_EQ(f.number(), 3024);
    EXPECT_NE(f.description().find("/nowhere/db.mdb"), std::string::npos);
  }
}

}  // namespace
