// The catalogue commands: sort (set a catalogue's sort levels) and convert (append a
// catalogue of an earlier version).
#include "commands.h"

#include "app/workspace/cataloguesession.h"
#include "store/catalogue.h"

#include <QFileInfo>

namespace kvcli {
namespace {

// The catalogue must exist and be one; the program's own message says why not.
bool checkCatalogue(kv::Table &check, const QString &path)
{
    if (!QFileInfo::exists(path)) {
        printError(QStringLiteral("The table \"%1\" does not exist.").arg(path));
        return false;
    }
    return kv::checkDBaseFormat(check, path);
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
    if (!checkCatalogue(check, args[0]))
        return kExitRefused;
    kv::Settings settings;
    kv::CatalogueSession session(settings);
    settings.lastDatabase = QFileInfo(args[0]).absoluteFilePath();
    if (!session.openAtStartup())
        return kExitRefused;
    return session.setSortLevels(levels) == kv::CatalogueSession::SortOutcome::Applied ? kExitOk : kExitRefused;
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
    try {
        kv::Table master;
        master.setPath(target);
        master.open();
        const std::uint32_t before = master.physicalCount();
        convert(check, old, master);
        printLine(QStringLiteral("%1 records converted.").arg(master.physicalCount() - before));
    } catch (const kv::DbError &e) {
        printError(e.message());
        return kExitRefused;
    }
    return kExitOk;
}

const Registrar regSort({"sort", "FILE.DBF L1 [L2 [L3 [L4]]]",
                         "set the catalogue's sort levels (field numbers, 0 for none) and rebuild its order", &runSort});
const Registrar regConvert({"convert", "OLD.DBF FILE.DBF",
                            "append the records of a 1.x or 2.x catalogue to a catalogue", &runConvert});

} // namespace
} // namespace kvcli
