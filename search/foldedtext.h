#pragma once
// Text compared without regard to letter case or accents: "Amélie" and "AMELIE" fold to
// the same. Strings fold through Unicode decomposition; record bytes fold through a table
// of the table's code page, so that long scans need not decode anything.
#include "base/codepage.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kv {

// Upper case without accents: the letters decomposed and their marks dropped.
QString foldText(const QString &text);

// Byte-to-byte table of the code page: each character to its folded form when that is one
// character of the same code page (é to E, ñ to N), else to its upper case.
const std::uint8_t *foldTable(Codepage cp);

// A word as the folded bytes of a record in the code page would hold it; empty when the
// code page cannot hold one of its characters (then no record can contain it).
QByteArray foldedBytes(const QString &word, Codepage cp);

} // namespace kv
