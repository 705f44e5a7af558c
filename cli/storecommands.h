#pragma once
// What the catalogue and table commands share: opening a table from a path with messages
// the way the program words them.
#include "exchange/delimitedtext.h"
#include "store/table.h"

#include <QString>
#include <functional>

namespace kvcli {

// Runs work on a table object pointed at path; a DbError becomes its message on standard
// error and exit status 1.
int withTable(const QString &path, const std::function<int(kv::Table &)> &work);

// Listings are delimited text in code page 1252 (the export format), or in UTF-8 for a
// terminal.
using TextEncoding = kv::TextEncoding;

// A table whose header disagrees with its fields or with its file is only read: says
// how, and false. A table that is missing or cannot be opened here is left to the
// command to report. Writers ask before they recognise the file as a catalogue.
bool headerSound(const QString &path);

// Says what the table put right in its index when it opened for writing (or began a
// bulk append), on standard error; nothing when it put nothing right.
void tellIndexNotice(kv::Table &table);

// Opens a catalogue for a listing in its sort order (the order its settings name, its
// tag brought up to date when it may be), or in physical order.
void openInActiveOrder(kv::Table &table, bool physical);
// Every record visible in the table, in its order, as `list` writes them: each value
// in double quotes, inner double quotes doubled, as it is stored.
void writeListing(kv::Table &table, TextEncoding encoding);

} // namespace kvcli
