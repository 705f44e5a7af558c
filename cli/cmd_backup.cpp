// The safety-copy commands: backup (one kind of a catalogue's files into a folder) and
// restore (one kind back into the program folder), with the program's messages.
#include "commands.h"

#include "app/settings/settings.h"
#include "base/paths.h"
#include "exchange/restore.h"
#include "store/catalogue.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace kvcli {

namespace {

std::optional<kv::ExchangeKind> kindOf(const QString &word)
{
    const std::pair<const char *, kv::ExchangeKind> kinds[] = {{"table", kv::ExchangeKind::Table},
                                                              {"lists", kv::ExchangeKind::Lists},
                                                              {"settings", kv::ExchangeKind::Settings},
                                                              {"reports", kv::ExchangeKind::Reports}};
    for (const auto &[name, kind] : kinds) {
        if (word == QLatin1String(name))
            return kind;
    }
    return std::nullopt;
}

bool exists(const QString &path, bool folder)
{
    const QFileInfo info(path);
    if (folder ? info.isDir() : info.isFile())
        return true;
    printError(QStringLiteral("\"%1\" does not exist.").arg(QDir::toNativeSeparators(path)));
    return false;
}

int runBackupCommand(const QStringList &args)
{
    const std::optional<kv::ExchangeKind> kind = args.size() == 3 ? kindOf(args[1]) : std::nullopt;
    if (!kind)
        return usageError("backup");
    const QString folder = QFileInfo(args[2]).absoluteFilePath();
    if (!exists(args[0], false) || !exists(folder, true))
        return kExitRefused;
    StderrPrompt prompt;
    kv::Table table;
    table.setPath(QFileInfo(args[0]).absoluteFilePath());
    const kv::CataloguePaths paths = kv::CataloguePaths::of(table.filePath());
    const kv::ExchangeOutcome outcome = kv::runBackup(*kind, table, paths, kv::programDir(), folder, prompt);
    return outcome == kv::ExchangeOutcome::Completed ? kExitOk : kExitRefused;
}

int runRestoreCommand(const QStringList &args)
{
    const std::optional<kv::ExchangeKind> kind = args.size() == 3 ? kindOf(args[1]) : std::nullopt;
    if (!kind)
        return usageError("restore");
    if (!exists(args[0], false) || !exists(args[2], false))
        return kExitRefused;
    StderrPrompt prompt;
    kv::Table table, check;
    check.setReadOnly(true);
    const QString catalogue = QFileInfo(args[0]).absoluteFilePath();
    table.setPath(catalogue);
    // The order the program shows the catalogue in: that of its settings.
    kv::Settings settings;
    kv::readSettings(kv::catalogueSettingsPath(catalogue), kv::SettingsScope::Catalogue, settings);
    kv::RestorePlace place{table,   check, kv::CataloguePaths::of(catalogue), kv::buildSortString(settings.sortLevels),
                           kv::programDir()};
    const kv::RestoreResult result =
        kv::runRestore(*kind, place, QFileInfo(args[2]).absoluteFilePath(), prompt);
    for (const QString &path : result.written)
        printLine(QDir::toNativeSeparators(path));
    return result.outcome == kv::ExchangeOutcome::Completed ? kExitOk : kExitRefused;
}

const Registrar regBackup({"backup", "FILE.DBF table|lists|settings|reports DIR",
                           "copy one kind of a catalogue's files into DIR", &runBackupCommand});
const Registrar regRestore({"restore", "FILE.DBF table|lists|settings|reports SOURCE",
                            "copy one kind of backed-up files from beside SOURCE into the program folder",
                            &runRestoreCommand});

} // namespace

} // namespace kvcli
