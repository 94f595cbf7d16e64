// Every user table of every sample database, read by the engine and compared
// value by value with mdbtools' mdb-export of the same table. Only the
// formatting of numbers, dates and identifiers is normalised.
//
// Cases where mdbtools is wrong and the engine is kept correct:
// - Dates before 1900-01-01: mdb-export prints "1900-01-00 00:00:00" (its
//   calendar starts in 1900); compared only when the date is from 1900 on.
// - Jet 3 text with bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
//   0x90, 0x9D): mdb-export prints '?', the engine keeps U+0081 ... U+009D so
//   that the text converts back to the same bytes.
// - Overflow rows: mdb-export lists a row whose data moved to another page at
//   that page; the engine lists it at its own row slot, the address its
//   indexes use. Tables with such rows are compared as sets of rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "mdb/database.h"
#include "mdb/numeric_codec.h"
#include "support/a_bytes_file.h"
#include "support/shared_data.h"

namespace {

constexpr const char* kNullMark = "@@NULL@@";

struct CsvField {
  std::string text;
  bool quoted = false;
};
using CsvRow = std::vector<CsvField>;

// CSV as mdb-export writes it: quotes doubled inside quoted fields, line
// breaks allowed inside them.
std::vector<CsvRow> ParseCsv(const std::string& text) {
  std::vector<CsvRow> rows;
  CsvRow row;
  CsvField field;
  bool in_quotes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (in_quotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field.text += '"';
        ++i;
      } else if (c == '"') {
        in_quotes = false;
      } else {
        field.text += c;
      }
    } else if (c == '"') {
      in_quotes = true;
      field.quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field = {};
    } else if (c == '\n') {
      row.push_back(std::move(field));
      field = {};
      rows.push_back(std::move(row));
      row = {};
    } else {
      field.text += c;
    }
  }
  if (!row.empty() || !field.text.empty()) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

bool MdbExportAvailable() {
  return std::system("mdb-export --version > /dev/null 2>&1") == 0;
}

std::string RunMdbExport(const std::filesystem::path& file, const std::string& table) {
  auto out =
      std::filesystem::temp_directory_path() /
      ("mdb_compare_" + std::to_string(std::hash<std::string>{}(file.string() + table)) + ".csv");
  std::string command = "mdb-export -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -b hex -0 '" +
                        std::string(kNullMark) + "' '" + file.string() + "' '" + table + "' > '" +
                        out.string() + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(out, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::filesystem::remove(out);
  return text.str();
}

std::string Hex(const std::vector<std::byte>& bytes) {
  std::string out;
  char buffer[3];
  for (std::byte b : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X", std::to_integer<unsigned>(b));
    out += buffer;
  }
  return out;
}

// mdb-export -b hex writes a Jet 3 Replication ID as the hex of its text.
std::string UnhexIfNeeded(const std::string& s) {
  if (s.empty() || s[0] == '{' || s.size() % 2 != 0) return s;
  std::string out;
  for (std::size_t i = 0; i < s.size(); i += 2) {
    out += static_cast<char>(std::strtol(s.substr(i, 2).c_str(), nullptr, 16));
  }
  return out;
}

std::string WithoutDashes(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '-'), s.end());
  return s;
}

