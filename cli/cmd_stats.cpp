// stats: the figures of a catalogue (counts and shares, running time and values, what is
// checked out), as text or as JSON.
#include "commands.h"
#include "storecommands.h"

#include "collection/collectionstats.h"
#include "store/mastertable.h"

#include <QDate>
#include <QJsonDocument>

namespace kvcli {

namespace {

constexpr int kDefaultOverdueDays = 30;

int runStats(const QStringList &args)
{
    QStringList rest = args;
    bool json = false;
    int overdueDays = kDefaultOverdueDays;
    for (qsizetype i = 0; i < rest.size();) {
        if (rest[i] == QLatin1String("--json")) {
            json = true;
            rest.removeAt(i);
        } else if (rest[i] == QLatin1String("--overdue")) {
            bool ok = false;
            overdueDays = i + 1 < rest.size() ? rest[i + 1].toInt(&ok) : 0;
            if (!ok || overdueDays < 0)
                return usageError("stats", QStringLiteral("--overdue takes a number of days."));
            rest.remove(i, 2);
        } else {
            ++i;
        }
    }
    if (rest.size() != 1)
        return usageError("stats");
    return withTable(rest[0], [&](kv::Table &table) {
        table.setReadOnly(true);
        table.open();
        if (!kv::hasMasterLayout(table)) {
            printError(QString::fromLatin1(kv::kNotCatalogueMessage));
            return kExitRefused;
        }
        const kv::CollectionStats stats =
            kv::collectStats(table, kv::StatsScope::Catalogue, QDate::currentDate(), overdueDays);
        if (json)
            writeOut(QJsonDocument(kv::statsJson(stats)).toJson(QJsonDocument::Indented));
        else
            writeOut(kv::statsText(stats).toUtf8());
        return kExitOk;
    });
}

const Registrar regStats({"stats", "FILE.DBF [--json] [--overdue DAYS]",
                          "counts and shares by category, format, content, rating, decade and personal rating; "
                          "running time, list and purchase value; what is checked out, to whom and since when",
                          &runStats, false,
                          {{"--json", "", "Write the figures as JSON."},
                           {"--overdue", "DAYS", "A loan is overdue after DAYS days (30 unless given)."}}});

} // namespace
} // namespace kvcli
