#pragma once
// The character set of what list, search and lists print: UTF-8 on a terminal whose
// locale is UTF-8, code page 1252 otherwise; --utf8 and --cp1252 choose it outright.
#include "exchange/delimitedtext.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace kvcli {

// Whether a locale setting names UTF-8 ("C.UTF-8", "de_DE.utf8@euro"); POSIX order:
// LC_ALL, then LC_CTYPE, then LANG, the first that is set.
bool localeIsUtf8(const QByteArray &lcAll, const QByteArray &lcCtype, const QByteArray &lang);

// Takes --utf8 and --cp1252 out of args; nullopt when both are given.
std::optional<kv::TextEncoding> takeTerminalEncoding(QStringList &args);

} // namespace kvcli
