// The edit window on the offscreen platform, on real catalogues, the prompt answering.
#include "edit/ui/myedit.h"

#include "app/ui/commandkeys.h"
#include "app/ui/viewergrid.h"
#include "edit/listfile.h"
#include "editwindowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using kv::Answer;

namespace {

TEST(EditWindow, PagesControlsLimitsAndCaptions)
{
    EditWindow e;
    e.settings.field(f::Title).caption = QStringLiteral("Name Of The Film");
    e.open(EditMode::Add);
    EXPECT_EQ(e.window->windowTitle(), QStringLiteral("Edit"));
    EXPECT_EQ(e.window->currentPage(), 1);
    EXPECT_EQ(e.line(f::Title)->maxLength(), 60);
    EXPECT_EQ(e.line(f::Year)->maxLength(), 4);
    EXPECT_EQ(e.combo(f::Star1 + 5)->lineEdit()->maxLength(), 25);
    EXPECT_EQ(e.line(f::PurchDate)->inputMask(), QStringLiteral("99/99/9999"));
    EXPECT_EQ(e.line(f::PurchDate)->displayText(), QStringLiteral("  /  /    "));
    EXPECT_EQ(e.line(f::RunTime)->text(), QStringLiteral("0"));
    EXPECT_EQ(child<QLabel>(e.window.get(), "TitleLabel")->text(), QStringLiteral("Name Of The Film"));
    EXPECT_EQ(static_cast<QCheckBox *>(e.window->box(f::CheckOut))->text(), QStringLiteral("Checked Out"));
    for (const char *name : {"SelectOscarAward", "SelectOscarNom", "SelectMisc"})
        EXPECT_TRUE(child<QPushButton>(e.window.get(), name)->isEnabled()) << name;
    e.type(f::Title, QStringLiteral("Alien"));
    QTest::keyClick(e.line(f::Title), Qt::Key_Tab); // leaving the title refreshes the echo
    EXPECT_EQ(child<QLabel>(e.window.get(), "WorthItem")->text(), QStringLiteral("Name Of The Film: Alien"));
}

TEST(EditWindow, EditOnAnEmptyCatalogueShowsEmptyBoxesAndUpdateAdds)
{
    EditWindow e;
    e.open(EditMode::Edit);
    EXPECT_EQ(e.line(f::RunTime)->text(), QString());
    EXPECT_EQ(e.line(f::ListPrice)->text(), QString());
    e.type(f::Title, QStringLiteral("First"));
    e.click("UpdateButton");
    EXPECT_EQ(e.titles(), QStringList{"First"});
    e.type(f::Title, QStringLiteral("First, again"));
    e.click("UpdateButton");
    EXPECT_EQ(e.titles(), QStringList{"First, again"}) << "the second update rewrites it";
}

TEST(EditWindow, TheDropDownsShowTheWorkspacesListsAndLearnOnUpdate)
{
    EditWindow e;
    e.workspace.pickLists().list(kv::kStarList).setEntries({QStringLiteral("Cary Grant")});
    e.open(EditMode::Add);
    for (int star = f::Star1; star < f::Star1 + 6; ++star)
        ASSERT_EQ(e.combo(star)->count(), 1) << star;
    e.type(f::Title, QStringLiteral("Notorious"));
    e.type(f::Star1 + 1, QStringLiteral("Ingrid Bergman"));
    e.type(f::Star1 + 4, QStringLiteral("Ingrid Bergman"));
    e.click("UpdateButton");
    EXPECT_EQ(e.titles(), QStringList{"Notorious"});
    for (int star = f::Star1; star < f::Star1 + 6; ++star) {
        ASSERT_EQ(e.combo(star)->count(), 2) << star;
        EXPECT_EQ(e.combo(star)->itemText(1), QStringLiteral("Ingrid Bergman"));
    }
    EXPECT_EQ(e.combo(f::Star1 + 1)->currentText(), QStringLiteral("Ingrid Bergman")) << "what was typed stays";
    EXPECT_EQ(e.combo(f::Star1)->currentText(), QString());
    EXPECT_EQ(e.window->windowTitle(), QStringLiteral("Edit"));
    EXPECT_EQ(e.window->editMode(), EditMode::Edit);
}

TEST(EditWindow, AnInvalidPurchaseDateShowsPageFourWithTheFocusInTheBox)
{
    EditWindow e;
    e.open(EditMode::Add);
    e.type(f::Title, QStringLiteral("X"));
    e.type(f::PurchDate, QStringLiteral("13451997"));
    EXPECT_EQ(e.line(f::PurchDate)->displayText(), QStringLiteral("13/45/1997"));
    e.prompt.answer(Answer::Ok);
    e.click("UpdateExitButton");
    EXPECT_EQ(e.prompt.messages(),
              QStringList{QStringLiteral("Error: ") + QString::fromLatin1(kv::kPurchDateMessage)});
    EXPECT_EQ(e.window->currentPage(), 4);
    EXPECT_EQ(QApplication::focusWidget(), e.line(f::PurchDate));
    EXPECT_TRUE(e.window->isVisible());
    EXPECT_EQ(e.workspace.master().recordCount(), 0);
}

// A character the catalogue cannot hold stops the update at its box, never stored as "?".
TEST(EditWindow, ACharacterTheCatalogueCannotHoldIsRefusedAtItsBox)
{
    EditWindow e;
    e.open(EditMode::Add);
    e.type(f::Title, QStringLiteral("Kino"));
    // QTest types only ASCII: the name comes in as a paste would bring it.
    e.combo(9 /*Director*/)->lineEdit()->insert(QStringLiteral("Andrzej Wajda, Łódź"));
    e.prompt.answer(Answer::Ok);
    e.click("UpdateButton");
    ASSERT_EQ(e.prompt.messages().size(), 1);
    EXPECT_TRUE(e.prompt.messages().front().startsWith(QStringLiteral("Error: The character")));
    EXPECT_TRUE(e.prompt.messages().front().contains(QChar(0x0141)));
    EXPECT_EQ(e.window->currentPage(), 1);
    EXPECT_TRUE(e.window->box(9)->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == e.window->box(9));
    EXPECT_EQ(e.workspace.master().recordCount(), 0);
    EXPECT_FALSE(e.workspace.pickLists().entries(3).contains(QStringLiteral("Andrzej Wajda, Łódź")));
}

TEST(EditWindow, PriceBoxesAreRewrittenWhenLeft)
{
    EditWindow e;
    e.open(EditMode::Add);
    e.line(f::ListPrice)->setFocus();
    e.type(f::ListPrice, QStringLiteral("1,234.5"));
    e.line(f::PurchPrice)->setFocus();
    EXPECT_EQ(e.line(f::ListPrice)->text(), QStringLiteral("1,234.50"));
    e.type(f::PurchPrice, QStringLiteral("$3"));
    e.line(f::ListPrice)->setFocus();
    EXPECT_EQ(e.line(f::PurchPrice)->text(), QStringLiteral("$3"));

    // Longer than the box once grouped: shown whole and written whole.
    e.type(f::Title, QStringLiteral("Dear"));
    e.type(f::ListPrice, QStringLiteral("12345678.95"));
    e.line(f::PurchPrice)->setFocus();
    EXPECT_EQ(e.line(f::ListPrice)->text(), QStringLiteral("12,345,678.95"));
    e.type(f::PurchPrice, QStringLiteral("0"));
    e.click("UpdateButton");
    EXPECT_EQ(e.current("ListPrice").trimmed(), QStringLiteral("12345678.95"));
    EXPECT_FALSE(e.window->ValuesChanged()) << "a long price is no change after the update";
}

TEST(EditWindow, EnterFollowsTheFixedOrderAcrossPages)
{
    EditWindow e;
    e.open(EditMode::Add);
    const struct {
        int from, to, page;
    } steps[] = {{f::Title, f::Star1, 1}, {10 /*ReleasedBy*/, 14 /*Category*/, 2},
                 {20 /*RecordSpeed*/, f::MediaNum, 3}, {f::CheckName, f::ListPrice, 4}, {40, f::Title, 1}};
    for (const auto &s : steps) {
        e.window->box(s.from)->setFocus();
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target, Qt::Key_Return);
        QWidget *now = QApplication::focusWidget();
        EXPECT_TRUE(now == e.window->box(s.to) || e.window->box(s.to)->isAncestorOf(now)) << s.from;
        EXPECT_EQ(e.window->currentPage(), s.page) << s.from;
    }
    EXPECT_TRUE(e.window->isVisible()) << "Enter never presses a button";
}

