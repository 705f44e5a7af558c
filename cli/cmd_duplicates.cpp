// duplicates: the records entered twice (the same title, or the same media number).
#include "commands.h"
#include "storecommands.h"

#include "collection/duplicates.h"
#include "store/mastertable.h"

namespace kvcli {

namespace {

int runDuplicates(const QStringList &args)
{
    if (args.size() != 1)
        return usageError("duplicates");
    return withTable(args[0], [&](kv::Table &table) {
        table.setReadOnly(true);
        table.open();
        if (!kv::hasMasterLayout(table)) {
            printError(QString::fromLatin1(kv::kNotCatalogueMessage));
            return kExitRefused;
        }
        writeOut(kv::duplicatesText(kv::findDuplicates(table)).toUtf8());
        return kExitOk;
    });
}

const Registrar regDuplicates({"duplicates", "FILE.DBF",
                               "groups of records with the same title (letter case, accents, punctuation and a "
                               "leading article aside; the same year where both give one) or the same media number; "
                               "each record as its record number, title, year and media number",
                               &runDuplicates});

} // namespace
} // namespace kvcli
