// The import and export commands: the logic the import and export windows run.
#include "commands.h"
#include "storecommands.h"

#include "app/settings/settings.h"
#include "exchange/exchangegrids.h"
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

// Takes "--name VALUE" out of the arguments: nothing when absent, an empty text when
// the value is missing.
std::optional<QString> takeOption(QStringList &rest, const char *name)
{
    const qsizetype at = rest.indexOf(QLatin1String(name));
    if (at < 0)
        return std::nullopt;
    const QString value = at + 1 < rest.size() ? rest[at + 1] : QString();
    rest.remove(at, at + 1 < rest.size() ? 2 : 1);
    return value;
}

QStringList captionsOf(const kv::Settings &settings)
{
    QStringList captions;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        captions << settings.field(n).caption;
    return captions;
}

int runImport(const QStringList &args)
{
    QStringList rest = args;
    const bool skip = rest.removeAll(QStringLiteral("--skip-first")) > 0;
    const bool noSkip = rest.removeAll(QStringLiteral("--no-skip-first")) > 0;
    std::optional<QList<int>> mapped;
    bool byNames = false;
    if (const std::optional<QString> map = takeOption(rest, "--map")) {
        byNames = *map == QLatin1String("names");
        mapped = byNames ? std::optional<QList<int>>(QList<int>()) : parseMap(*map);
        if (!mapped)
            return usageError("import", QStringLiteral("--map takes field numbers 0 ... 40, or \"names\"."));
    }
    kv::TextChoice choice;
    if (const std::optional<QString> word = takeOption(rest, "--encoding")) {
        const std::optional<kv::EncodingChoice> c = kv::encodingChoiceOf(*word);
        if (!c)
            return usageError("import", QStringLiteral("--encoding takes auto, utf-8, cp1252 or cp850."));
        choice.encoding = *c;
    }
    if (const std::optional<QString> word = takeOption(rest, "--format")) {
        const std::optional<kv::DialectChoice> c = kv::dialectChoiceOf(*word);
        if (!c)
            return usageError("import", QStringLiteral("--format takes auto, own or csv."));
        choice.dialect = *c;
    }
    if (rest.size() != 2 || (skip && noSkip))
        return usageError("import");
    const QString path = rest[0];
    kv::ImportRequest request;
    request.path = rest[1];
    request.kind = kv::hasDbfExtension(request.path) ? kv::ImportKind::Dbase : kv::ImportKind::Text;
    request.encoding = choice.encoding;
    if (!headerSound(path) || !isCatalogue(path))
        return kExitRefused;
    const kv::Settings settings = catalogueSettings(path);
    return withTable(path, [&](kv::Table &master) {
        if (request.kind == kv::ImportKind::Text) {
            const kv::FirstLineCheck check = kv::checkFirstLine(request.path, choice);
            if (check.code != 0) {
                printError(kv::firstLineMessage(check.code));
                return kExitRefused;
            }
            request.names = check.names;
            request.format = check.format;
            request.skipFirst = skip || (!noSkip && settings.importSkipFirst);
        } else {
            request.names = kv::dbaseFieldNames(request.path);
        }
        request.fieldCount = int(request.names.size());
        request.map = kv::defaultImportMap(request.fieldCount);
        if (byNames) {
            request.map = kv::mapByNames(request.names, captionsOf(settings));
        } else if (mapped) {
            request.map.assign(request.map.size(), -1);
            for (qsizetype i = 0; i < mapped->size() && size_t(i) < request.map.size(); ++i)
                request.map[size_t(i)] = mapped->at(i) == 0 ? -1 : mapped->at(i);
        }
        master.open();
        tellIndexNotice(master);
        const kv::ImportResult result = kv::importRecords(master, request);
        tellIndexNotice(master);
        if (result.replaced > 0)
            printError(kv::replacedValuesMessage(result.replaced));
        printLine(QString::number(result.imported));
        return kExitOk;
    });
}

int runExport(const QStringList &args)
{
    QStringList rest = args;
    const bool names = rest.removeAll(QStringLiteral("--names")) > 0;
    const bool noNames = rest.removeAll(QStringLiteral("--no-names")) > 0;
    kv::TextEncoding encoding = kv::TextEncoding::Cp1252;
    if (const std::optional<QString> word = takeOption(rest, "--encoding")) {
        const std::optional<kv::EncodingChoice> c = kv::encodingChoiceOf(*word);
        const std::optional<kv::TextEncoding> e = c ? kv::chosenEncoding(*c) : std::nullopt;
        if (!e)
            return usageError("export", QStringLiteral("--encoding takes utf-8, cp1252 or cp850."));
        encoding = *e;
    }
    if (rest.size() < 2 || (names && noNames))
        return usageError("export");
    const QString path = rest.takeFirst();
    kv::ExportRequest request;
    request.encoding = encoding;
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
        master.setReadAhead(true);
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
        qint64 replaced = 0;
        const qint64 written = kv::exportRecords(master, request, nullptr, &replaced);
        if (replaced > 0)
            printError(kv::replacedExportMessage(replaced));
        printLine(QString::number(written));
        return kExitOk;
    });
}

const Registrar regImport({"import",
                           "FILE.DBF SOURCE [--skip-first|--no-skip-first] [--map M1,M2,...|--map names] "
                           "[--encoding auto|utf-8|cp1252|cp850] [--format auto|own|csv]",
                           "append the records of a delimited text file or a dBASE table (SOURCE ending in .DBF); "
                           "a value that does not convert stops it and nothing is added",
                           &runImport, false,
                           {{"--skip-first", "", "Skip the first line of the text (its field names)."},
                            {"--no-skip-first", "", "Read the first line as a record."},
                            {"--map", "M1,M2,...|names",
                             "Put field i of the source into catalogue field Mi (0 for none), or line fields up by "
                             "their names."},
                            {"--encoding", "auto|utf-8|cp1252|cp850", "The character set of the text."},
                            {"--format", "auto|own|csv", "The program's own format or standard CSV."}}});
const Registrar regExport({"export",
                           "FILE.DBF OUT [--names|--no-names] [--encoding cp1252|utf-8|cp850] "
                           "[CRITERION... [--or CRITERION...]...]",
                           "write the records (those that pass a query search with the criteria given, as search "
                           "takes them) to delimited text, or to a dBASE table when OUT ends in .DBF",
                           &runExport, false,
                           {{"--names", "", "Write the field names as the first line."},
                            {"--no-names", "", "Write no line of field names."},
                            {"--encoding", "cp1252|utf-8|cp850", "The character set of the text."},
                            {"--or", "", "Start the next level of criteria."}}});

} // namespace

} // namespace kvcli
