#pragma once
// Opening a catalogue in its sort order: the one way the program and the command line
// find the order a catalogue names and open its table in it.
#include "store/table.h"

#include <QString>
#include <optional>

namespace kv {

// The key expression of the sort levels in the catalogue's own settings file (found in
// any letter case); nothing when it has none.
std::optional<QString> savedSortExpression(const QString &tablePath);
// The key expression of the open table's sort tag; empty when it has none.
QString sortTagExpression(const Table &table);

enum class SortTag {
    Rebuild,      // built from expression whenever the file is ours alone
    KeepExisting, // built only when the catalogue has none
    KeepCurrent,  // built only when the one it has names another expression
};

// Opens table shared in the order of expression (physical order when it is empty). The
// tag is built while the file is ours; when another program holds it, the tag the
// catalogue has is used as it stands. A failed open throws DbError; a failed build leaves
// the table open in physical order and is returned.
std::optional<DbError> openInSortOrder(Table &table, const QString &expression, SortTag how);

} // namespace kv
