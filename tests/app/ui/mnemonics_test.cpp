// Within a window each Alt+letter leads to one place: a menu, a button, a page, a group
// or the box a label names; within an open menu each letter to one item.
#include "app/ui/mainwindowfixture.h"
#include "programdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <map>

namespace {

QChar mnemonicOf(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&'))
                return text[i + 1].toUpper();
            ++i;
        }
    }
    return QChar();
}

// The letters that lead to more than one item of an open menu, and of its submenus.
QStringList menuClashes(QMenu *menu)
{
    std::map<QChar, QStringList> items;
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        if (const QChar m = mnemonicOf(a->text()); !m.isNull())
            items[m] << a->text();
        if (a->menu())
            out << menuClashes(a->menu());
    }
    for (const auto &[letter, texts] : items)
        if (texts.size() > 1)
            out << menu->title() + QStringLiteral(" menu ") + QString(letter) + QStringLiteral(": ") +
                       texts.join(QStringLiteral(", "));
    return out;
}

// The letters that lead to more than one place among what the window shows now.
QStringList clashes(QWidget *window)
{
    QStringList out;
    std::map<QChar, QStringList> places;
    const auto note = [&](const QString &text, const QString &where) {
        const QChar m = mnemonicOf(text);
        if (!m.isNull())
            places[m] << where + QLatin1Char(' ') + text;
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            note(b->text(), QStringLiteral("button"));
        else if (auto *l = qobject_cast<QLabel *>(w); l && l->buddy())
            note(l->text(), QStringLiteral("label"));
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            note(g->title(), QStringLiteral("group"));
        else if (auto *bar = qobject_cast<QMenuBar *>(w)) {
            for (QAction *a : bar->actions()) {
                note(a->text(), QStringLiteral("menu"));
                if (a->menu())
                    out << menuClashes(a->menu());
            }
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                note(tabs->tabText(i), QStringLiteral("page"));
        }
    }
    for (const auto &[letter, where] : places)
        if (where.size() > 1)
            out << QString(letter) + QStringLiteral(": ") + where.join(QStringLiteral(", "));
    return out;
}

// Each page of each notebook in turn: a page's boxes count only while it shows.
QStringList clashesOnEveryPage(QWidget *window)
{
    QStringList out = clashes(window);
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            out << clashes(window);
        }
    }
    out.removeDuplicates();
    return out;
}

TEST(Mnemonics, EachWindowsLettersAreItsOwn)
{
    ProgramDialogs dialogs(kv::Settings(), newCatalogue());
    for (const auto &[name, make] : dialogs.makers()) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> window = make();
        window->show();
        EXPECT_EQ(clashesOnEveryPage(window.get()).join(QStringLiteral(" | ")).toStdString(), "");
        window->hide();
    }
}

// The lettered buttons keep their historic captions ("&Reports", "&Viewer", "E&nd Srch"),
// which share letters with the menus; the other two modes have no such sharing.
TEST(Mnemonics, TheMainWindowsLettersAreItsOwnWithSpeedButtonsOrNone)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    for (const char *mode : {"MenuSpeedButtons", "MenuNoButtons"}) {
        SCOPED_TRACE(mode);
        child<QAction>(main.get(), mode)->trigger();
        EXPECT_EQ(clashes(main.get()).join(QStringLiteral(" | ")).toStdString(), "");
    }
}

} // namespace
