#pragma once
// The master table of a catalogue: its 40 fields from the field table, and the
// production-index flag that must be cleared when the .MDX has gone (companion.h).
#include "store/dbf/companion.h"

#include <QString>

namespace kv {

class Table;

inline constexpr char kNotCatalogueMessage[] =
    "This DBase file was not created with Kestrova Videos 97.  It cannot be opened.  You may, however, import "
    "data from this file using the import function.";

// Defines the 40 fields in field-table order on the table object, no index, and creates
// the file at path (replacing one nobody uses). Throws DbError.
void createMasterTable(Table &table, const QString &path);

// True when the open table has exactly the 40 catalogue fields, names compared without
// regard to case.
bool hasMasterLayout(const Table &table);

// Opens a file read-only in physical order with the check table object; the file is
// only read. Throws DbError.
void openForChecking(Table &check, const QString &path);
// Closes the check table on a file recognised as ours and clears its production-index
// flag when the .MDX is missing. A file that is not recognised, or is damaged, is never
// written.
void mendRecognised(Table &check);
// Recognises a file as a catalogue: opens it read-only with the given table object,
// compares its fields and closes it; a catalogue whose .MDX is missing has its
// production-index flag cleared. Throws DbError when the file cannot be opened as a
// dBASE table.
bool isCatalogueFile(Table &check, const QString &path);

} // namespace kv
