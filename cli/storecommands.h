#pragma once
// What the catalogue and table commands share: opening a table from a path with messages
// the way the program words them, and the delimited lines of a listing.
#include "store/table.h"

#include <QString>
#include <functional>

namespace kvcli {

// Runs work on a table object pointed at path; a DbError becomes its message on standard
// error and exit status 1.
int withTable(const QString &path, const std::function<int(kv::Table &)> &work);

// One record as a line of delimited text: each value in double quotes with inner double
// quotes doubled, separated by commas, ended by CRLF; in code page 1252 (the export
// format), or in UTF-8 for a terminal.
enum class TextEncoding { Cp1252, Utf8 };
QByteArray delimitedLine(const QStringList &values, TextEncoding encoding = TextEncoding::Cp1252);

// Opens a catalogue for a listing in its sort order (the order its settings name, its
// tag brought up to date when it may be), or in physical order.
void openInActiveOrder(kv::Table &table, bool physical);
// Every record visible in the table, in its order, as `list` writes them.
void writeListing(kv::Table &table, TextEncoding encoding);

} // namespace kvcli
