#include "help.h"

#include "help/aboutbox.h"
#include "help/helpwindow.h"
#include "help/tipoftheday.h"
#include "resources/helptopics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace kv {

namespace {

constexpr char kHelpKeywordProperty[] = "kvHelpKeyword";
constexpr char kHelpKeyName[] = "HelpKey";

// Sees F1 on its way to any widget, before the widget does.
class HelpKey : public QObject {
public:
    explicit HelpKey(QObject *parent) : QObject(parent) { setObjectName(QLatin1String(kHelpKeyName)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false; // Shift+F1 and Ctrl+F1 belong to the Options menu
        if (!key->isAutoRepeat())
            showHelpInFront(static_cast<QWidget *>(watched));
        return true;
    }

private:
    static void showHelpInFront(QWidget *receiver)
    {
        QWidget *front = QApplication::activeModalWidget();
        if (!front)
            front = QApplication::activeWindow();
        if (!front)
            front = receiver->window(); // a desktop that never activates windows
        QWidget *focus = QApplication::focusWidget();
        const QWidget *from = focus && focus->window() == front ? focus : front;
        showHelp(front, helpKeyword(from));
    }
};

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

void setHelpKeyword(QWidget *window, const QString &keyword)
{
    window->setProperty(kHelpKeywordProperty, keyword.isEmpty() ? QVariant() : QVariant(keyword));
}

QString helpKeyword(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant keyword = w->property(kHelpKeywordProperty);
        if (keyword.isValid())
            return keyword.toString();
    }
    return {};
}

void installHelpKey(QApplication &app)
{
    if (app.findChild<QObject *>(QLatin1String(kHelpKeyName), Qt::FindDirectChildrenOnly))
        return;
    app.installEventFilter(new HelpKey(&app));
}

TipsState showTipOfTheDay(QWidget *parent, const TipsState &state)
{
    TTipOfTheDay dialog(parent, state);
    dialog.exec();
    return dialog.state();
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
