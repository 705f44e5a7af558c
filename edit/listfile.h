#pragma once
// Pick-list files: one entry per line, code page 1252, CRLF line ends, no header.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kv {

// Longest line kept; the rest of a longer line is skipped.
inline constexpr int kListLineLength = 255;

// The entries of a list file's bytes: each line cut to 255 characters; empty lines and
// lines of spaces only skipped (a tab is not blank); every other line kept as it is.
QStringList parseListFile(const QByteArray &bytes);
// The bytes of a list file: every entry followed by CRLF; no entries, no bytes.
QByteArray listFileBytes(const QStringList &entries);

// Reads a list file; a missing or unreadable file gives no entries.
QStringList readListFile(const QString &path);

enum class ListWrite { Written, NotCreated, Failed };
// Writes a list file through a temporary file renamed over the old one. NotCreated when
// the file cannot be made (read-only medium, no access), Failed when writing broke off
// after that; either way the reason is in error and the old file is as it was.
ListWrite writeListFile(const QString &path, const QStringList &entries, QString *error = nullptr);

} // namespace kv
