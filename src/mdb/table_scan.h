#pragma once
// Walking the rows of a table in stored order: the pages of its usage map in
// page order, on each page the rows in row-table order, deleted rows skipped
// and overflow pointers followed to the row's real place.

#include <functional>

#include "mdb/pager.h"
#include "mdb/row_pointer.h"
#include "mdb/table_definition.h"

namespace mdb {

using RowVisitor = std::function<void(RowPointer, const ByteView& row)>;

void ScanRows(Pager& pager, const TableDefinition& table, const RowVisitor& visit);

// The bytes of one row, following overflow pointers; nullopt for a deleted
// row. `keep` holds the page the view points into.
std::optional<ByteView> ResolveRow(Pager& pager, RowPointer at, std::uint32_t referring_page,
                                   PageRef& keep);

}  // namespace mdb
