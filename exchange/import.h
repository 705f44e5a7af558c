#pragma once
// Importing: appending records to a catalogue from delimited text or from another dBASE
// table, each value stored by the kind of the catalogue field that receives it.
#include "exchange/progress.h"
#include "store/fieldtable.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv {

class Table;

enum class ImportKind { Text = 1, Dbase = 2 };

inline constexpr int kMaxImportFields = 50;   // of a text file
inline constexpr int kImportNameLength = 20;
inline constexpr char kBlankFieldName[] = "<BLANK FIELD>";
inline constexpr char kImportCompleteMessage[] = "Import Complete.";

// The check of a text file's first line: 0 when the file will do, else the code of
// firstLineMessage(); names holds the import fields the line gives.
struct FirstLineCheck {
    int code = 0;
    QStringList names;
};
// Throws DbError when the file cannot be opened or read.
FirstLineCheck checkFirstLine(const QString &path);
QString firstLineMessage(int code);

// The field names of a dBASE table, cut to 20 characters. Throws DbError.
QStringList dbaseFieldNames(const QString &path);

// For import field i, the catalogue field number 1 ... 40 that receives it, or -1.
using ImportMap = std::vector<int>;
// Import field i to catalogue field i, as the import grid first shows.
ImportMap defaultImportMap(int importFields);

struct ImportRequest {
    ImportKind kind = ImportKind::Text;
    QString path;
    ImportMap map;
    int fieldCount = 0;    // import fields a text line is read for
    bool skipFirst = false; // text only: the first line is not a record
};

struct ImportResult {
    qint64 imported = 0;
    bool stopped = false; // the progress asked to stop
};

// Appends a record to the open master table for each source record. A failure throws
// DbError after the records posted before it are kept.
ImportResult importRecords(Table &master, const ImportRequest &request, ExchangeProgress *progress = nullptr);

// Stores text into field `column` of the record being appended, by the kind of the
// catalogue field: text as it is, integers from their leading digits, reals by the
// decimal conversion, dates only when written with the date separator and no letter.
// Throws DbError for a date or number that does not convert.
void storeImportedValue(Table &table, int column, FieldKind kind, const QString &text);

} // namespace kv
