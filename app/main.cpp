#include "app/base/paths.h"
#include "app/ui/mainwindow.h"
#include "app/ui/qtprompt.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kv::initApplicationIdentity();
    QApplication::setApplicationDisplayName(QString::fromLatin1(kv::kApplicationTitle));
    kv::QtPrompt qtPrompt;
    kv::setPrompt(&qtPrompt);
    kv::TMain main;
    main.show();
    return app.exec();
}
