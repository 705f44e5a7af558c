#pragma once
// Exporting: the catalogue, or what the search lets through, to delimited text or to a
// new dBASE table.
#include "app/settings/settings.h"
#include "exchange/delimitedtext.h"
#include "exchange/progress.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kv {

class Table;

enum class ExportKind { Text = 1, Dbase = 2 };

inline constexpr char kNoFieldsMessage[] = "No fields selected for export.";
inline constexpr char kExportCompleteMessage[] = "Export Complete.";

// The included fields in export order, as field numbers.
QList<int> exportList(const Settings &settings);
// A field's title on the first line: its caption when the viewer shows it, else its name.
QString exportTitle(const Settings &settings, int field);
// The value of the current record's field in `column`, of that kind, as the edit window shows it:
// dates with two-digit day and month and four-digit year, numbers as plain digits with the
// current decimal mark.
QString exportedText(const Table &table, int column, FieldKind kind);

struct ExportRequest {
    ExportKind kind = ExportKind::Text;
    QString path;
    QList<int> fields;  // field numbers in export order
    QStringList titles; // the first line of a text export; none when empty
    // Of a text export; UTF-8 starts with a byte-order mark, which spreadsheets look for.
    TextEncoding encoding = TextEncoding::Cp1252;
};

// The finishing message of an export: "Export Complete." and, when there were any, how
// many values were written with '?'.
QString exportCompleteMessage(qint64 replaced);
// That sentence alone; empty when there were none.
QString replacedExportMessage(qint64 replaced);

// Writes every record the master table shows, in its order, from the first; a failure
// throws DbError. The file (text or dBASE table) replaces an old one of its name only
// when complete: a full disk leaves the old file, and the message says why. The number of records written; replaced,
// when given, counts the values written with '?' for characters the encoding lacks.
qint64 exportRecords(Table &master, const ExportRequest &request, ExchangeProgress *progress = nullptr,
                     qint64 *replaced = nullptr);

} // namespace kv