TEST(EditWindow, NextInAddModeAsksAndNoDropsWhatWasTyped)
{
    EditWindow e({QStringLiteral("First"), QStringLiteral("Second")});
    e.open(EditMode::Add, 0);
    e.type(f::Title, QStringLiteral("Typed"));
    e.prompt.answer(Answer::No);
    e.click("NextButton");
    ASSERT_EQ(e.prompt.shown().size(), 1u);
    const kvtest::Shown &asked = e.prompt.shown().front();
    EXPECT_EQ(asked.caption, QStringLiteral("Warning"));
    EXPECT_EQ(asked.text, QStringLiteral("This record has not been updated yet.  Update this record before moving "
                                         "to the next record?"));
    EXPECT_EQ(asked.buttons, kv::Buttons::YesNoCancel);
    EXPECT_EQ(asked.defaultAnswer, Answer::No);
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("Second"));
    EXPECT_EQ(e.window->editMode(), EditMode::Edit);
    EXPECT_EQ(e.titles(), (QStringList{"First", "Second"}));

    // Edit, nothing changed: no question.
    e.prompt.clear();
    e.click("PrevButton");
    EXPECT_TRUE(e.prompt.shown().empty());
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("First"));

    // Changed, Cancel: nothing happens; Yes: written, then moved.
    e.type(f::Title, QStringLiteral("First!"));
    e.prompt.answer(Answer::Cancel);
    e.click("NextButton");
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("First!"));
    e.prompt.answer(Answer::Yes);
    e.click("NextButton");
    EXPECT_EQ(e.titles(), (QStringList{"First!", "Second"}));
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("Second"));
}

