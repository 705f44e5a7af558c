// The searching commands: search (the records that pass a query search, listed as `list`
// lists them).
#include "commands.h"
#include "storecommands.h"

#include "search/criteria.h"
#include "search/criterionwords.h"

namespace kvcli {

namespace {

int runSearch(const QStringList &args)
{
    QStringList rest = args;
    const TextEncoding encoding = rest.removeAll(QStringLiteral("--utf8")) > 0 ? TextEncoding::Utf8 : TextEncoding::Cp1252;
    if (rest.size() < 2)
        return usageError("search");
    const QString path = rest.takeFirst();
    return withTable(path, [&](kv::Table &table) {
        table.setReadOnly(true);
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
        writeListing(table, encoding);
        return kExitOk;
    });
}

const Registrar regSearch({"search", "FILE.DBF CRITERION... [--or CRITERION...]... [--utf8]",
                           "list the records that pass a query search; CRITERION is FIELD=TEXT, FIELD=VALUE, "
                           "FIELD>VALUE, FIELD<VALUE or FIELD>LOW<HIGH, --or starts the next level",
                           &runSearch});

} // namespace
} // namespace kvcli
