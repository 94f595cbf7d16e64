#pragma once
// Exact text forms of the numeric column types: Currency and Decimal as
// decimal strings, Date/Time as ISO 8601, Replication ID in braces.

#include <cstdint>
#include <string>

#include "mdb/value.h"

namespace mdb {

// "-12.3400": always four decimals.
std::string CurrencyToString(Currency value);

// The decimal digits with the column's scale, e.g. "-1.50" for scale 2.
std::string DecimalToString(const Decimal& value);

// Calendar parts of an OLE date, rounded to the millisecond.
struct DateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0, millisecond = 0;
};
DateParts SplitOleDate(double ole);

// "1974-09-21T13:05:00", with ".123" when there are milliseconds.
std::string DateToIso8601(Date value);

// "{6B29FC40-CA47-1067-B31D-00DD010662DA}": the first three groups are stored
// little-endian.
std::string GuidToString(const Guid& value);

}  // namespace mdb
