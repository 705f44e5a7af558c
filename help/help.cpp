#include "help.h"

#include "help/aboutbox.h"
#include "help/helpwindow.h"
#include "help/tipoftheday.h"
#include "resources/helptopics.h"

#include <QApplication>
#include <QPointer>

namespace kv {

namespace {

// The outermost window above w: the help window belongs to the program's main window,
// not to the dialog that asked for it, so that it outlives that dialog.
QWidget *topLevelOwner(QWidget *w)
{
    QWidget *top = w ? w->window() : nullptr;
    while (top && top->parentWidget())
        top = top->parentWidget()->window();
    return top;
}

} // namespace

void showHelp(QWidget *parent, const QString &keyword)
{
    static QPointer<THelpWindow> window;
    if (!window) {
        QWidget *owner = topLevelOwner(parent);
        window = new THelpWindow(owner);
        if (!owner)
            window->setAttribute(Qt::WA_DeleteOnClose);
    }
    // A modal dialog blocks every window but its own; the help it asked for must stay
    // usable, so it becomes modal above the dialog until it is closed.
    QWidget *modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != window ? Qt::ApplicationModal : Qt::NonModal;
    if (window->windowModality() != wanted) {
        window->hide();
        window->setWindowModality(wanted);
    }
    window->showTopic(helpTopicUrl(keyword));
    window->show();
    window->raise();
    window->activateWindow();
}

bool showTipOfTheDay(QWidget *parent, bool showTipsAtStartup)
{
    TTipOfTheDay dialog(parent, showTipsAtStartup);
    dialog.exec();
    return dialog.showTipsAtStartup();
}

void showAbout(QWidget *parent)
{
    TAboutBox box(parent);
    box.exec();
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const QString &file : applicationIconFiles())
        icon.addFile(file);
    return icon;
}

} // namespace kv
