#include "store/catalogue.h"

#include "store/fieldtable.h"
#include "store/mastertable.h"
#include "store/table.h"

#include "store/dbf/dbffile.h"

#include "store/index/mdx.h"

#include "base/dateformat.h"

#include <QDir>
#include <QFileInfo>

namespace kv {

namespace {

// Field names of the older layouts after their unexamined first field.
constexpr const char *kV2Fields[] = {
    "Title",    "Star1",      "Star2",    "Star3",      "Star4",     "Producer",   "Director",
    "ReleasedBy", "Year",     "RunTime",  "Rating",     "Category",  "Picture",    "Sound",
    "Format",   "PersonalRa", "MediaNum", "RecSpeed",   "CounterSta", "CounterSto", "Descriptio",
    "Content",  "Miscellane", "KeyWords", "LaserForma", "ListPrice", "OscarNom",   "OscarAward"};
constexpr const char *kV1Fields[] = {
    "Title",    "Star1",      "Star2",   "Star3",    "Star4",      "Producer",   "Director",
    "ReleasedBy", "Year",     "RunTime", "Rating",   "Category",   "Picture",    "Sound",
    "Format",   "PersonalRa", "TapeNum", "RecSpeed", "CounterSta", "CounterSto", "Descriptio",
    "Content",  "CloseCapt",  "NoiseRed", "SurroundSo"};

template <size_t N> bool matchesOldLayout(Table &check, const QString &path, const char *const (&names)[N])
{
    try {
        openForChecking(check, path);
        bool match = check.fieldCount() == int(N) + 1;
        for (size_t i = 0; match && i < N; ++i)
            match = check.fieldName(int(i) + 1).left(10).toUpper() == QString::fromLatin1(names[i]).left(10).toUpper();
        if (match)
            mendRecognised(check);
        check.close();
        return match;
    } catch (const DbError &) {
        check.close();
        return false;
    }
}

// Opens an older catalogue read-only and calls copy(check, master) for each record,
// appending one master record per old record.
template <typename Copy> void convertRecords(Table &check, const QString &oldPath, Table &master, Copy copy)
{
    openForChecking(check, oldPath);
    // A damaged old file would give records read out of place, or fewer than it holds.
    if (!check.damage().isEmpty()) {
        const QString damage = check.damage();
        check.close();
        throw DbError(damage);
    }
    master.suspendDisplay();
    try {
        Table::BulkAppend bulk(master);
        for (check.first(); !check.eof(); check.next()) {
            master.append();
            try {
                copy();
                master.post();
            } catch (...) {
                master.cancel();
                throw;
            }
        }
        bulk.commit();
    } catch (...) {
        master.resumeDisplay();
        check.close();
        throw;
    }
    master.resumeDisplay();
    check.close();
}

// For each named field of the old table, the master field of the same name.
struct FieldPair {
    int from;
    int to;
};

std::vector<FieldPair> pairsByName(const Table &check, const Table &master, const QStringList &names)
{
    std::vector<FieldPair> pairs;
    for (const QString &name : names) {
        const int from = check.fieldIndex(name);
        const int to = master.fieldIndex(name);
        if (from >= 0 && to >= 0)
            pairs.push_back({from, to});
    }
    return pairs;
}

QStringList namesOf(const char *const *begin, const char *const *end)
{
    QStringList names;
    for (auto p = begin; p != end; ++p)
        names << QString::fromLatin1(*p);
    return names;
}

// Opens the master table again in shared mode after an exclusive piece of work.
void reopenShared(Table &master)
{
    master.close();
    master.setExclusive(false);
    master.open();
}

template <typename Work> void withMasterAlone(Table &master, const char *failure, Work work)
{
    try {
        master.close();
        master.setExclusive(true);
        master.open();
        work();
        reopenShared(master);
    } catch (const DbError &) {
        master.close();
        master.setExclusive(false);
        throw DbError(QString::fromLatin1(failure));
    }
}

} // namespace

QString newTableInUseMessage(const QString &path)
{
    return QStringLiteral("The table \"%1\" is currently in use by another program.  New table creation will be aborted.")
        .arg(QDir::toNativeSeparators(path));
}

bool hasDbfExtension(const QString &path) { return path.right(4).toUpper() == QLatin1String(".DBF"); }

bool makeNewDb(Table &create, const QString &path)
{
    if (QFileInfo::exists(path) && dbaseInUse(create, path))
        throw DbError(newTableInUseMessage(path));
    createMasterTable(create, path);
    return QFileInfo::exists(path);
}

void requireCatalogue(Table &check, const QString &path)
{
    bool valid = false;
    try {
        valid = isCatalogueFile(check, path);
    } catch (const DbError &) {
        check.close();
        throw;
    }
    if (!valid)
        throw DbError(QString::fromLatin1(kNotCatalogueMessage));
}

bool checkDBaseFormatV2(Table &check, const QString &path) { return matchesOldLayout(check, path, kV2Fields); }
bool checkDBaseFormatV1(Table &check, const QString &path) { return matchesOldLayout(check, path, kV1Fields); }

bool dbaseInUse(Table &check, const QString &path)
{
    check.close();
    check.setPath(QFileInfo(path).absoluteFilePath());
    check.setReadOnly(true);
    check.setIndexName(QString());
    check.setExclusive(false);
    // Only whether the file opens for our exclusive use: opening the table object would
    // also read every record for its order.
    bool inUse = false;
    try {
        DbfFile probe;
        probe.open(check.filePath(), true);
    } catch (const DbError &) {
        inUse = true;
    }
    return inUse;
}

void convertV2(Table &check, const QString &oldPath, Table &master)
{
    std::vector<FieldPair> pairs;
    bool first = true;
    convertRecords(check, oldPath, master, [&] {
        if (first) {
            pairs = pairsByName(check, master, namesOf(std::begin(kV2Fields), std::end(kV2Fields)));
            first = false;
        }
        for (const FieldPair &p : pairs)
            master.copyField(p.to, check, p.from);
    });
}

QString miscellaneFromV1(const QString &closeCapt, const QString &noiseRed, const QString &surroundSound)
{
    QString misc;
    if (closeCapt.toUpper() == QLatin1String("YES"))
        misc += QStringLiteral("Closed Captioned, ");
    if (noiseRed.toUpper() == QLatin1String("YES"))
        misc += QStringLiteral("Noise Reduction, ");
    if (surroundSound.toUpper() == QLatin1String("YES"))
        misc += QStringLiteral("Surround Sound, ");
    misc.chop(misc.isEmpty() ? 0 : 2);
    return misc;
}

void convertV1(Table &check, const QString &oldPath, Table &master)
{
    // 1.x catalogues kept their dates as m/d/y.
    ScopedDateFormat format(DateFormat{QStringLiteral("m/d/y"), QLatin1Char('/')});
    // Title ... PersonalRa and RecSpeed ... Content keep their names.
    const QStringList same = namesOf(std::begin(kV1Fields), std::begin(kV1Fields) + 16) +
                             namesOf(std::begin(kV1Fields) + 17, std::begin(kV1Fields) + 22);
    std::vector<FieldPair> pairs;
    int tapeNum = -1, mediaNum = -1, misc = -1, closeCapt = -1, noiseRed = -1, surround = -1;
    bool first = true;
    convertRecords(check, oldPath, master, [&] {
        if (first) {
            pairs = pairsByName(check, master, same);
            tapeNum = check.fieldIndex(QStringLiteral("TapeNum"));
            mediaNum = master.fieldIndex(QStringLiteral("MediaNum"));
            misc = master.fieldIndex(QStringLiteral("Miscellane"));
            closeCapt = check.fieldIndex(QStringLiteral("CloseCapt"));
            noiseRed = check.fieldIndex(QStringLiteral("NoiseRed"));
            surround = check.fieldIndex(QStringLiteral("SurroundSo"));
            first = false;
        }
        for (const FieldPair &p : pairs)
            master.copyField(p.to, check, p.from);
        master.copyField(mediaNum, check, tapeNum);
        master.setFieldText(misc, miscellaneFromV1(check.fieldText(closeCapt), check.fieldText(noiseRed),
                                                   check.fieldText(surround)));
    });
}

QString buildSortString(const SortLevels &levels)
{
    int n = 0;
    for (int level : levels)
        n += level > 0 ? 1 : 0;
    if (n == 0)
        return QString();
    const int width = 80 / n;
    QString expression;
    for (int level : levels) {
        if (level <= 0 || level > kFieldCount)
            continue;
        const QString name = fieldName(level);
        switch (field(level).kind) {
        case FieldKind::Text:
            expression += QStringLiteral("Upper(Left(%1,%2))+").arg(name).arg(width);
            break;
        case FieldKind::Integer:
            expression += QStringLiteral("STR(%1,12,0)+").arg(name);
            break;
        case FieldKind::Real:
            expression += QStringLiteral("STR(%1,12,2)+").arg(name);
            break;
        case FieldKind::Date:
            expression += QStringLiteral("DTOS(%1)+").arg(name);
            break;
        }
    }
    expression.chop(1);
    return expression;
}

void applySortExpression(Table &master, const QString &expression)
{
    const QString tag = QString::fromLatin1(kSortTagName);
    master.setIndexName(QString());
    if (expression.isEmpty())
        return;
    // Adding the tag replaces one of the same name.
    master.addIndex(tag, expression);
    master.setIndexName(tag);
}

bool hasSortTag(const QString &dbfPath)
{
    const QString mdx = mdxPathFor(dbfPath);
    if (!QFileInfo::exists(mdx))
        return false;
    MdxFile index;
    try {
        index.open(mdx, false);
        return index.findTag(QByteArray(kSortTagName)) >= 0;
    } catch (const DbError &) {
        return false;
    }
}

void packMasterTable(Table &master)
{
    withMasterAlone(master, kPackFailedMessage, [&] { master.pack(); });
}

std::uint32_t deletedBefore(const Table &table, std::uint32_t recno)
{
    if (!table.isOpen())
        return 0;
    std::uint32_t deleted = 0;
    for (std::uint32_t r = 1; r < recno && r <= table.physicalCount(); ++r)
        deleted += table.recordData(r)[0] == '*' ? 1 : 0;
    return deleted;
}

void rebuildMasterIndexes(Table &master)
{
    withMasterAlone(master, kReindexFailedMessage, [&] { master.regenerateIndexes(); });
}

} // namespace kv
