// The key encoder against the keys Access itself wrote: for every index of
// the Access-written test databases, each row's key must be one of the keys
// on the file's leaf pages, byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "mdb/index_key.h"
#include "mdb/support/index_key_access_rows.h"
#include "mdb/support/index_key_leaf_keys.h"
#include "support/shared_data.h"

namespace {

using mdb::index_key::KeyColumnType;
using mdb::index_key::KeyPart;
using mdb::index_key::KeyValue;
using testsupport::AccessIndexCase;
using testsupport::KeyBytes;

std::int64_t ParseInteger(const std::string& text) {
  return std::stoll(text);
}

// "3245.0000" as ten-thousandths.
std::int64_t ParseCurrency(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string digits = negative ? text.substr(1) : text;
  const auto dot = digits.find('.');
  std::string whole = digits.substr(0, dot);
  std::string fraction = dot == std::string::npos ? "" : digits.substr(dot + 1);
  fraction.resize(4, '0');
  const std::int64_t scaled = std::stoll(whole) * 10000 + std::stoll(fraction);
  return negative ? -scaled : scaled;
}

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + std::int64_t(doe) - 719468;
}

// "YYYY-MM-DD HH:MM:SS" as an OLE date: whole days since 1899-12-30, the
// time as a fraction that keeps its sign away from zero for earlier days.
double ParseDate(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  const std::int64_t days =
      DaysFromCivil(y, unsigned(mo), unsigned(d)) - DaysFromCivil(1899, 12, 30);
  const double time = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
  return days >= 0 ? double(days) + time : double(days) - time;
}

// "{8E39276A-BCA8-4AC4-891E49911D8438DD}" in the order of its digits.
mdb::index_key::Guid ParseGuid(const std::string& text) {
  mdb::index_key::Guid guid;
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size() && n < 32; ++i) {
    const char c = text[i];
    const int digit =
        std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::toupper(c) - 'A' + 10);
    if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
    guid.bytes[n / 2] = std::uint8_t(guid.bytes[n / 2] << 4 | digit);
    ++n;
  }
  return guid;
}

KeyValue ParseValue(KeyColumnType type, const std::optional<std::string>& text) {
  if (!text) return mdb::index_key::Null{};
  switch (type) {
    case KeyColumnType::kYesNo:
      return *text != "0";
    case KeyColumnType::kByte:
    case KeyColumnType::kInteger:
    case KeyColumnType::kLong:
      return ParseInteger(*text);
    case KeyColumnType::kCurrency:
      return ParseCurrency(*text);
    case KeyColumnType::kSingle:
    case KeyColumnType::kDouble:
      return std::strtod(text->c_str(), nullptr);
    case KeyColumnType::kDateTime:
      return ParseDate(*text);
    case KeyColumnType::kGuid:
      return ParseGuid(*text);
    default:
      return *text;
  }
}

std::string Hex(const KeyBytes& bytes) {
  std::string out;
  char buf[4];
  for (auto b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", b);
    out += buf;
  }
  return out;
}

std::string RowText(const std::vector<std::optional<std::string>>& row) {
  std::string out;
  for (const auto& field : row) out += (field ? "\"" + *field + "\"" : std::string("Null")) + " ";
  return out;
}

class AccessKeysTest : public ::testing::TestWithParam<std::string> {};

TEST_P(AccessKeysTest, EveryRowKeyIsOneAccessWrote) {
  const auto dir = testsupport::AccessDataDir();
  ORLIX_REQUIRE_DIR(dir);
  const auto leaves = testsupport::ReadAccessLeafKeys(dir / GetParam());
  ASSERT_FALSE(leaves.keys.empty());
  const auto order = leaves.jet3 ? mdb::index_key::TextOrder::kGeneralJet3
                                 : mdb::index_key::TextOrder::kGeneralJet4;
  std::size_t checked = 0;
  for (const AccessIndexCase& index : testsupport::AccessIndexCases()) {
    if (GetParam() != index.file) continue;
    int reported = 0;
    ASSERT_EQ(index.cells.size() % index.columns.size(), 0u) << index.index << ": ragged rows";
    for (const auto& row : index.Rows()) {
      std::vector<KeyPart> parts;
      for (std::size_t i = 0; i < index.columns.size(); ++i)
        parts.push_back({index.columns[i].type, index.columns[i].ascending,
                         ParseValue(index.columns[i].type, row[i])});
      const KeyBytes key = mdb::index_key::EncodeKey(order, parts);
      ++checked;
      if (leaves.keys.count(key) != 0 || reported >= 3) continue;
      ++reported;
      const auto near = leaves.keys.lower_bound(key);
      ADD_FAILURE() << index.table << "." << index.index << " row " << RowText(row)
                    << "\n  ours:    " << Hex(key) << "\n  nearest: "
                    << (near == leaves.keys.end() ? std::string("-") : Hex(*near));
    }
  }
  EXPECT_GT(checked, 0u);
}

INSTANTIATE_TEST_SUITE_P(AccessFiles, AccessKeysTest,
                         ::testing::Values("testIndexCodesV1997.mdb", "indexTestV1997.mdb",
                                           "testV1997.mdb", "indexTestV2000.mdb",
                                           "bigIndexTestV2000.mdb", "compIndexTestV2000.mdb",
                                           "indexCursorTestV2000.mdb", "testV2000.mdb",
                                           "test2V2000.mdb", "empty2000.mdb", "adox_jet4.mdb"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name.erase(name.find('.'));
                           return name;
                         });

}  // namespace
