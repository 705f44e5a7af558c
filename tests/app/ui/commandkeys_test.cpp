// A window's command keys win over the editing keys of its boxes, and only its own.
#include "app/ui/commandkeys.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window with a menu (Ctrl+X "Exit", Ctrl+U, Ctrl+E) over a line edit, an editable
// combo box and a spin box, as the preview and the edit window have them.
struct MenuWindow {
    QDialog window;
    QLineEdit *edit = new QLineEdit(QStringLiteral("zoom text"), &window);
    QComboBox *combo = new QComboBox(&window);
    QSpinBox *spin = new QSpinBox(&window);
    std::map<QString, int> runs;

    MenuWindow()
    {
        auto *menuBar = new QMenuBar(&window);
        QMenu *file = menuBar->addMenu(QStringLiteral("&File"));
        for (const auto &[name, key] : {std::pair{"Exit", Qt::Key_X}, {"Update", Qt::Key_U}, {"New", Qt::Key_E}}) {
            QAction *a = file->addAction(QString::fromLatin1(name));
            a->setShortcut(QKeySequence(Qt::CTRL | key));
            QObject::connect(a, &QAction::triggered, [this, n = QString::fromLatin1(name)] { ++runs[n]; });
        }
        combo->setEditable(true);
        combo->setEditText(QStringLiteral("combo text"));
        auto *layout = new QVBoxLayout(&window);
        layout->setMenuBar(menuBar);
        for (QWidget *w : {static_cast<QWidget *>(edit), static_cast<QWidget *>(combo), static_cast<QWidget *>(spin)})
            layout->addWidget(w);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST(CommandKeys, TheWindowsCommandsWinInEveryKindOfBox)
{
    kv::installCommandKeys(*qApp);
    kv::installCommandKeys(*qApp); // twice changes nothing
    MenuWindow m;
    int expected = 0;
    for (QWidget *box : {static_cast<QWidget *>(m.edit), static_cast<QWidget *>(m.combo),
                         static_cast<QWidget *>(m.spin)}) {
        box->setFocus();
        // Selected text, so that a box that took Ctrl+X would cut it.
        m.edit->selectAll();
        m.combo->lineEdit()->selectAll();
        QWidget *focus = QApplication::focusWidget();
        for (const auto &[key, name] : {std::pair{Qt::Key_U, "Update"}, {Qt::Key_X, "Exit"}, {Qt::Key_E, "New"}}) {
            QTest::keyClick(focus, key, Qt::ControlModifier);
            EXPECT_EQ(m.runs[QString::fromLatin1(name)], expected + 1) << name << " from " << box->metaObject()->className();
        }
        ++expected;
    }
    EXPECT_EQ(m.edit->text(), QStringLiteral("zoom text")) << "Ctrl+X did not cut";
    EXPECT_EQ(m.combo->currentText(), QStringLiteral("combo text")) << "Ctrl+U did not delete";
    // Keys without a command stay the box's own.
    m.edit->setFocus();
    m.edit->selectAll();
    QTest::keyClick(m.edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m.edit, Qt::Key_End);
    QTest::keyClick(m.edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m.edit->text(), QStringLiteral("zoom textzoom text"));
}

TEST(CommandKeys, ADisabledCommandOrAnotherWindowsCommandLeavesTheKeyToTheBox)
{
    kv::installCommandKeys(*qApp);
    MenuWindow m;
    // A dialog is a child of its window but its commands are its own, and the other way round.
    QDialog child(&m.window);
    QAction *childOnly = new QAction(&child);
    childOnly->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    child.addAction(childOnly);
    QKeyEvent ctrlK(QEvent::ShortcutOverride, Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(kv::isWindowCommandKey(m.edit, ctrlK));
    QKeyEvent ctrlX(QEvent::ShortcutOverride, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(kv::isWindowCommandKey(m.edit, ctrlX));
    QKeyEvent plainX(QEvent::ShortcutOverride, Qt::Key_X, Qt::NoModifier);
    EXPECT_FALSE(kv::isWindowCommandKey(m.edit, plainX));
    for (QAction *a : m.window.findChildren<QAction *>())
        a->setEnabled(false);
    EXPECT_FALSE(kv::isWindowCommandKey(m.edit, ctrlX));
    m.edit->setFocus();
    m.edit->selectAll();
    QTest::keyClick(m.edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(m.edit->text(), QString()) << "no command: Ctrl+X cuts";
}

} // namespace
