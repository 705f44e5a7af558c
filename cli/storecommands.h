#pragma once
// What the catalogue and table commands share: opening a table from a path with messages
// the way the program words them.
#include "store/table.h"

#include <QString>
#include <functional>

namespace kvcli {

// Runs work on a table object pointed at path; a DbError becomes its message on standard
// error and exit status 1.
int withTable(const QString &path, const std::function<int(kv::Table &)> &work);

} // namespace kvcli
