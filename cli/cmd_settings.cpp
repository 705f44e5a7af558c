// kestrova-cli settings [FILE.DBF]: the settings the program would use, as the files
// hold them: the program settings, or those of one catalogue.
#include "commands.h"

#include "app/settings/settings.h"

#include <QFileInfo>

namespace {

int runSettings(const QStringList &args)
{
    if (args.size() > 1)
        return kvcli::usageError("settings", QStringLiteral("Too many arguments."));

    kv::Settings effective;
    kv::SettingsScope scope = kv::SettingsScope::Program;
    if (args.isEmpty()) {
        kv::readSettings(kv::programSettingsPath(), scope, effective);
    } else {
        const QString catalogue = args.first();
        if (!QFileInfo(catalogue).isFile()) {
            kvcli::printError(QStringLiteral("The file %1 does not exist.").arg(catalogue));
            return kvcli::kExitRefused;
        }
        scope = kv::SettingsScope::Catalogue;
        kv::readSettings(kv::catalogueSettingsPath(catalogue), scope, effective);
    }

    QString section;
    for (const kv::SettingsEntry &entry : kv::settingsEntries(scope, effective)) {
        if (entry.section != section) {
            section = entry.section;
            kvcli::printLine(QLatin1Char('[') + section + QLatin1Char(']'));
        }
        kvcli::printLine(entry.key + QLatin1Char('=') + entry.value);
    }
    return kvcli::kExitOk;
}

const kvcli::Registrar reg({"settings", "[FILE.DBF]",
                            "print the effective program settings, or those of a catalogue", &runSettings});

} // namespace
