#pragma once
// The files that go with a .DBF: its production index (.MDX) beside it, named after the
// table and found without regard to letter case, as another system may have written it.
#include <QString>

namespace kv {

// A table's base name: the file name up to its first period.
QString tableBaseName(const QString &fileName);

// The .MDX beside a .DBF (directory + base name + ".MDX"), found without regard to
// letter case when it exists.
QString mdxPathFor(const QString &dbfPath);

// Writes 0 into byte 28 of the .DBF when its .MDX is missing, so that the table opens
// without it. An error while opening the file for this write is ignored.
void removeMdxByte(const QString &dbfPath);

} // namespace kv
