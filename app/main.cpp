#include "base/paths.h"
#include "app/ui/commandkeys.h"
#include "app/ui/mainwindow.h"
#include "app/ui/qtprompt.h"
#include "help/help.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kv::initApplicationIdentity();
    kv::installHelpKey(app); // F1 anywhere opens the topic of the window in front
    kv::installCommandKeys(app);
    // The windows carry the program's title in their own captions ("Error", "Kestrova
    // Videos 97 (MASTER)"), so no display name is appended to them.
    kv::QtPrompt prompt;
    kv::Settings settings;
    kv::Workspace workspace(settings, prompt);
    kv::TMain main(workspace, app.arguments().mid(1));
    if (!main.started())
        return 0; // no catalogue could be made to open
    // The edit window is created here, after the main window, once it exists.
    main.show();
    return app.exec();
}
