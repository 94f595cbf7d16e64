#pragma once
// How the tool writes values: as JSON for `dump` and as CSV fields for
// `export` (the encodings are documented in docs/mdbtool.md).

#include <nlohmann/json.hpp>
#include <string>

#include "mdb/table_definition.h"
#include "mdb/value.h"

namespace mdbtool {

std::string Base64(const std::vector<std::byte>& bytes);

nlohmann::json ValueToJson(const mdb::Value& value);
// A CSV field, quoted where needed; Null is an empty field.
std::string ValueToCsv(const mdb::Value& value);
std::string QuoteCsv(const std::string& text);

nlohmann::json ColumnToJson(const mdb::ColumnDefinition& column);
nlohmann::json IndexesToJson(const mdb::TableDefinition& table);

}  // namespace mdbtool
