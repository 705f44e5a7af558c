// The import and export commands: the logic the import and export windows run.
#include "commands.h"
#include "storecommands.h"

#include "app/settings/settings.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "search/criterionwords.h"
#include "store/catalogue.h"

#include <QFileInfo>

namespace kvcli {

namespace {

// The catalogue must exist and be one; the program's own message says why not.
bool isCatalogue(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        printError(QStringLiteral("The table \"%1\" does not exist.").arg(path));
        return false;
    }
    try {
        kv::Table check;
        kv::requireCatalogue(check, path);
        return true;
    } catch (const kv::DbError &e) {
        printError(e.message());
        return false;
    }
}

kv::Settings catalogueSettings(const QString &path)
{
    kv::Settings settings;
    kv::readSettings(kv::catalogueSettingsPath(path), kv::SettingsScope::Catalogue, settings);
    return settings;
}

// "--map 3,0,1": import field i to catalogue field Mi, 0 for none.
std::optional<QList<int>> parseMap(const QString &text)
{
    QList<int> numbers;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < 0 || n > kv::kFieldCount)
            return std::nullopt;
        numbers << n;
    }
    return numbers;
}

int runImport(const QStringList &args)
{
    QStringList rest = args;
    const bool skip = rest.removeAll(QStringLiteral("--skip-first")) > 0;
    const bool noSkip = rest.removeAll(QStringLiteral("--no-skip-first")) > 0;
    std::optional<QList<int>> mapped;
    const qsizetype mapAt = rest.indexOf(QStringLiteral("--map"));
    if (mapAt >= 0) {
        mapped = mapAt + 1 < rest.size() ? parseMap(rest[mapAt + 1]) : std::nullopt;
        if (!mapped)
            return usageError("import", QStringLiteral("--map takes field numbers 0 ... 40."));
        rest.remove(mapAt, 2);
    }
    if (rest.size() != 2 || (skip && noSkip))
        return usageError("import");
    const QString path = rest[0];
    kv::ImportRequest request;
    request.path = rest[1];
    request.kind = kv::hasDbfExtension(request.path) ? kv::ImportKind::Dbase : kv::ImportKind::Text;
    if (!isCatalogue(path))
        return kExitRefused;
    return withTable(path, [&](kv::Table &master) {
        QStringList names;
        if (request.kind == kv::ImportKind::Text) {
            const kv::FirstLineCheck check = kv::checkFirstLine(request.path);
            if (check.code != 0) {
                printError(kv::firstLineMessage(check.code));
                return kExitRefused;
            }
            names = check.names;
            request.skipFirst = skip || (!noSkip && catalogueSettings(path).importSkipFirst);
        } else {
            names = kv::dbaseFieldNames(request.path);
        }
        request.fieldCount = int(names.size());
        request.map = kv::defaultImportMap(request.fieldCount);
        if (mapped) {
            request.map.assign(request.map.size(), -1);
            for (qsizetype i = 0; i < mapped->size() && size_t(i) < request.map.size(); ++i)
                request.map[size_t(i)] = mapped->at(i) == 0 ? -1 : mapped->at(i);
        }
        master.open();
        const kv::ImportResult result = kv::importRecords(master, request);
        printLine(QString::number(result.imported));
        return kExitOk;
    });
}

int runExport(const QStringList &args)
{
    QStringList rest = args;
    const bool names = rest.removeAll(QStringLiteral("--names")) > 0;
    const bool noNames = rest.removeAll(QStringLiteral("--no-names")) > 0;
    if (rest.size() < 2 || (names && noNames))
        return usageError("export");
    const QString path = rest.takeFirst();
    kv::ExportRequest request;
    request.path = rest.takeFirst();
    request.kind = kv::hasDbfExtension(request.path) ? kv::ExportKind::Dbase : kv::ExportKind::Text;
    if (!isCatalogue(path))
        return kExitRefused;
    const kv::Settings settings = catalogueSettings(path);
    request.fields = kv::exportList(settings);
    if (request.fields.isEmpty()) {
        printError(QString::fromLatin1(kv::kNoFieldsMessage));
        return kExitRefused;
    }
    const bool firstRow = names || (!noNames && settings.exportFirstRow);
    if (firstRow && request.kind == kv::ExportKind::Text)
        for (int n : request.fields)
            request.titles << kv::exportTitle(settings, n);
    return withTable(path, [&](kv::Table &master) {
        master.setReadOnly(true);
        openInActiveOrder(master, false);
        if (!rest.isEmpty()) {
            // Only the records of a search with these criteria.
            const kv::CriterionParse parse = kv::parseCriterionWords(rest, master);
            if (parse.usage)
                return usageError("export", parse.error);
            if (!parse.error.isEmpty()) {
                printError(parse.error);
                return kExitRefused;
            }
            master.setFilterFunction(parse.filter);
            master.setFiltered(true);
        }
        printLine(QString::number(kv::exportRecords(master, request)));
        return kExitOk;
    });
}

const Registrar regImport({"import", "FILE.DBF SOURCE [--skip-first|--no-skip-first] [--map M1,M2,...]",
                           "append the records of a delimited text file or a dBASE table (SOURCE ending in .DBF)",
                           &runImport});
const Registrar regExport({"export", "FILE.DBF OUT [--names|--no-names] [CRITERION... [--or CRITERION...]...]",
                           "write the records (those that pass a query search with the criteria given, as search "
                           "takes them) to delimited text, or to a dBASE table when OUT ends in .DBF",
                           &runExport});

} // namespace

} // namespace kvcli
