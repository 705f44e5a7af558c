// Exporting to delimited text and to a new dBASE table.
#include "exchange/export.h"

#include "base/atomicfile.h"
#include "base/codepage.h"
#include "base/dberror.h"
#include "base/numberformat.h"
#include "edit/recordform.h"
#include "base/dateformat.h"
#include "exchange/delimitedtext.h"
#include "exchange/fieldbytes.h"
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

std::vector<ByteColumn> columnsOf(const Table &master, const QList<int> &fields)
{
    std::vector<ByteColumn> columns;
    for (int n : fields) {
        const int index = master.fieldIndex(fieldName(n));
        if (index < 0)
            throw DbError(QStringLiteral("The table has no field %1.").arg(fieldName(n)));
        columns.push_back(exportColumn(master, index, field(n).kind));
    }
    return columns;
}

bool blankOrNul(char c) { return c == ' ' || c == '\0'; }

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

qint64 exportText(Table &master, const ExportRequest &request, const std::vector<ByteColumn> &columns,
                  ExchangeProgress *progress, qint64 *replaced)
{
    // The file replaces an old one of its name only when it is complete.
    AtomicFile file(request.path);
    if (!file.open() || (request.encoding == TextEncoding::Utf8 && !file.write("\xEF\xBB\xBF")))
        throw DbError(file.errorMessage());
    DelimitedWriter writer(file.device(), request.encoding);
    FieldBytesWriter columnWriter(writer, master, ValueText::Exported);
    const auto count = [&] {
        if (replaced)
            *replaced = writer.valuesReplaced();
    };
    try {
        if (!request.titles.isEmpty())
            writer.writeLine(request.titles);
        const qint64 done = eachRecord(master, progress, [&] {
            const char *record = master.recordData(master.recNo());
            for (const ByteColumn &c : columns)
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
qint64 exportDbase(Table &master, const ExportRequest &request, const std::vector<ByteColumn> &columns,
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
                        const ByteColumn &c = columns[j];
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
    const std::vector<ByteColumn> columns = columnsOf(master, request.fields);
    if (replaced)
        *replaced = 0;
    return request.kind == ExportKind::Dbase ? exportDbase(master, request, columns, progress)
                                             : exportText(master, request, columns, progress, replaced);
}

} // namespace kv