TEST(EditWindow, CopyRecordInsideTheWindowMakesTheChangedValuesANewRecord)
{
    EditWindow e({QStringLiteral("Disk")});
    e.open(EditMode::Edit);
    e.type(f::Title, QStringLiteral("Changed"));
    e.prompt.answer(Answer::No);
    child<QAction>(e.window.get(), "MenuCopyRecord")->trigger();
    EXPECT_EQ(e.prompt.shown().back().text, QString::fromLatin1(kv::kCopyRecordQuestion));
    EXPECT_EQ(e.window->windowTitle(), QStringLiteral("Edit (New Copied Record)"));
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("Changed"));
    e.click("UpdateButton");
    EXPECT_EQ(e.titles(), (QStringList{"Disk", "Changed"}));

    child<QAction>(e.window.get(), "MenuNew")->trigger();
    EXPECT_EQ(e.window->windowTitle(), QStringLiteral("Edit (New Record)"));
    EXPECT_EQ(e.line(f::Title)->text(), QString());
    EXPECT_EQ(e.window->editMode(), EditMode::Add);
}

TEST(EditWindow, TickingCheckedOutBringsBackTheLastLoadedLending)
{
    EditWindow e({QStringLiteral("Lent")});
    kv::Table &t = e.workspace.master();
    t.first();
    t.edit();
    t.setFieldText(QStringLiteral("CheckOut"), QStringLiteral("Yes"));
    t.setFieldText(QStringLiteral("CheckName"), QStringLiteral("Ann"));
    t.setFieldText(QStringLiteral("CheckDate"), QStringLiteral("01/02/1997"));
    t.post();
    e.open(EditMode::Edit);
    auto *box = static_cast<QCheckBox *>(e.window->box(f::CheckOut));
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_EQ(e.combo(f::CheckName)->currentText(), QString());
    e.prompt.answer(Answer::No); // the untick is a change: not to be written
    child<QAction>(e.window.get(), "MenuNew")->trigger();
    box->click();
    EXPECT_EQ(e.combo(f::CheckName)->currentText(), QStringLiteral("Ann"));
    EXPECT_EQ(e.line(f::CheckDate)->text(), QStringLiteral("01/02/1997"));
}

