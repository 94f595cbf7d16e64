#include "value_text.h"

#include <cmath>
#include <cstdio>

#include "mdb/numeric_codec.h"

namespace mdbtool {
namespace {

template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

std::string ShortestDouble(double d) {
  char buffer[40];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, d);
    if (std::strtod(buffer, nullptr) == d) break;
  }
  return buffer;
}

std::string ShortestFloat(float f) {
  char buffer[40];
  for (int precision = 6; precision <= 9; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(f));
    if (std::strtof(buffer, nullptr) == f) break;
  }
  return buffer;
}

nlohmann::json FloatingToJson(double d, std::string text) {
  if (std::isfinite(d)) return nlohmann::json::parse(text);
  return std::isnan(d) ? "NaN" : (d > 0 ? "Infinity" : "-Infinity");
}

}  // namespace

std::string Base64(const std::vector<std::byte>& bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned n = (std::to_integer<unsigned>(bytes[i]) << 16) |
                 (std::to_integer<unsigned>(bytes[i + 1]) << 8) |
                 std::to_integer<unsigned>(bytes[i + 2]);
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  if (i < bytes.size()) {
    unsigned n = std::to_integer<unsigned>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= std::to_integer<unsigned>(bytes[i + 1]) << 8;
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

nlohmann::json ValueToJson(const mdb::Value& value) {
  return std::visit(
      Overload{
          [](const mdb::Null&) -> nlohmann::json { return nullptr; },
          [](bool b) -> nlohmann::json { return b; },
          [](std::uint8_t v) -> nlohmann::json { return v; },
          [](std::int16_t v) -> nlohmann::json { return v; },
          [](std::int32_t v) -> nlohmann::json { return v; },
          [](const mdb::Currency& c) -> nlohmann::json { return mdb::CurrencyToString(c); },
          [](float f) -> nlohmann::json { return FloatingToJson(f, ShortestFloat(f)); },
          [](double d) -> nlohmann::json { return FloatingToJson(d, ShortestDouble(d)); },
          [](const mdb::Date& d) -> nlohmann::json { return mdb::DateToIso8601(d); },
          [](const mdb::Text& t) -> nlohmann::json { return t.utf8; },
          [](const mdb::Memo& m) -> nlohmann::json { return m.utf8; },
          [](const mdb::Binary& b) -> nlohmann::json { return Base64(b.bytes); },
          [](const mdb::Ole& o) -> nlohmann::json { return Base64(o.bytes); },
          [](const mdb::Guid& g) -> nlohmann::json { return mdb::GuidToString(g); },
          [](const mdb::Decimal& d) -> nlohmann::json { return mdb::DecimalToString(d); },
      },
      value);
}

std::string QuoteCsv(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string ValueToCsv(const mdb::Value& value) {
  return std::visit(
      Overload{
          [](const mdb::Null&) -> std::string { return ""; },
          [](bool b) -> std::string { return b ? "1" : "0"; },
          [](std::uint8_t v) -> std::string { return std::to_string(v); },
          [](std::int16_t v) -> std::string { return std::to_string(v); },
          [](std::int32_t v) -> std::string { return std::to_string(v); },
          [](const mdb::Currency& c) -> std::string { return mdb::CurrencyToString(c); },
          [](float f) -> std::string { return ShortestFloat(f); },
          [](double d) -> std::string { return ShortestDouble(d); },
          [](const mdb::Date& d) -> std::string {
            std::string iso = mdb::DateToIso8601(d);
            iso[10] = ' ';
            return QuoteCsv(iso);
          },
          [](const mdb::Text& t) -> std::string { return QuoteCsv(t.utf8); },
          [](const mdb::Memo& m) -> std::string { return QuoteCsv(m.utf8); },
          [](const mdb::Binary& b) -> std::string { return QuoteCsv(Base64(b.bytes)); },
          [](const mdb::Ole& o) -> std::string { return QuoteCsv(Base64(o.bytes)); },
          [](const mdb::Guid& g) -> std::string { return QuoteCsv(mdb::GuidToString(g)); },
          [](const mdb::Decimal& d) -> std::string { return mdb::DecimalToString(d); },
      },
      value);
}

nlohmann::json ColumnToJson(const mdb::ColumnDefinition& c) {
  nlohmann::json j;
  j["name"] = c.name;
  j["type"] = std::string(mdb::ColumnTypeName(c.type));
  j["type_code"] = c.type_code;
  j["size"] = c.length;
  j["fixed"] = c.fixed();
  j["nullable"] = c.nullable();
  j["autonumber"] = c.autonumber();
  j["auto_guid"] = c.auto_guid();
  j["hyperlink"] = c.hyperlink();
  j["compressed_unicode"] = c.compressed_unicode();
  j["flags"] = c.flags;
  j["ext_flags"] = c.ext_flags;
  j["column_number"] = c.number;
  j["var_index"] = c.var_index;
  j["fixed_offset"] = c.fixed_offset;
  if (c.type == mdb::ColumnType::kDecimal) {
    j["precision"] = c.precision;
    j["scale"] = c.scale;
  }
  return j;
}

nlohmann::json IndexesToJson(const mdb::TableDefinition& table) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& logical : table.logical_indexes) {
    const mdb::PhysicalIndex& physical = table.physical_indexes[logical.physical];
    nlohmann::json j;
    j["name"] = logical.name;
    nlohmann::json columns = nlohmann::json::array();
    for (const auto& ic : physical.columns) {
      columns.push_back({{"name", table.columns[ic.column].name}, {"ascending", ic.ascending}});
    }
    j["columns"] = columns;
    j["primary"] = logical.kind == mdb::IndexKind::kPrimaryKey;
    j["foreign_key"] = logical.kind == mdb::IndexKind::kForeignKey;
    j["unique"] = physical.unique();
    j["ignore_nulls"] = physical.ignore_nulls();
    j["required"] = physical.required();
    j["physical_index"] = logical.physical;
    j["root_page"] = physical.root_page;
    if (logical.kind == mdb::IndexKind::kForeignKey) {
      j["related_table_page"] = logical.related_table_page;
      j["related_index"] = logical.related_index;
      j["cascade_updates"] = logical.cascade_updates;
      j["cascade_deletes"] = logical.cascade_deletes;
    }
    out.push_back(j);
  }
  return out;
}

}  // namespace mdbtool
