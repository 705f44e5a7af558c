// Importing delimited text and dBASE tables into the master table.
#include "exchange/import.h"

#include "base/bytescan.h"
#include "base/dberror.h"
#include "exchange/delimitedtext.h"
#include "exchange/importvalues.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// The value of the leading digits after blanks and an optional sign of a line's bytes,
// which hold their digits alike in every encoding; 0 when there are none.
double leadingWholeNumber(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    double value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

// The columns of the master table that receive each import field; -1 for none.
struct Target {
    int field = 0; // catalogue field number
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
        targets[i] = {n, master.fieldIndex(fieldName(n)), field(n).kind};
    }
    return targets;
}

// Where the run is, for the message of a value that stops it.
struct Place {
    const char *unit = "Line"; // "Line" or "Record"
    qint64 number = 0;
    int importField = 0; // from 0
    QString where() const { return QStringLiteral("%1 %2").arg(QLatin1String(unit)).arg(number); }
};



// Records appended in bulk. A failure takes every record of the run out again; stopping
// keeps the records posted.
template <typename Work> ImportResult appendInBulk(Table &master, Work &&work)
{
    ImportResult result;
    SuspendedDisplay suspended(master);
    Table::BulkAppend bulk(master);
    try {
        work(result);
    } catch (const DbError &) {
        if (master.state() == Table::State::Insert)
            master.cancel();
        throw; // the bulk append, not committed, rolls back
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

// Stores one value, counting a text that the catalogue's code page cannot hold whole;
// a value that does not convert stops the run with where it is and what it is.
void storeValue(Table &master, const Target &t, const QString &text, bool mayLose, ImportResult &result,
                const Place &place, const ImportRequest &request)
{
    try {
        if (mayLose && t.kind == FieldKind::Text && firstUnencodable(text, master.codepage()) >= 0)
            ++result.replaced;
        storeImportedValue(master, t.column, t.field, text);
    } catch (const DbError &e) {
        const int i = place.importField;
        const QString name = i < request.names.size() ? QStringLiteral(" \"%1\"").arg(request.names[i]) : QString();
        throw DbError(QStringLiteral("%1, import field %2%3 (into %4): %5  The import stopped and nothing was "
                                     "added to the catalogue.")
                          .arg(place.where())
                          .arg(i + 1)
                          .arg(name, QString::fromLatin1(field(t.field).caption), e.message()));
    }
}

ImportResult importText(Table &master, const ImportRequest &request, ExchangeProgress *progress)
{
    QFile file(request.path);
    openForReading(file);
    DelimitedReader reader(file, request.format);
    const std::vector<Target> targets = targetsOf(master, request.map);
    // Text of the catalogue's own code page loses nothing.
    const bool mayLose = reader.encoding() == TextEncoding::Utf8 || codepageOf(reader.encoding()) != master.codepage();
    return appendInBulk(master, [&](ImportResult &result) {
        if (request.skipFirst)
            reader.readRawLine(request.fieldCount);
        Place place;
        for (;;) {
            const DelimitedReader::Line line = reader.readRawLine(request.fieldCount);
            if (line == DelimitedReader::Line::End)
                break;
            if (line == DelimitedReader::Line::Blank)
                continue;
            master.append();
            place.number = reader.recordLine();
            const int fields = std::min(reader.rawCount(), int(targets.size()));
            for (int i = 0; i < fields; ++i) {
                const Target &t = targets[size_t(i)];
                const QByteArray &raw = reader.rawField(i);
                // A new record is blank: empty text and dates need no storing, and whole
                // numbers are read from the bytes.
                if (t.column < 0 || (raw.isEmpty() && (t.kind == FieldKind::Text || t.kind == FieldKind::Date)))
                    continue;
                if (t.kind == FieldKind::Integer) {
                    master.setFieldNumber(t.column, leadingWholeNumber(raw));
                    continue;
                }
                place.importField = i;
                // ASCII is the same in every code page: nothing of it can be lost.
                const bool ascii = asciiBytes(raw.constData(), size_t(raw.size()));
                storeValue(master, t, reader.decoded(i), mayLose && !ascii, result, place, request);
            }
            master.post();
            if (!advance(progress, result))
                break;
        }
    });
}

// Opens a dBASE source for reading. A damaged one would give records read out of place,
// or fewer than it holds, and is refused with what is wrong.
void openSource(Table &source, const QString &path)
{
    source.setPath(path);
    source.setReadOnly(true);
    source.open();
    if (!source.damage().isEmpty())
        throw DbError(source.damage() + QStringLiteral("  Nothing was imported."));
}

ImportResult importDbase(Table &master, const ImportRequest &request, ExchangeProgress *progress)
{
    const std::optional<TextEncoding> chosen = chosenEncoding(request.encoding);
    const TextEncoding encoding = chosen ? *chosen : dbaseEncoding(request.path);
    Table source;
    openSource(source, request.path);
    const std::vector<Target> targets = targetsOf(master, request.map);
    const int columns = std::min(source.fieldCount(), int(targets.size()));
    const bool utf8 = encoding == TextEncoding::Utf8;
    const Codepage cp = codepageOf(encoding);
    // How each source field reaches its target: text into text of the same code page as
    // stored, numbers and dates as values; anything else through its text.
    enum class Way { Skip, Copy, Whole, Real, Date, Decoded, Text };
    std::vector<Way> ways(size_t(std::max(columns, 0)), Way::Skip);
    for (int j = 0; j < columns; ++j) {
        const Target &t = targets[size_t(j)];
        const char type = source.fieldLayout(j).type;
        if (t.column < 0)
            continue;
        const bool number = type == 'N' || type == 'F';
        const bool asStored = !utf8 && cp == master.codepage() && source.codepage() == cp;
        const bool yesNo = t.field == fields::CheckOut || t.field == fields::Viewed;
        ways[size_t(j)] = t.kind == FieldKind::Text && type == 'C' && asStored && !yesNo ? Way::Copy
                          : type == 'C'                                               ? Way::Decoded
                          : t.kind == FieldKind::Integer && number                    ? Way::Whole
                          : t.kind == FieldKind::Real && number                       ? Way::Real
                          : t.kind == FieldKind::Date && type == 'D'                  ? Way::Date
                                                                                      : Way::Text;
    }
    const bool mayLose = utf8 || cp != master.codepage();
    return appendInBulk(master, [&](ImportResult &result) {
        Place place{"Record"};
        for (source.first(); !source.eof(); source.next()) {
            const char *record = source.recordData(source.recNo());
            master.append();
            place.number = source.recNo();
            for (int j = 0; j < columns; ++j) {
                const Target &t = targets[size_t(j)];
                const FieldLayout &f = source.fieldLayout(j);
                place.importField = j;
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
                case Way::Decoded: {
                    // Text in the encoding found for the table, without its trailing blanks.
                    const char *p = record + f.offset;
                    int e = f.width;
                    while (e > 0 && (p[e - 1] == ' ' || p[e - 1] == '\0'))
                        --e;
                    if (e == 0 && t.kind != FieldKind::Real)
                        break;
                    const QString text = utf8 ? QString::fromUtf8(p, e) : decode(p, e, cp);
                    storeValue(master, t, text, mayLose, result, place, request);
                    break;
                }
                case Way::Text: storeValue(master, t, source.fieldText(j), false, result, place, request); break;
                }
            }
            master.post();
            if (!advance(progress, result))
                break;
        }
    });
}

// The ".cpg" beside a table, in any letter case; empty when there is none.
QString sidecarOf(const QString &path)
{
    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    const QString base = info.completeBaseName();
    for (const QString &name : dir.entryList(QDir::Files))
        if (name.compare(base + QStringLiteral(".cpg"), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return QString();
}

} // namespace

FirstLineCheck checkFirstLine(const QString &path, const TextChoice &choice)
{
    return checkFirstLine(path, detectTextFormat(path, choice));
}

FirstLineCheck checkFirstLine(const QString &path, const TextFormat &format)
{
    QFile file(path);
    openForReading(file);
    DelimitedReader reader(file, format);
    FirstLineCheck check;
    check.format = format;
    check.format.encoding = reader.encoding();
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
    openSource(source, path);
    QStringList names;
    for (int i = 0; i < source.fieldCount(); ++i)
        names << source.fieldName(i).left(kImportNameLength);
    return names;
}

TextEncoding dbaseEncoding(const QString &path)
{
    if (const QString cpg = sidecarOf(path); !cpg.isEmpty()) {
        QFile file(cpg);
        if (file.open(QIODevice::ReadOnly)) {
            const QString name = QString::fromLatin1(file.read(64)).trimmed().toUpper().remove(u'-').remove(u' ');
            if (name == QLatin1String("UTF8"))
                return TextEncoding::Utf8;
            if (name.endsWith(QLatin1String("850")))
                return TextEncoding::Cp850;
            if (name.endsWith(QLatin1String("1252")) || name == QLatin1String("ISO88591") ||
                name == QLatin1String("88591") || name == QLatin1String("LATIN1"))
                return TextEncoding::Cp1252;
        }
    }
    Table source;
    source.setPath(path);
    source.setReadOnly(true);
    source.open();
    return source.codepage() == Codepage::Cp850 ? TextEncoding::Cp850 : TextEncoding::Cp1252;
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

QString replacedValuesMessage(qint64 replaced)
{
    if (replaced == 0)
        return QString();
    return QStringLiteral("%1 %2 characters that the catalogue cannot hold; each of them was stored as \"?\".")
        .arg(replaced)
        .arg(replaced == 1 ? QStringLiteral("value held") : QStringLiteral("values held"));
}

QString importCompleteMessage(const ImportResult &result)
{
    const QString replaced = replacedValuesMessage(result.replaced);
    const QString done = QString::fromLatin1(kImportCompleteMessage);
    return replaced.isEmpty() ? done : done + QStringLiteral("\n\n") + replaced;
}

} // namespace kv