// mdb-export writes '?' for characters its code-page conversion lacks.
bool SameText(const std::string& ours, const std::string& theirs) {
  if (ours == theirs) return true;
  std::string mapped;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    auto c = static_cast<unsigned char>(ours[i]);
    if (c == 0xC2 && i + 1 < ours.size() && static_cast<unsigned char>(ours[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(ours[i + 1]) < 0xA0) {
      mapped += '?';
      ++i;
    } else {
      mapped += ours[i];
    }
  }
  return mapped == theirs;
}

bool SameNumber(double ours, const std::string& theirs, double tolerance) {
  char* end = nullptr;
  double value = std::strtod(theirs.c_str(), &end);
  if (end == theirs.c_str()) return false;
  return std::fabs(value - ours) <= tolerance * std::max(1.0, std::fabs(ours));
}

// Why ours and theirs differ, or empty when they agree.
std::string Compare(const mdb::Value& ours, const CsvField& theirs) {
  bool their_null = !theirs.quoted && theirs.text == kNullMark;
  if (mdb::IsNull(ours)) return their_null ? "" : "expected Null";
  if (their_null) return "mdbtools has Null";
  const std::string& t = theirs.text;
  auto fail = [&](const std::string& ours_text) {
    return "ours " + ours_text + " vs mdbtools " + t;
  };
  if (auto* b = std::get_if<bool>(&ours))
    return (t == (*b ? "1" : "0")) ? "" : fail(*b ? "1" : "0");
  if (auto* v = std::get_if<std::uint8_t>(&ours))
    return t == std::to_string(*v) ? "" : fail(std::to_string(*v));
  if (auto* v = std::get_if<std::int16_t>(&ours))
    return t == std::to_string(*v) ? "" : fail(std::to_string(*v));
  if (auto* v = std::get_if<std::int32_t>(&ours))
    return t == std::to_string(*v) ? "" : fail(std::to_string(*v));
  if (auto* v = std::get_if<float>(&ours)) {
    return SameNumber(*v, t, 1e-6) ? "" : fail(std::to_string(*v));
  }
  if (auto* v = std::get_if<double>(&ours)) {
    return SameNumber(*v, t, 1e-12) ? "" : fail(std::to_string(*v));
  }
  if (auto* v = std::get_if<mdb::Currency>(&ours)) {
    std::string s = mdb::CurrencyToString(*v);
    return SameNumber(static_cast<double>(v->scaled) / 10000.0, t, 1e-15) ? "" : fail(s);
  }
  if (auto* v = std::get_if<mdb::Decimal>(&ours)) {
    std::string s = mdb::DecimalToString(*v);
    return SameNumber(std::strtod(s.c_str(), nullptr), t, 1e-15) ? "" : fail(s);
  }
  if (auto* v = std::get_if<mdb::Date>(&ours)) {
    mdb::DateParts p = mdb::SplitOleDate(v->ole);
    if (p.year < 1900) return "";  // mdbtools cannot print these (see above)
    std::string iso = mdb::DateToIso8601(mdb::Date{std::floor(v->ole * 86400.0 + 0.5) / 86400.0});
    iso = iso.substr(0, 19);
    iso[10] = ' ';
    return iso == t ? "" : fail(iso);
  }
  if (auto* v = std::get_if<mdb::Text>(&ours)) return SameText(v->utf8, t) ? "" : fail(v->utf8);
  if (auto* v = std::get_if<mdb::Memo>(&ours)) return SameText(v->utf8, t) ? "" : fail(v->utf8);
  if (auto* v = std::get_if<mdb::Binary>(&ours))
    return Hex(v->bytes) == t ? "" : fail(Hex(v->bytes));
  if (auto* v = std::get_if<mdb::Ole>(&ours)) return Hex(v->bytes) == t ? "" : fail(Hex(v->bytes));
  if (auto* v = std::get_if<mdb::Guid>(&ours)) {
    std::string s = mdb::GuidToString(*v);
    return WithoutDashes(s) == WithoutDashes(UnhexIfNeeded(t)) ? "" : fail(s);
  }
  return "unhandled value type";
}

std::string CompareRow(const mdb::Row& ours, const CsvRow& theirs,
                       const mdb::TableDefinition& def) {
  if (ours.size() != theirs.size()) {
    return "column count " + std::to_string(ours.size()) + " vs " + std::to_string(theirs.size());
  }
  for (std::size_t c = 0; c < ours.size(); ++c) {
    std::string why = Compare(ours[c], theirs[c]);
    if (!why.empty()) return "column " + def.columns[c].name + ": " + why;
  }
  return "";
}

bool HasOverflowRows(const std::filesystem::path& file) {
  return file.filename() == "overflowTestV2000.mdb";
}

class MdbtoolsComparison : public ::testing::TestWithParam<std::string> {};

TEST_P(MdbtoolsComparison, EveryUserTableAgreesValueByValue) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  if (!MdbExportAvailable()) GTEST_SKIP() << "mdb-export (mdbtools) is not installed";
  auto path = testsupport::AccessDataDir() / GetParam();
  mdb::Database db = mdb::Database::Open(mdbtest::FileOf(mdbtest::LoadBytes(path)), path.string());
  for (const mdb::CatalogEntry* entry : db.Tables()) {
    SCOPED_TRACE(entry->name);
    mdb::Table table = db.OpenTable(entry->name);
    std::vector<mdb::Row> ours = table.ReadAll();
    std::vector<CsvRow> theirs = ParseCsv(RunMdbExport(path, entry->name));
    ASSERT_FALSE(theirs.empty());
    const auto& columns = table.definition().columns;
    ASSERT_EQ(theirs[0].size(), columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) EXPECT_EQ(theirs[0][c].text, columns[c].name);
    theirs.erase(theirs.begin());
    ASSERT_EQ(ours.size(), theirs.size());
    std::vector<bool> matched(theirs.size(), false);
    for (std::size_t r = 0; r < ours.size(); ++r) {
      if (!HasOverflowRows(path)) {
        std::string why = CompareRow(ours[r], theirs[r], table.definition());
        EXPECT_EQ(why, "") << "row " << r;
        continue;
      }
      bool found = false;
      for (std::size_t k = 0; k < theirs.size() && !found; ++k) {
        if (!matched[k] && CompareRow(ours[r], theirs[k], table.definition()).empty()) {
          matched[k] = found = true;
        }
      }
      EXPECT_TRUE(found) << "row " << r << " has no equal row in mdbtools' export";
    }
  }
}

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  if (!std::filesystem::is_directory(testsupport::AccessDataDir())) return {"(none)"};
  for (const auto& p : mdbtest::SampleDatabases(testsupport::AccessDataDir())) {
    names.push_back(p.filename().string());
  }
  return names;
}

INSTANTIATE_TEST_SUITE_P(SampleDatabases, MdbtoolsComparison, ::testing::ValuesIn(SampleNames()),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
