// Exporting to delimited text and to a new dBASE table.
#include "exchange/export.h"

#include "base/atomicfile.h"
#include "base/codepage.h"
#include "base/dberror.h"
#include "base/numberformat.h"
#include "edit/recordform.h"
#include "base/codepagebytes.h"
#include "base/dateformat.h"
#include "exchange/delimitedtext.h"
#include "exchange/exportbytes.h"
#include "store/dbf/osfile.h"
#include "store/dbf/companion.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <algorithm>

namespace kv {

namespace {

// How a column's stored bytes reach a text export: text of the export's code page and
// whole numbers as plain digits go as they are stored, text into UTF-8 byte by byte,
// dates and prices through their byte writers; the rest through their text.
enum class Stored { Converted, Text, WholeNumber, Date, Decimal };

struct Column {
    int index;
    FieldKind kind;
    Stored stored = Stored::Converted;
    int offset = 0;
    int width = 0;
};

std::vector<Column> columnsOf(const Table &master, const QList<int> &fields)
{
    std::vector<Column> columns;
    for (int n : fields) {
        const int index = master.fieldIndex(fieldName(n));
        if (index < 0)
            throw DbError(QStringLiteral("The table has no field %1.").arg(fieldName(n)));
        const FieldLayout &f = master.fieldLayout(index);
        Column c{index, field(n).kind, Stored::Converted, f.offset, f.width};
        if (f.type == 'C' && c.kind == FieldKind::Text)
            c.stored = Stored::Text;
        else if (f.type == 'N' && f.decimals == 0 && c.kind == FieldKind::Integer)
            c.stored = Stored::WholeNumber;
        else if (f.type == 'D' && c.kind == FieldKind::Date)
            c.stored = Stored::Date;
        else if (f.type == 'N' && f.decimals > 0 && c.kind == FieldKind::Real)
            c.stored = Stored::Decimal;
        columns.push_back(c);
    }
    return columns;
}

bool blankOrNul(char c) { return c == ' ' || c == '\0'; }

bool ascii(const char *p, int size)
{
    for (int k = 0; k < size; ++k)
        if (static_cast<unsigned char>(p[k]) >= 0x80)
            return false;
    return true;
}

// Writes the fields of records into a text export: the stored bytes when they are the
// text the field shows or can be made into it byte by byte, else the field's text.
class ColumnWriter {
public:
    ColumnWriter(DelimitedWriter &writer, const Table &master)
        : writer_(writer), master_(master), utf8_(writer.encoding() == TextEncoding::Utf8),
          sameCodepage_(!utf8_ && codepageOf(writer.encoding()) == master.codepage()),
          date_(dateBytesOf(currentDateFormat()))
    {
        const QChar mark = currentNumberFormats().numeric == kRegionalFormat ? regionalValues().decimalMark
                                                                              : QLatin1Char('.');
        decimalMark_ = mark.unicode() < 0x80 ? char(mark.unicode()) : 0;
    }

