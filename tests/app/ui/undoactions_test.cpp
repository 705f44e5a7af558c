// Undo and Redo in the main window's Records menu: captions naming the step, enabling,
// and the keys Alt+Backspace and Shift+Alt+Backspace.
#include "app/workspace/records.h"
#include "mainwindowfixture.h"
#include "scriptedprompt.h"

#include <QAction>
#include <QTest>

TEST(UndoActions, CaptionsNameTheStepAndTheKeysTakeItBackAndDoItAgain)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    ASSERT_TRUE(main->started());
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QAction *undo = child<QAction>(main.get(), "MenuUndo");
    QAction *redo = child<QAction>(main.get(), "MenuRedo");
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace));
    const auto captions = [&] {
        return QStringList{undo->text(), undo->isEnabled() ? "on" : "off", redo->text(), redo->isEnabled() ? "on" : "off"};
    };
    EXPECT_EQ(captions(), (QStringList{"&Undo", "off", "&Redo", "off"}));

    kv::Workspace &ws = main->workspace();
    ws.master().append();
    ws.master().setFieldText(QStringLiteral("Title"), QStringLiteral("Heat"));
    ASSERT_TRUE(ws.attempt([&] { kv::postRecord(ws, ws.master()); }));
    EXPECT_EQ(captions(), (QStringList{"&Undo Add", "on", "&Redo", "off"}));
    EXPECT_EQ(ws.master().recordCount(), 1);

    QTest::keyClick(main.get(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(ws.master().recordCount(), 0);
    EXPECT_EQ(captions(), (QStringList{"&Undo", "off", "&Redo Add", "on"}));

    QTest::keyClick(main.get(), Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(ws.master().recordCount(), 1);
    EXPECT_EQ(captions(), (QStringList{"&Undo Add", "on", "&Redo", "off"}));

    ws.clearUndoHistory(QString::fromLatin1(kv::kHistoryClearedByPack));
    EXPECT_EQ(captions(), (QStringList{"Can't Undo: the catalogue was packed", "off", "&Redo", "off"}));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.messages().join(QLatin1Char('\n')).toStdString();
}