TEST(EditWindow, TheCloseBoxAndEscapeLeaveAsExitDoes)
{
    EditWindow e({QStringLiteral("Kept")});
    for (const bool closeBox : {true, false}) {
        const auto leave = [&] {
            if (closeBox)
                e.window->close();
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        };
        SCOPED_TRACE(closeBox ? "close box" : "Escape");
        e.open(EditMode::Edit);
        leave();
        EXPECT_FALSE(e.window->isVisible()) << "nothing changed: no question";
        EXPECT_TRUE(e.prompt.shown().empty());

        e.open(EditMode::Edit);
        e.type(f::Title, QStringLiteral("Not written"));
        e.type(14, QStringLiteral("Never added"));
        e.prompt.answer(Answer::No);
        leave();
        ASSERT_TRUE(e.window->isVisible()) << "No stays";
        EXPECT_EQ(e.prompt.shown().back().text, QString::fromLatin1(kv::kExitQuestion));
        EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("Not written")) << "what was typed stays";
        e.prompt.answer(Answer::Yes);
        leave();
        EXPECT_FALSE(e.window->isVisible());
        EXPECT_EQ(e.titles(), QStringList{"Kept"});
        EXPECT_TRUE(QFile::exists(kv::catalogueListPath(e.workspace.paths().basePath, 6))) << "lists saved";
        EXPECT_FALSE(kv::readListFile(kv::catalogueListPath(e.workspace.paths().basePath, 6))
                         .contains(QStringLiteral("Never added")));
        e.prompt.clear();
    }
}

// The first value a list learns must not replace the values of the boxes that were
// empty-listed: Update twice on a record kept every drop-down value as it was.
TEST(EditWindow, UpdatesKeepEveryDropDownValueWhileTheirListsGrow)
{
    EditWindow e;
    std::vector<std::pair<const char *, QString>> values;
    std::vector<QByteArray> names;
    // Star3 ... Star6 stay empty, as on most records.
    for (const kv::EditBox &b : kv::editBoxes()) {
        if (b.kind == kv::BoxKind::DropDown && (b.field < f::Star1 + 2 || b.field > f::Star1 + 5))
            names.push_back(kv::fieldName(b.field).toLatin1());
    }
    for (const QByteArray &name : names)
        values.push_back({name.constData(), QString::fromLatin1(name).left(4) + QStringLiteral(" x")});
    values[0].second = QStringLiteral("Antonio Banderas");
    values[1].second = QStringLiteral("Audrey Tautou");
    values.push_back({"Title", QStringLiteral("Desperado")});
    {
        kv::Table &master = e.workspace.master();
        kv::Table t;
        t.setPath(master.filePath());
        master.close();
        t.open();
        addRecords(t, {values});
        t.close();
        master.open();
    }
    e.open(EditMode::Edit);
    e.click("UpdateButton");
    e.click("UpdateButton");
    for (const auto &[name, value] : values) {
        if (QByteArray(name) == "Title")
            continue;
        EXPECT_EQ(e.combo(kv::editBoxOf(kv::fieldNumber(QString::fromLatin1(name))).field)->currentText(), value)
            << name;
        EXPECT_EQ(e.current(name), value) << name;
    }
    for (const char *empty : {"Star3", "Star4", "Star5", "Star6"}) {
        EXPECT_EQ(e.current(empty), QString()) << empty;
        EXPECT_EQ(e.combo(kv::fieldNumber(QString::fromLatin1(empty)))->currentText(), QString()) << empty;
    }
}

