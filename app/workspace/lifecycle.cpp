#include "app/workspace/lifecycle.h"

#include "app/display/mainlayout.h"
#include "app/display/screensize.h"
#include "base/dateformat.h"
#include "base/paths.h"
#include "reports/reportfile.h"
#include "resources/defaults.h"

namespace kv {

bool startProgram(Workspace &ws, CatalogueSession &catalogues, const QStringList &arguments, QSize primaryScreen)
{
    Settings &settings = ws.settings();
    // The program folder (made at first start, with the delivered pick lists) and the
    // folder the program started in.
    const QString folder = programDir();
    startupDirectory();
    QString error;
    if (!installDefaultLists(folder, &error))
        ws.prompt().showError(error);
    // The report definitions, made or taken over from the previous version.
    if (!prepareReportFile(folder, &error))
        ws.prompt().showError(error);

    readSettings(programSettingsPath(), SettingsScope::Program, settings);
    ws.rebuildSortExpression();
    setCurrentDateFormat(settings.dateFormat, settings.dateLeadingZeros);

    if (!catalogues.openAtStartup())
        return false;
    // The lists of the catalogue, or the defaults when it never had its own.
    ws.pickLists().LoadAllList(ws.paths().basePath);

    // A screen size mode the screen cannot hold falls back to 640 silently.
    settings.windowSize = startupWindowSize(settings.windowSize, primaryScreen);
    applyFormats(settings);
    catalogues.checkForConversion();
    if (isBrowseOnlyArgument(arguments))
        ws.enterBrowseOnly();
    return true;
}

void closeProgram(Workspace &ws, CatalogueSession &catalogues, const QRect &mainWindow, bool started)
{
    ws.search().end();
    Settings &settings = ws.settings();
    settings.mainWindowLeft = mainWindow.x();
    settings.mainWindowTop = mainWindow.y();
    settings.mainWindowWidth = mainWindow.width();
    settings.mainWindowHeight = mainWindow.height();
    ws.leaveBrowseOnly();
    if (started)
        catalogues.writeAllSettings();
}

} // namespace kv
