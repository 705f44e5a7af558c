#pragma once
// Code page text converted as bytes, for the writers that pass whole tables through.
#include "base/codepage.h"

namespace kv {

// Appends text of the code page as UTF-8, byte by byte, with no QString between: the
// same bytes as decode(data, size, cp).toUtf8().
void appendAsUtf8(QByteArray &out, const char *data, qsizetype size, Codepage cp = Codepage::Cp1252);

} // namespace kv