// Enter, like Tab, selects the text of the box it moves to: typing replaces it, and a
// date is typed from the first place of its mask.
TEST(EditWindow, EnterSelectsTheTextOfTheNextBox)
{
    EditWindow e({QStringLiteral("A")});
    e.open(EditMode::Add);
    const struct {
        int from, to;
        const char *typed, *shown;
    } cases[] = {{22 /*CounterStop*/, f::RunTime, "122", "122"},
                 {f::CheckOut, f::CheckDate, "01021997", "01/02/1997"},
                 {f::CheckName, f::ListPrice, "12.5", "12.5"},
                 {f::ListPrice, f::PurchPrice, "7", "7"},
                 {f::PurchPrice, f::PurchDate, "03041998", "03/04/1998"},
                 {f::Title, f::Star1, "Z", "Z"}};
    e.combo(f::Star1)->setEditText(QStringLiteral("Old star"));
    for (const auto &c : cases) {
        e.window->box(c.from)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(c.typed));
        QWidget *box = e.window->box(c.to);
        const QString shown = box->inherits("QComboBox") ? e.combo(c.to)->currentText() : e.line(c.to)->displayText();
        EXPECT_EQ(shown, QString::fromLatin1(c.shown)) << c.to;
    }
    e.window->box(f::Title)->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Typed"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // past the box just typed into
    e.click("UpdateButton");
    EXPECT_EQ(e.current("RunTime").trimmed(), QStringLiteral("122"));
    EXPECT_EQ(e.current("CheckDate"), QStringLiteral("01/02/1997"));
    EXPECT_EQ(e.current("PurchDate"), QStringLiteral("03/04/1998"));
    EXPECT_EQ(e.current("Star1"), QStringLiteral("Z"));
}

// The window's commands win over the editing keys of the box that has the focus.
TEST(EditWindow, CommandKeysWorkFromInsideTheBoxes)
{
    kv::installCommandKeys(*qApp);
    EditWindow e({QStringLiteral("A"), QStringLiteral("B")});
    e.open(EditMode::Add);
    e.window->box(f::Title)->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Typed title"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_FALSE(e.window->isVisible()) << "Ctrl+U is Update & Exit";
    EXPECT_EQ(e.titles(), (QStringList{"A", "B", "Typed title"}));

    e.open(EditMode::Edit, 0);
    e.combo(f::Star1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(e.window->windowTitle(), QStringLiteral("Edit (New Record)"));
    e.line(f::Title)->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Kept text"));
    e.prompt.answer(Answer::Cancel);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(e.prompt.shown().back().caption, QStringLiteral("Warning")) << "Ctrl+N is Next";
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("Kept text"));
    // Plain editing keys stay the box's own.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("ept text"));
    e.prompt.answer(Answer::Yes);
    e.click("CancelButton");
}

TEST(EditWindow, ExitAsksOnlyWhenSomethingChanged)
{
    EditWindow e({QStringLiteral("A")});
    e.open(EditMode::Copy);
    e.click("CancelButton");
    EXPECT_FALSE(e.window->isVisible());
    EXPECT_TRUE(e.prompt.shown().empty());
    EXPECT_EQ(e.titles(), QStringList{"A"}) << "nothing written";

    e.open(EditMode::Edit);
    e.type(f::Title, QStringLiteral("B"));
    e.prompt.answer(Answer::No);
    e.click("CancelButton");
    EXPECT_TRUE(e.window->isVisible());
    EXPECT_EQ(e.prompt.shown().back().text, QString::fromLatin1(kv::kExitQuestion));
    EXPECT_EQ(e.prompt.shown().back().defaultAnswer, Answer::No);
    e.prompt.answer(Answer::Yes);
    e.click("CancelButton");
    EXPECT_FALSE(e.window->isVisible());
    EXPECT_EQ(e.titles(), QStringList{"A"});
}

