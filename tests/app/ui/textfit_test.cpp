// Every caption of the program's dialogs shows whole in the widest face the Options
// menu offers, at every screen size.
#include "app/style/textfit.h"
#include "app/style/windowstyle.h"

#include "programdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

namespace {

// A wide monospaced face, bold, for labels, boxes and buttons alike.
kv::Settings widestFonts(int windowSize)
{
    kv::Settings s;
    for (kv::FontRole role : {kv::FontRole::Label, kv::FontRole::Edit, kv::FontRole::Button}) {
        s.font(role).font = QFont(QStringLiteral("Courier New"), 14);
        s.font(role).font.setBold(true);
    }
    s.windowSize = windowSize;
    return s;
}

// The captions that are cut, or that stand outside their window.
QStringList cutCaptions(QWidget *window)
{
    QStringList cut;
    const QRect inside = window->rect();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->window() != window || !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)))
            continue;
        const int room = kv::textRoom(w);
        if (room == 0)
            continue;
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        if (room > w->width() + 1 || !inside.contains(r))
            cut << w->objectName() + QLatin1Char('/') + (qobject_cast<QLabel *>(w) ? static_cast<QLabel *>(w)->text()
                                                                     : static_cast<QAbstractButton *>(w)->text());
    }
    return cut;
}

TEST(TextFit, EveryDialogShowsItsCaptionsWholeInTheWidestFaceAtEverySize)
{
    const QString path = newCatalogue();
    for (const int size : {640, 800}) { // the sizes the offscreen screen holds
        SCOPED_TRACE(size);
        ProgramDialogs dialogs(widestFonts(size), path);
        for (const auto &[name, make] : dialogs.makers()) {
            SCOPED_TRACE(name);
            std::unique_ptr<QWidget> window = make();
            kv::styleWindow(window.get(), kv::WindowFamily::Configure, dialogs.f.settings);
            window->show();
            QApplication::processEvents();
            EXPECT_EQ(cutCaptions(window.get()).join(QStringLiteral(" | ")).toStdString(), "");
            window->hide();
        }
    }
}

} // namespace
