// kestrova-cli viewer FILE.DBF: the viewer's columns for a catalogue, left to right, as
// its settings lay them out: field name, caption and width in characters, tab-separated.
#include "commands.h"

#include "app/display/viewerlayout.h"
#include "app/settings/settings.h"
#include "store/fieldtable.h"

#include <QFileInfo>

namespace {

int runViewer(const QStringList &args)
{
    if (args.size() != 1)
        return kvcli::usageError("viewer");
    if (!QFileInfo(args.first()).isFile()) {
        kvcli::printError(QStringLiteral("The table \"%1\" does not exist.").arg(args.first()));
        return kvcli::kExitRefused;
    }
    kv::Settings settings;
    kv::readSettings(kv::catalogueSettingsPath(args.first()), kv::SettingsScope::Catalogue, settings);
    for (const kv::ViewerColumn &c : kv::viewerColumns(settings))
        kvcli::printLine(kv::fieldName(c.field) + QLatin1Char('\t') + c.caption + QLatin1Char('\t') +
                         QString::number(c.widthChars));
    return kvcli::kExitOk;
}

const kvcli::Registrar reg({"viewer", "FILE.DBF",
                            "the viewer's columns for a catalogue: field, caption and width, left to right",
                            &runViewer});

} // namespace
