// Importing delimited text and dBASE tables into the master table.
#include "exchange/import.h"

#include "base/dateformat.h"
#include "base/dberror.h"
#include "base/numberformat.h"
#include "base/numbertext.h"
#include "exchange/delimitedtext.h"
#include "store/table.h"

#include <QFile>

namespace kv {

namespace {

constexpr char kNotDelimitedMessage[] =
    "The file selected does not appear to be an ASCII delimited text file.  An ASCII delimited file requires a "
    "unique format of each field being surrounded by double quotes and separated by a comma.  ";
constexpr char kTooLongMessage[] = "The selected file has a field that is greater than 255 characters.";
constexpr char kUnmatchedQuoteMessage[] =
    "The selected file had an unexpected end of a line most likely due to an unmatched quote.";
constexpr char kTooManyMessage[] =
    "The selected file has too many fields.  There are at least 10 more fields than are required by Kestrova.";

void openForReading(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(file.errorString());
}

// The value of the leading digits after blanks and an optional sign; 0 when there are
// none. Of any run of characters: QString or the bytes of a line.
char ascii(char c) { return c; }
char ascii(QChar c) { return c.unicode() < 128 ? char(c.unicode()) : '\x7f'; }

template <typename Text> double leadingWholeNumber(const Text &text)
{
    const auto at = [&](qsizetype i) { return ascii(text.at(i)); };
    qsizetype i = 0;
    while (i < text.size() && at(i) == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (at(i) == '-' || at(i) == '+'))
        negative = at(i++) == '-';
    double value = 0;
    for (; i < text.size() && at(i) >= '0' && at(i) <= '9'; ++i)
        value = value * 10 + (at(i) - '0');
    return negative ? -value : value;
}

bool hasLetter(const QString &text)
{
    for (QChar c : text)
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
            return true;
    return false;
}

// The columns of the master table that receive each import field; -1 for none.
struct Target {
    int column = -1;
    FieldKind kind = FieldKind::Text;
};

std::vector<Target> targetsOf(const Table &master, const ImportMap &map)
{
    std::vector<Target> targets(map.size());
    for (size_t i = 0; i < map.size(); ++i) {
        const int n = map[i];
        if (n < 1 || n > kFieldCount)
            continue;
        targets[i].column = master.fieldIndex(fieldName(n));
        targets[i].kind = field(n).kind;
    }
    return targets;
}

// Records appended in bulk; whatever stops the work, the records posted stay.
template <typename Work> ImportResult appendInBulk(Table &master, Work &&work)
{
    ImportResult result;
    SuspendedDisplay suspended(master);
    Table::BulkAppend bulk(master);
    try {
        work(result);
    } catch (const DbError &) {
        master.cancel();
        bulk.commit();
        throw;
    }
    bulk.commit();
    return result;
}

bool advance(ExchangeProgress *progress, ImportResult &result)
{
    ++result.imported;
    if (progress && !progress->advance(result.imported)) {
        result.stopped = true;
        return false;
    }
    return true;
}

ImportResult importText(Table &master, const ImportRequest &request, ExchangeProgress *progress)
{
    QFile file(request.path);
    openForReading(file);
    DelimitedReader reader(file);
    const std::vector<Target> targets = targetsOf(master, request.map);
    return appendInBulk(master, [&](ImportResult &result) {
        if (request.skipFirst)
            reader.readRawLine(request.fieldCount);
        for (;;) {
            const DelimitedReader::Line line = reader.readRawLine(request.fieldCount);
            if (line == DelimitedReader::Line::End)
                break;
            if (line == DelimitedReader::Line::Blank)
                continue;
            master.append();
            const int fields = std::min(reader.rawCount(), int(targets.size()));
            for (int i = 0; i < fields; ++i) {
                const Target &t = targets[size_t(i)];
                const QByteArray &raw = reader.rawField(i);
                // A new record is blank: empty text and dates need no storing, and whole
                // numbers are read from the bytes, which hold their digits in any encoding.
                if (t.column < 0 || (raw.isEmpty() && (t.kind == FieldKind::Text || t.kind == FieldKind::Date)))
                    continue;
                if (t.kind == FieldKind::Integer)
                    master.setFieldNumber(t.column, leadingWholeNumber(raw));
                else
                    storeImportedValue(master, t.column, t.kind, reader.decoded(i));
            }
            master.post();
            if (!advance(progress, result))
                break;
        }
    });
}

ImportResult importDbase(Table &master, const ImportRequest &request, ExchangeProgress *progress)
{
    Table source;
    source.setPath(request.path);
    source.setReadOnly(true);
    source.open();
    const std::vector<Target> targets = targetsOf(master, request.map);
    const int columns = std::min(source.fieldCount(), int(targets.size()));
    // How each source field reaches its target: text into text of the same code page as
    // stored, numbers and dates as values; anything else through its text.
    enum class Way { Skip, Copy, Whole, Real, Date, Text };
    std::vector<Way> ways(size_t(std::max(columns, 0)), Way::Skip);
    for (int j = 0; j < columns; ++j) {
        const Target &t = targets[size_t(j)];
        const char type = source.fieldLayout(j).type;
        if (t.column < 0)
            continue;
        const bool number = type == 'N' || type == 'F';
        ways[size_t(j)] = t.kind == FieldKind::Text && type == 'C'        ? Way::Copy
                          : t.kind == FieldKind::Integer && number        ? Way::Whole
                          : t.kind == FieldKind::Real && number           ? Way::Real
                          : t.kind == FieldKind::Date && type == 'D'      ? Way::Date
                                                                          : Way::Text;
    }
    return appendInBulk(master, [&](ImportResult &result) {
        for (source.first(); !source.eof(); source.next()) {
            const char *record = source.recordData(source.recNo());
            master.append();
            for (int j = 0; j < columns; ++j) {
                const Target &t = targets[size_t(j)];
                const FieldLayout &f = source.fieldLayout(j);
                switch (ways[size_t(j)]) {
                case Way::Skip: break;
                case Way::Copy: master.copyField(t.column, source, j); break;
                case Way::Whole:
                    master.setFieldNumber(t.column, leadingWholeNumber(QByteArrayView(record + f.offset, f.width)));
                    break;
                case Way::Real: master.setFieldNumber(t.column, source.fieldNumber(j)); break;
                case Way::Date:
                    if (const QDate d = source.fieldDate(j); d.isValid())
                        master.setFieldDate(t.column, d);
                    break;
                case Way::Text: storeImportedValue(master, t.column, t.kind, source.fieldText(j)); break;
                }
            }
            master.post();
            if (!advance(progress, result))
                break;
        }
    });
}

} // namespace

FirstLineCheck checkFirstLine(const QString &path)
{
    QFile file(path);
    openForReading(file);
    DelimitedReader reader(file);
    FirstLineCheck check;
    QStringList fields;
    reader.readLine(fields, kMaxImportFields);
    const DelimitedReader::LineShape &shape = reader.lastShape();
    for (const QString &f : fields)
        check.names << (f.isEmpty() ? QString::fromLatin1(kBlankFieldName) : f.left(kImportNameLength));
    if (shape.fields > kMaxImportFields)
        check.code = 3;
    else if (shape.overlong)
        check.code = 1;
    else if (!shape.lastClosed)
        check.code = 2;
    return check;
}

QString firstLineMessage(int code)
{
    const char *detail = code == 1 ? kTooLongMessage : code == 2 ? kUnmatchedQuoteMessage : kTooManyMessage;
    return QString::fromLatin1(kNotDelimitedMessage) + QString::fromLatin1(detail);
}

QStringList dbaseFieldNames(const QString &path)
{
    Table source;
    source.setPath(path);
    source.setReadOnly(true);
    source.open();
    QStringList names;
    for (int i = 0; i < source.fieldCount(); ++i)
        names << source.fieldName(i).left(kImportNameLength);
    return names;
}

ImportMap defaultImportMap(int importFields)
{
    ImportMap map(size_t(std::max(importFields, 0)), -1);
    for (int i = 0; i < importFields && i < kFieldCount; ++i)
        map[size_t(i)] = i + 1;
    return map;
}

ImportResult importRecords(Table &master, const ImportRequest &request, ExchangeProgress *progress)
{
    return request.kind == ImportKind::Dbase ? importDbase(master, request, progress)
                                             : importText(master, request, progress);
}

void storeImportedValue(Table &table, int column, FieldKind kind, const QString &text)
{
    switch (kind) {
    case FieldKind::Text:
        table.setFieldText(column, text);
        return;
    case FieldKind::Integer:
        table.setFieldNumber(column, leadingWholeNumber(text));
        return;
    case FieldKind::Real: {
        if (text.trimmed().isEmpty()) {
            table.setFieldNumber(column, 0);
            return;
        }
        std::optional<double> value = readDecimalNumber(text);
        // What an export wrote with the regional decimal mark reads back too.
        const QChar mark = regionalValues().decimalMark;
        if (!value && currentNumberFormats().numeric == kRegionalFormat && mark != QLatin1Char('.'))
            value = readDecimalNumber(QString(text).replace(mark, QLatin1Char('.')));
        if (!value)
            throw DbError(QStringLiteral("'%1' is not a valid floating point value.").arg(text));
        table.setFieldNumber(column, *value);
        return;
    }
    case FieldKind::Date:
        if (text.contains(currentDateFormat().separator) && !hasLetter(text))
            table.setFieldText(column, text);
        return;
    }
}

} // namespace kv
