#pragma once
// Importing: appending records to a catalogue from delimited text or from another dBASE
// table, each value stored by the kind of the catalogue field that receives it.
#include "exchange/progress.h"
#include "exchange/textformat.h"
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
// firstLineMessage(); names holds the import fields the line gives, format what the
// file was read as.
struct FirstLineCheck {
    int code = 0;
    QStringList names;
    TextFormat format;
};
// Throws DbError when the file cannot be opened or read.
FirstLineCheck checkFirstLine(const QString &path, const TextChoice &choice = TextChoice());
FirstLineCheck checkFirstLine(const QString &path, const TextFormat &format);
QString firstLineMessage(int code);

// The field names of a dBASE table, cut to 20 characters. Throws DbError.
QStringList dbaseFieldNames(const QString &path);
// The encoding of a dBASE table's text: what its ".cpg" file names, else what its
// language driver byte says (437, 850, 1252; 1252 for any other). Throws DbError.
TextEncoding dbaseEncoding(const QString &path);

// For import field i, the catalogue field number 1 ... 40 that receives it, or -1.
using ImportMap = std::vector<int>;
// Import field i to catalogue field i, as the import grid first shows.
ImportMap defaultImportMap(int importFields);

struct ImportRequest {
    ImportKind kind = ImportKind::Text;
    QString path;
    ImportMap map;
    int fieldCount = 0;     // import fields a text line is read for
    bool skipFirst = false; // text only: the first line is not a record
    TextFormat format;      // text: how the file is read
    EncodingChoice encoding = EncodingChoice::Auto; // dBASE: Auto follows the table
    QStringList names;      // the import fields' names, for messages
};

struct ImportResult {
    qint64 imported = 0;
    bool stopped = false; // the progress asked to stop
    qint64 replaced = 0;  // text values stored with '?' for characters the catalogue cannot hold
};

// Appends a record to the open master table for each source record. A value that does
// not convert stops the import with DbError naming the line (or record), the field and
// the value, and nothing of the run stays in the catalogue. Stopped by the progress,
// the records posted stay.
ImportResult importRecords(Table &master, const ImportRequest &request, ExchangeProgress *progress = nullptr);

// The finishing message of an import: "Import Complete." and what was stored with '?'.
QString importCompleteMessage(const ImportResult &result);
// The sentence on the values stored with '?'; empty when there were none.
QString replacedValuesMessage(qint64 replaced);

} // namespace kv
