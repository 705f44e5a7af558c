// The searching commands: search (the records that pass a query search, listed as `list`
// lists them) and replace (search and replace without confirmation).
#include "commands.h"
#include "storecommands.h"
#include "terminaltext.h"

#include "search/criteria.h"
#include "search/criterionwords.h"
#include "search/replace.h"
#include "app/settings/settings.h"
#include "app/workspace/sortorder.h"
#include "store/catalogue.h"
#include "store/fieldtable.h"

#include <QFileInfo>

namespace kvcli {

namespace {

int runSearch(const QStringList &args)
{
    QStringList rest = args;
    const std::optional<TextEncoding> encoding = takeTerminalEncoding(rest);
    if (!encoding || rest.size() < 2)
        return usageError("search");
    const QString path = rest.takeFirst();
    return withTable(path, [&](kv::Table &table) {
        table.setReadOnly(true);
        table.setReadAhead(true);
        openInActiveOrder(table, false);
        const kv::CriterionParse parse = kv::parseCriterionWords(rest, table);
        if (parse.usage)
            return usageError("search", parse.error);
        if (!parse.error.isEmpty()) {
            printError(parse.error);
            return kExitRefused;
        }
        table.setFilterFunction(parse.filter);
        table.setFiltered(true);
        if (table.recordCount() == 0) {
            printError(QString::fromLatin1(kv::kNoMatches));
            return kExitRefused;
        }
        writeListing(table, *encoding);
        return kExitOk;
    });
}

// The sort expression the tag is built from again: the catalogue settings' sort order, or
// without settings the expression of the tag the catalogue has.
QString sortExpressionOf(kv::Table &master)
{
    return kv::savedSortExpression(master.filePath()).value_or(kv::sortTagExpression(master));
}

int runReplace(const QStringList &args)
{
    if (args.size() != 4)
        return usageError("replace");
    const int field = kv::fieldNumber(args[1]);
    if (field == 0)
        return usageError("replace", QStringLiteral("%1 is not a field of a catalogue.").arg(args[1]));
    if (!headerSound(args[0]))
        return kExitRefused;
    return withTable(args[0], [&](kv::Table &master) {
        master.open();
        tellIndexNotice(master);
        const QString expression = sortExpressionOf(master);
        StderrPrompt prompt;
        kv::Table check;
        kv::ReplaceCounters n;
        const kv::ReplaceResult result =
            kv::searchAndReplace(master, check, expression, {field, args[2], args[3], false}, prompt, {}, n);
        if (result != kv::ReplaceResult::Done)
            return kExitRefused;
        printLine(QStringLiteral("Processed %1  Found %2  Changed %3").arg(n.processed).arg(n.found).arg(n.changed));
        return kExitOk;
    });
}

const Registrar regReplace({"replace", "FILE.DBF FIELD SEARCH REPLACEMENT",
                            "set FIELD to REPLACEMENT in every record whose FIELD is SEARCH (text in any case)",
                            &runReplace});

const Registrar regSearch({"search", "FILE.DBF CRITERION... [--or CRITERION...]... [--utf8|--cp1252]",
                           "list the records that pass a query search; CRITERION is FIELD=TEXT, FIELD=VALUE, "
                           "FIELD>VALUE, FIELD<VALUE or FIELD>LOW<HIGH, --or starts the next level",
                           &runSearch, false,
                           {{"--or", "", "Start the next level of criteria: a record passes when it passes one level."},
                            {"--utf8", "", "Write UTF-8, whatever the locale."},
                            {"--cp1252", "", "Write code page 1252, whatever the locale."}}});

} // namespace
} // namespace kvcli