    void write(const char *record, const Column &c)
    {
        const char *p = record + c.offset;
        switch (c.stored) {
        case Stored::Text: {
            int e = c.width;
            while (e > 0 && blankOrNul(p[e - 1]))
                --e;
            if (sameCodepage_ || ascii(p, e)) {
                writer_.addEncodedField(p, e);
            } else if (utf8_) {
                scratch_.clear();
                appendAsUtf8(scratch_, p, e, master_.codepage());
                writer_.addEncodedField(scratch_.constData(), scratch_.size());
            } else {
                writer_.addField(decode(p, e, master_.codepage()));
            }
            return;
        }
        case Stored::WholeNumber: {
            int b = 0, e = c.width;
            while (e > b && blankOrNul(p[e - 1]))
                --e;
            while (b < e && blankOrNul(p[b]))
                ++b;
            bool plain = true;
            for (int k = b; k < e && plain; ++k)
                plain = (p[k] >= '0' && p[k] <= '9') || (k == b && p[k] == '-' && e - b > 1);
            if (plain)
                return writer_.addEncodedField(p + b, e - b);
            break;
        }
        case Stored::Date:
            if (std::all_of(p, p + c.width, blankOrNul))
                return writer_.addEncodedField(p, 0);
            scratch_.clear();
            if (appendStoredDate(scratch_, p, c.width, date_))
                return writer_.addEncodedField(scratch_.constData(), scratch_.size());
            break;
        case Stored::Decimal:
            scratch_.clear();
            if (decimalMark_ && appendStoredDecimal(scratch_, p, c.width, master_.fieldLayout(c.index).decimals,
                                                    decimalMark_))
                return writer_.addEncodedField(scratch_.constData(), scratch_.size());
            break;
        case Stored::Converted:
            break;
        }
        writer_.addField(exportedText(master_, c.index, c.kind));
    }

private:
    DelimitedWriter &writer_;
    const Table &master_;
    const bool utf8_;
    const bool sameCodepage_; // the table's text is already in the writer's encoding
    const DateBytes date_;
    char decimalMark_ = '.';  // 0: beyond ASCII, prices go through text
    QByteArray scratch_;
};

template <typename Write> qint64 eachRecord(Table &master, ExchangeProgress *progress, Write &&write)
{
    SuspendedDisplay suspended(master);
    qint64 done = 0;
    for (master.first(); !master.eof(); master.next()) {
        write();
        ++done;
        if (progress && !progress->advance(done))
            break;
    }
    return done;
}

qint64 exportText(Table &master, const ExportRequest &request, const std::vector<Column> &columns,
                  ExchangeProgress *progress, qint64 *replaced)
{
    // The file replaces an old one of its name only when it is complete.
    AtomicFile file(request.path);
    if (!file.open() || (request.encoding == TextEncoding::Utf8 && !file.write("\xEF\xBB\xBF")))
        throw DbError(file.errorMessage());
    DelimitedWriter writer(file.device(), request.encoding);
    ColumnWriter columnWriter(writer, master);
    const auto count = [&] {
        if (replaced)
            *replaced = writer.valuesReplaced();
    };
    try {
        if (!request.titles.isEmpty())
            writer.writeLine(request.titles);
        const qint64 done = eachRecord(master, progress, [&] {
            const char *record = master.recordData(master.recNo());
            for (const Column &c : columns)
                columnWriter.write(record, c);
            writer.endLine();
        });
        writer.flush();
        count();
        if (!file.commit())
            throw DbError(file.errorMessage());
        return done;
    } catch (const DbError &) {
        count();
        // A write the disk refused is told with the file's name.
        if (file.isOpen() && file.device().error() != QFileDevice::NoError)
            throw DbError(cannotWriteMessage(request.path, file.device().errorString()));
        throw;
    }
}

// The new table is built beside the target and put in its place once it is complete, so
// that a full disk or a failed record leaves an old file of the name as it was.
qint64 exportDbase(Table &master, const ExportRequest &request, const std::vector<Column> &columns,
                   ExchangeProgress *progress)
{
    const QString shown = QDir::toNativeSeparators(request.path);
    OsFile old;
    if (QFileInfo::exists(request.path) && (old.open(request.path, true) || old.open(request.path, false)) &&
        old.lockUse(OsFile::Lock::Exclusive) == OsFile::LockResult::Busy)
        throw DbError(QStringLiteral("The table \"%1\" is in use by another program.").arg(shown));
    const QString building =
        request.path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    Table out;
    out.setPath(building);
    const auto dropBuilding = [&] {
        out.close();
        QFile::remove(building);
    };
    try {
        out.clearFieldDefs();
        for (qsizetype j = 0; j < request.fields.size(); ++j) {
            const FieldLayout &f = master.fieldLayout(columns[size_t(j)].index);
            out.addFieldDef(fieldName(request.fields[j]), f.type, f.width, f.decimals);
        }
        out.createTable();
        out.setExclusive(true);
        out.open();
        qint64 done = 0;
        {
            Table::BulkAppend bulk(out);
            try {
                done = eachRecord(master, progress, [&] {
                    const char *record = master.recordData(master.recNo());
                    out.append();
                    for (size_t j = 0; j < columns.size(); ++j) {
                        const Column &c = columns[j];
                        const char type = master.fieldLayout(c.index).type;
                        // Numbers and dates go as values rather than through their text; a new
                        // record is blank, so blank ones need nothing.
                        if (type == 'N' || type == 'D') {
                            const char *p = record + c.offset;
                            if (std::all_of(p, p + c.width, blankOrNul))
                                continue;
                            if (type == 'N')
                                out.setFieldNumber(int(j), master.fieldNumber(c.index));
                            else if (const QDate d = master.fieldDate(c.index); d.isValid())
                                out.setFieldDate(int(j), d);
                            continue;
                        }
                        out.copyField(int(j), master, c.index);
                    }
                    out.post();
                });
                bulk.commit();
            } catch (const DbError &) {
                out.cancel();
                bulk.commit();
                throw;
            }
        }
        out.close();
        old.close();
        if (::rename(QFile::encodeName(building).constData(), QFile::encodeName(request.path).constData()) != 0)
            throw DbError(cannotWriteMessage(request.path, QString::fromLocal8Bit(std::strerror(errno))));
        // The new table has no index; an old production index belongs to the old table.
        const QString mdx = mdxPathFor(request.path);
        if (QFileInfo::exists(mdx))
            QFile::remove(mdx);
        return done;
    } catch (const DbError &) {
        dropBuilding();
        throw;
    }
}

} // namespace

QList<int> exportList(const Settings &settings)
{
    QList<int> list;
    for (int position = 1; position <= kFieldCount; ++position)
        for (int n = 1; n <= kFieldCount; ++n)
            if (settings.field(n).exportOrder == position && settings.field(n).exported) {
                list << n;
                break;
            }
    return list;
}

QString exportTitle(const Settings &settings, int field)
{
    const FieldSettings &f = settings.field(field);
    return f.shown ? f.caption : fieldName(field);
}

QString exportedText(const Table &table, int column, FieldKind kind)
{
    switch (kind) {
    case FieldKind::Date:
        return dateBoxText(table.fieldDate(column));
    case FieldKind::Real: {
        QString text = table.fieldText(column);
        if (currentNumberFormats().numeric == kRegionalFormat)
            text.replace(QLatin1Char('.'), regionalValues().decimalMark);
        return text;
    }
    case FieldKind::Integer:
    case FieldKind::Text:
        break;
    }
    return table.fieldText(column);
}

QString replacedExportMessage(qint64 replaced)
{
    if (replaced == 0)
        return QString();
    return QStringLiteral("%1 %2 characters that the chosen character set cannot hold; each of them was written "
                          "as \"?\".")
        .arg(replaced)
        .arg(replaced == 1 ? QStringLiteral("value held") : QStringLiteral("values held"));
}

QString exportCompleteMessage(qint64 replaced)
{
    const QString done = QString::fromLatin1(kExportCompleteMessage);
    return replaced == 0 ? done : done + QStringLiteral("\n\n") + replacedExportMessage(replaced);
}

qint64 exportRecords(Table &master, const ExportRequest &request, ExchangeProgress *progress, qint64 *replaced)
{
    const std::vector<Column> columns = columnsOf(master, request.fields);
    if (replaced)
        *replaced = 0;
    return request.kind == ExportKind::Dbase ? exportDbase(master, request, columns, progress)
                                             : exportText(master, request, columns, progress, replaced);
}

} // namespace kv