TEST(EditWindow, BrowseOnlyShowsAndStepsWithoutQuestions)
{
    EditWindow e({QStringLiteral("One"), QStringLiteral("Two")});
    e.workspace.enterBrowseOnly();
    e.window = std::make_unique<kv::TMyEdit>(e.workspace);
    e.open(EditMode::Edit);
    for (const char *name : {"UpdateExitButton", "UpdateButton", "ClearButton"})
        EXPECT_FALSE(child<QPushButton>(e.window.get(), name)->isEnabled()) << name;
    EXPECT_FALSE(child<QAction>(e.window.get(), "MenuUpdate")->isEnabled());
    EXPECT_TRUE(child<QAction>(e.window.get(), "MenuCopyRecord")->isEnabled());
    for (const char *name : {"SelectOscarAward", "SelectOscarNom", "SelectMisc"})
        EXPECT_TRUE(child<QPushButton>(e.window.get(), name)->isEnabled()) << name << ": picking changes no record";
    e.type(f::Title, QStringLiteral("typed"));
    e.click("NextButton");
    EXPECT_EQ(e.line(f::Title)->text(), QStringLiteral("Two"));
    e.type(f::Title, QStringLiteral("typed"));
    e.click("CancelButton");
    EXPECT_FALSE(e.window->isVisible());
    EXPECT_TRUE(e.prompt.shown().empty());
}

TEST(EditWindow, TheMainWindowAddsEditsAndCopiesThroughIt)
{
    kvtest::ScriptedPrompt prompt;
    const QString path = catalogueWith(QStringLiteral("MAIN.DBF"), {QStringLiteral("Alien")});
    kv::Settings s;
    s.lastDatabase = path;
    kv::writeSettings(kv::programSettingsPath(), kv::SettingsScope::Program, s);
    auto main = startMain(prompt);
    main->show();
    ASSERT_NE(main->editWindow(), nullptr);
    for (const char *name : {"MenuAdd", "MenuEdit", "MenuCopy", "SpeedAdd", "SpeedEdit", "SpeedCopy"})
        EXPECT_TRUE(child<QObject>(main.get(), name)->property("enabled").toBool()) << name;

    kv::ColorSet &colors = main->workspace().settings().colorSet(kv::WindowFamily::Edit);
    colors[kv::ColorRole::MinorTitle] = QColor(Qt::darkRed);
    colors[kv::ColorRole::ComboBackground] = QColor(Qt::yellow);
    colors[kv::ColorRole::EditBackground] = QColor(Qt::cyan);
    whenShown<kv::TMyEdit>([&colors](kv::TMyEdit &w) {
        EXPECT_EQ(w.editMode(), EditMode::Add);
        // The edit window's colour set: field labels in the minor title colour, the
        // writers' box in the drop-downs' colours.
        EXPECT_EQ(child<QLabel>(&w, "TitleLabel")->palette().color(QPalette::WindowText),
                  colors[kv::ColorRole::MinorTitle]);
        EXPECT_EQ(w.box(38)->palette().color(QPalette::Base), colors[kv::ColorRole::ComboBackground]);
        EXPECT_EQ(w.box(f::Title)->palette().color(QPalette::Base), colors[kv::ColorRole::EditBackground]);
        QTest::keyClicks(w.box(f::Title), QStringLiteral("Brazil"));
        w.DoUpdateAndExit();
    });
    main->DoAdd();
    EXPECT_EQ(countText(*main), QStringLiteral("2"));

    whenShown<kv::TMyEdit>([](kv::TMyEdit &w) {
        EXPECT_EQ(w.editMode(), EditMode::Copy);
        EXPECT_FALSE(static_cast<QLineEdit *>(w.box(f::Title))->text().isEmpty());
        w.DoUpdateAndExit();
    });
    main->DoCopy();
    EXPECT_EQ(countText(*main), QStringLiteral("3"));

    // A double-click in the viewer edits the record.
    whenShown<kv::TMyEdit>([](kv::TMyEdit &w) {
        EXPECT_EQ(w.editMode(), EditMode::Edit);
        w.close();
    });
    Q_EMIT main->viewerGrid()->editRequested();
    EXPECT_TRUE(prompt.messages().isEmpty());
    main->close();
}

} // namespace
