// The catalogue and table commands: new, check, info, add, delete, list, index, pack,
// reindex, sort, convert. Each runs the logic the program runs for the same work.
#include "commands.h"
#include "storecommands.h"
#include "terminaltext.h"

#include "app/settings/settings.h"
#include "app/workspace/cataloguesession.h"
#include "app/workspace/sortorder.h"
#include "base/codepage.h"
#include "edit/recordform.h"
#include "exchange/delimitedtext.h"
#include "exchange/fieldbytes.h"
#include "store/catalogue.h"
#include "store/mastertable.h"

#include <QFile>
#include <QFileInfo>

namespace kvcli {

int withTable(const QString &path, const std::function<int(kv::Table &)> &work)
{
    try {
        kv::Table table;
        table.setPath(path);
        return work(table);
    } catch (const kv::DbError &e) {
        printError(e.message());
        return kExitRefused;
    }
}

void tellIndexNotice(kv::Table &table)
{
    if (const QString notice = table.takeIndexNotice(); !notice.isEmpty())
        printError(notice);
}

// Opens a catalogue in its sort order, unless asked for physical order. A catalogue
// with a settings file is read in the order those settings name, its tag brought up
// to date as the program does on opening it (unless another program holds the file);
// without one, in the order of its tag NewIndex when it has one.
void openInActiveOrder(kv::Table &table, bool physical)
{
    const std::optional<QString> saved = physical ? std::nullopt : kv::savedSortExpression(table.filePath());
    if (saved) {
        if (const std::optional<kv::DbError> failure = kv::openInSortOrder(table, *saved, kv::SortTag::KeepCurrent))
            throw *failure;
        return;
    }
    if (!physical)
        table.setIndexNameIfPresent(QString::fromLatin1(kv::kSortTagName));
    table.open();
}

void writeListing(kv::Table &table, TextEncoding encoding)
{
    // The export's writer, with the values as they are stored.
    QFile out;
    out.open(stdout, QIODevice::WriteOnly);
    kv::writeListing(table, out, encoding);
}

bool headerSound(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    kv::Table table;
    table.setPath(path);
    table.setReadOnly(true);
    try {
        table.open();
    } catch (const kv::DbError &) {
        return true;
    }
    if (table.damage().isEmpty())
        return true;
    printError(table.damage());
    return false;
}

namespace {

// The catalogue must exist and be one; the program's own message says why not.
bool checkCatalogue(kv::Table &check, const QString &path)
{
    if (!QFileInfo::exists(path)) {
        printError(QStringLiteral("The table \"%1\" does not exist.").arg(path));
        return false;
    }
    try {
        kv::requireCatalogue(check, path);
        return true;
    } catch (const kv::DbError &e) {
        printError(e.message());
        return false;
    }
}

int runNew(const QStringList &args)
{
    if (args.size() != 1)
        return usageError("new");
    if (!kv::hasDbfExtension(args[0])) {
        printError(QString::fromLatin1(kv::kInvalidFileTypeMessage));
        return kExitRefused;
    }
    return withTable(args[0], [&](kv::Table &create) {
        return kv::makeNewDb(create, QFileInfo(args[0]).absoluteFilePath()) ? kExitOk : kExitRefused;
    });
}

int runCheck(const QStringList &args)
{
    if (args.size() != 1)
        return usageError("check");
    if (!headerSound(args[0]))
        return kExitRefused;
    return withTable(args[0], [&](kv::Table &table) {
        kv::requireCatalogue(table, args[0]);
        // The index walked against the records: a catalogue whose index disagrees is not sound.
        table.setReadOnly(true);
        table.open();
        const QString problem = table.indexProblem();
        if (!problem.isEmpty()) {
            printError(problem);
            return kExitRefused;
        }
        return kExitOk;
    });
}

int runInfo(const QStringList &args)
{
    if (args.size() != 1)
        return usageError("info");
    return withTable(args[0], [&](kv::Table &table) {
        table.setReadOnly(true);
        table.open();
        printLine(QStringLiteral("File: %1").arg(QFileInfo(table.filePath()).absoluteFilePath()));
        printLine(QStringLiteral("Records: %1").arg(table.physicalCount()));
        printLine(QStringLiteral("Deleted: %1").arg(table.deletedCount()));
        printLine(QStringLiteral("Language driver: 0x%1").arg(table.languageDriver(), 2, 16, QLatin1Char('0')));
        printLine(QStringLiteral("Fields: %1").arg(table.fieldCount()));
        for (int i = 0; i < table.fieldCount(); ++i) {
            const kv::FieldLayout &f = table.fieldLayout(i);
            printLine(QStringLiteral("  %1 %2 %3 %4")
                          .arg(QString::fromLatin1(f.name).leftJustified(10))
                          .arg(QChar::fromLatin1(f.type))
                          .arg(f.width)
                          .arg(f.decimals));
        }
        const QStringList tags = table.indexNames();
        printLine(QStringLiteral("Index tags: %1").arg(tags.size()));
        for (const QString &tag : tags)
            printLine(QStringLiteral("  %1 %2").arg(tag.leftJustified(10), table.indexExpression(tag)));
        return kExitOk;
    });
}

int runAdd(const QStringList &args)
{
    if (args.size() < 1)
        return usageError("add");
    QList<QPair<QString, QString>> values;
    for (const QString &a : args.mid(1)) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usageError("add", QStringLiteral("\"%1\" is not Field=Value.").arg(a));
        values.append({a.left(eq), a.mid(eq + 1)});
    }
    if (!headerSound(args[0]))
        return kExitRefused;
    return withTable(args[0], [&](kv::Table &table) {
        table.open();
        tellIndexNotice(table);
        // A character the table cannot hold is refused, never stored as '?'.
        for (const auto &[name, value] : values)
            if (const qsizetype at = kv::firstUnencodable(value, table.codepage()); at >= 0) {
                printError(kv::unstorableCharacterMessage(name, value, at));
                return kExitRefused;
            }
        table.append();
        for (const auto &[name, value] : values)
            table.setFieldText(name, value);
        table.post();
        return kExitOk;
    });
}

int runDelete(const QStringList &args)
{
    bool ok = false;
    const int n = args.size() == 2 ? args[1].toInt(&ok) : 0;
    if (!ok || n < 1)
        return usageError("delete");
    if (!headerSound(args[0]))
        return kExitRefused;
    return withTable(args[0], [&](kv::Table &table) {
        openInActiveOrder(table, false);
        tellIndexNotice(table);
        if (n > table.recordCount()) {
            printError(QStringLiteral("There is no record %1: the table has %2.").arg(n).arg(table.recordCount()));
            return kExitRefused;
        }
        table.moveTo(n - 1);
        table.deleteRecord();
        return kExitOk;
    });
}

int runList(const QStringList &args)
{
    QStringList rest = args;
    const bool physical = rest.removeAll(QStringLiteral("--physical")) > 0;
    const std::optional<kv::TextEncoding> encoding = takeTerminalEncoding(rest);
    if (!encoding || rest.size() != 1)
        return usageError("list");
    return withTable(rest[0], [&](kv::Table &table) {
        table.setReadOnly(true);
        table.setReadAhead(true);
        openInActiveOrder(table, physical);
        writeListing(table, *encoding);
        return kExitOk;
    });
}

int runIndex(const QStringList &args)
{
    if (args.size() != 2)
        return usageError("index");
    return withTable(args[0], [&](kv::Table &table) {
        if (args[1] == QLatin1String("--none")) {
            table.open();
            const bool has = table.indexNames().contains(QStringLiteral("NEWINDEX"), Qt::CaseInsensitive);
            table.close();
            if (has)
                table.deleteIndex(QStringLiteral("NewIndex"));
        } else {
            table.addIndex(QStringLiteral("NewIndex"), args[1]);
        }
        return kExitOk;
    });
}

int runPack(const QStringList &args)
{
    if (args.size() != 1)
        return usageError("pack");
    if (!headerSound(args[0]))
        return kExitRefused;
    return withTable(args[0], [&](kv::Table &master) {
        kv::packMasterTable(master);
        return kExitOk;
    });
}

int runReindex(const QStringList &args)
{
    if (args.size() != 1)
        return usageError("reindex");
    if (!headerSound(args[0]))
        return kExitRefused;
    return withTable(args[0], [&](kv::Table &master) {
        kv::rebuildMasterIndexes(master);
        return kExitOk;
    });
}

int runSort(const QStringList &args)
{
    if (args.size() < 2 || args.size() > 5)
        return usageError("sort");
    kv::SortLevels levels{0, 0, 0, 0};
    for (qsizetype i = 1; i < args.size(); ++i) {
        bool ok = false;
        const int level = args[i].toInt(&ok);
        if (!ok || level < 0 || level > kv::kFieldCount)
            return usageError("sort", QStringLiteral("\"%1\" is not a field number 0 ... %2.").arg(args[i]).arg(kv::kFieldCount));
        levels[size_t(i - 1)] = level;
    }
    kv::Table check;
    if (!headerSound(args[0]))
        return kExitRefused;
    if (!checkCatalogue(check, args[0]))
        return kExitRefused;
    StderrPrompt prompt;
    kv::Settings settings;
    kv::Workspace workspace(settings, prompt);
    kv::CatalogueSession catalogues(workspace);
    settings.lastDatabase = QFileInfo(args[0]).absoluteFilePath();
    if (!catalogues.openAtStartup())
        return kExitRefused;
    const kv::CatalogueSession::SortOutcome outcome = catalogues.setSortLevels(levels);
    // The program's message says only that it failed; the reason follows on its own line.
    if (outcome == kv::CatalogueSession::SortOutcome::Failed)
        printError(catalogues.sortFailure());
    return outcome == kv::CatalogueSession::SortOutcome::Applied ? kExitOk : kExitRefused;
}

int runConvert(const QStringList &args)
{
    if (args.size() != 2)
        return usageError("convert");
    const QString &old = args[0];
    const QString &target = args[1];
    kv::Table check;
    if (!QFileInfo::exists(old)) {
        printError(QStringLiteral("The table \"%1\" does not exist.").arg(old));
        return kExitRefused;
    }
    if (!headerSound(old) || !headerSound(target))
        return kExitRefused;
    void (*convert)(kv::Table &, const QString &, kv::Table &) = nullptr;
    if (kv::checkDBaseFormatV2(check, old))
        convert = kv::convertV2;
    else if (kv::checkDBaseFormatV1(check, old))
        convert = kv::convertV1;
    if (!convert) {
        printError(QStringLiteral("The file \"%1\" is not a catalogue of version 1.x or 2.x, so it cannot be converted.")
                       .arg(old));
        return kExitRefused;
    }
    if (!checkCatalogue(check, target))
        return kExitRefused;
    return withTable(target, [&](kv::Table &master) {
        master.open();
        tellIndexNotice(master);
        const std::uint32_t before = master.physicalCount();
        convert(check, old, master);
        tellIndexNotice(master);
        printLine(QStringLiteral("%1 records converted.").arg(master.physicalCount() - before));
        return kExitOk;
    });
}

const Registrar regNew({"new", "FILE.DBF", "create an empty catalogue (40 fields, no index)", &runNew});
const Registrar regCheck({"check", "FILE.DBF",
                          "recognise a catalogue and check its header and index; prints nothing when all is sound",
                          &runCheck});
const Registrar regInfo({"info", "FILE.DBF", "fields, record counts and index tags of a table", &runInfo});
const Registrar regAdd({"add", "FILE.DBF Field=Value ...", "append one record", &runAdd});
const Registrar regDelete({"delete", "FILE.DBF N", "delete the N-th visible record (1-based, active order)", &runDelete});
const Registrar regList({"list", "FILE.DBF [--physical] [--utf8|--cp1252]",
                         "every visible record as delimited text (UTF-8 where the locale is UTF-8, code page "
                         "1252 otherwise)",
                         &runList,
                         false,
                         {{"--physical", "", "In the order the records are stored, not the catalogue's sort order."},
                          {"--utf8", "", "Write UTF-8, whatever the locale."},
                          {"--cp1252", "", "Write code page 1252, whatever the locale."}}});
const Registrar regIndex({"index", "FILE.DBF EXPRESSION|--none", "put the tag NewIndex on the table, or remove it",
                          &runIndex, false, {{"--none", "", "Remove the tag NewIndex instead."}}});
const Registrar regPack({"pack", "FILE.DBF", "remove deleted records and rebuild the index", &runPack});
const Registrar regReindex({"reindex", "FILE.DBF", "rebuild every index tag", &runReindex});
const Registrar regSort({"sort", "FILE.DBF L1 [L2 [L3 [L4]]]",
                         "set the catalogue's sort levels (field numbers, 0 for none) and rebuild its order", &runSort});
const Registrar regConvert({"convert", "OLD.DBF FILE.DBF",
                            "append the records of a 1.x or 2.x catalogue to a catalogue", &runConvert});

} // namespace
} // namespace kvcli
