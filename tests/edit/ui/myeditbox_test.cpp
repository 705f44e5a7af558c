// The list editor opened from the main window's "List Maintenance" items, on the
// offscreen platform, the prompt answering.
#include "edit/ui/myeditbox.h"

#include "app/ui/mainwindowfixture.h"
#include "app/ui/viewergrid.h"
#include "edit/listfile.h"
#include "edit/ui/myedit.h"
#include "scriptedprompt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using kv::Answer;
using kv::TMyEditBox;

namespace {

QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char('|')); }

struct ListMaintenance {
    kvtest::ScriptedPrompt prompt;
    MainPtr main = startMain(prompt);
    kv::PickLists &lists = main->workspace().pickLists();

    ListMaintenance() { main->show(); }
    ~ListMaintenance() { main->close(); }

    QString base() const { return main->workspace().paths().basePath; }
    QByteArray file(int n) const { return kvtest::readFile(kv::catalogueListPath(base(), n)); }
    // Runs a "List Maintenance" item; act answers the editor once it is shown.
    void edit(const char *item, std::function<void(TMyEditBox &)> act)
    {
        whenShown<TMyEditBox>([act](TMyEditBox &box) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
            act(box);
        });
        child<QAction>(main.get(), item)->trigger();
    }
};

QListWidget *theList(TMyEditBox &box) { return child<QListWidget>(&box, "TheList"); }
QLineEdit *addInfo(TMyEditBox &box) { return child<QLineEdit>(&box, "AddInfo"); }

QStringList shown(TMyEditBox &box)
{
    QStringList entries;
    for (int row = 0; row < theList(box)->count(); ++row)
        entries << theList(box)->item(row)->text();
    return entries;
}

int selectedRow(TMyEditBox &box)
{
    const QList<QListWidgetItem *> items = theList(box)->selectedItems();
    return items.isEmpty() ? -1 : theList(box)->row(items.first());
}

// Presses Tab until the focus is in target (once round the dialog at most).
bool tabTo(QWidget *target)
{
    for (int i = 0; i < 8 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

void click(TMyEditBox &box, const char *button) { QTest::mouseClick(child<QPushButton>(&box, button), Qt::LeftButton); }

void add(TMyEditBox &box, const QString &text)
{
    addInfo(box)->clear();
    QTest::keyClicks(addInfo(box), text);
    click(box, "AddButton");
}

TEST(ListEditor, OpensOnItsListWithCaptionLimitFocusTabOrderAndHelp)
{
    ListMaintenance t;
    t.lists.list(16).setEntries(words("Video Shack|Mall"));
    t.edit("MenuMaintainWherePurch", [](TMyEditBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Edit \"Where Purchase\" List"));
        EXPECT_EQ(box.size(), QSize(262, 442)) << "the design size at the 640 x 480 screen size";
        EXPECT_EQ(addInfo(box)->maxLength(), 25);
        EXPECT_TRUE(addInfo(box)->text().isEmpty());
        EXPECT_EQ(shown(box), words("Video Shack|Mall"));
        EXPECT_EQ(QApplication::focusWidget(), theList(box));
        EXPECT_EQ(selectedRow(box), 0);
        EXPECT_EQ(kv::helpKeyword(&box), QStringLiteral("List Editor"));
        QStringList order;
        addInfo(box)->setFocus();
        for (int i = 0; i < 7; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(order, words("AddInfo|AddButton|TheList|DeleteButton|OkButton|CancelButton|SortButton"));
        EXPECT_EQ(QApplication::focusWidget(), addInfo(box)) << "and round again";
    });
    t.lists.list(12).setEntries({});
    t.edit("MenuMaintainRecSpeed", [](TMyEditBox &box) {
        EXPECT_EQ(addInfo(box)->maxLength(), 6);
        EXPECT_EQ(selectedRow(box), -1) << "an empty list has nothing to select";
    });
    t.edit("MenuMaintainOscars", [](TMyEditBox &box) { EXPECT_EQ(addInfo(box)->maxLength(), 110); });
    EXPECT_TRUE(t.prompt.shown().empty());
}

TEST(ListEditor, TakesTheConfigurationWindowsColours)
{
    ListMaintenance t;
    kv::ColorSet &colors = t.main->workspace().settings().colorSet(kv::WindowFamily::Configure);
    colors[kv::ColorRole::MainBackground] = QColor(Qt::darkGreen);
    colors[kv::ColorRole::EditBackground] = QColor(Qt::cyan);
    colors[kv::ColorRole::EditText] = QColor(Qt::darkBlue);
    colors[kv::ColorRole::ListBoxBackground] = QColor(Qt::yellow);
    colors[kv::ColorRole::ListBoxText] = QColor(Qt::darkRed);
    t.edit("MenuMaintainProducer", [&colors](TMyEditBox &box) {
        EXPECT_EQ(box.palette().color(QPalette::Window), colors[kv::ColorRole::MainBackground]);
        EXPECT_EQ(addInfo(box)->palette().color(QPalette::Base), colors[kv::ColorRole::EditBackground]);
        EXPECT_EQ(addInfo(box)->palette().color(QPalette::Text), colors[kv::ColorRole::EditText]);
        EXPECT_EQ(theList(box)->palette().color(QPalette::Base), colors[kv::ColorRole::ListBoxBackground]);
        EXPECT_EQ(theList(box)->palette().color(QPalette::Text), colors[kv::ColorRole::ListBoxText]);
    });
}

TEST(ListEditor, AddDeleteAndSortShowTheirSelection)
{
    ListMaintenance t;
    t.lists.list(6).setEntries(words("Drama|Western|Comedy"));
    t.edit("MenuMaintainCategory", [&t](TMyEditBox &box) {
        add(box, QStringLiteral("  Horror "));
        add(box, QStringLiteral("Horror"));
        add(box, QStringLiteral("     "));
        EXPECT_EQ(shown(box), words("Drama|Western|Comedy|Horror|Horror")) << "two equal entries, no blank one";
        EXPECT_TRUE(addInfo(box)->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), addInfo(box));

        theList(box)->setCurrentRow(4);
        click(box, "DeleteButton");
        EXPECT_EQ(shown(box), words("Drama|Western|Comedy|Horror"));
        EXPECT_EQ(selectedRow(box), 3) << "the last went: the one before";
        theList(box)->setCurrentRow(1);
        click(box, "DeleteButton");
        EXPECT_EQ(selectedRow(box), 1) << "the one now in its place";
        EXPECT_EQ(theList(box)->item(1)->text(), QStringLiteral("Comedy"));

        t.prompt.answer(Answer::Yes);
        click(box, "SortButton");
        EXPECT_EQ(t.prompt.shown().back().caption, QStringLiteral("Confirm"));
        EXPECT_EQ(shown(box), words("Comedy|Drama|Horror"));
        EXPECT_EQ(theList(box)->item(selectedRow(box))->text(), QStringLiteral("Comedy"));
        add(box, QStringLiteral("Action"));
        EXPECT_EQ(shown(box), words("Comedy|Drama|Horror|Action")) << "after a sort, additions go to the end";
        EXPECT_EQ(box.working().entries(), shown(box));
    });
    EXPECT_TRUE(t.prompt.allAnswersUsed());
}

TEST(ListEditor, DeletingTheOnlyEntryLeavesNoSelectionAndDeleteThenDoesNothing)
{
    ListMaintenance t;
    t.lists.list(7).setEntries(words("Color"));
    t.edit("MenuMaintainPicture", [](TMyEditBox &box) {
        click(box, "DeleteButton");
        EXPECT_TRUE(shown(box).isEmpty());
        EXPECT_EQ(selectedRow(box), -1);
        click(box, "DeleteButton");
        EXPECT_TRUE(shown(box).isEmpty());
        click(box, "OkButton");
    });
    EXPECT_TRUE(t.lists.entries(7).isEmpty());
    EXPECT_EQ(t.file(7), QByteArray());
}

TEST(ListEditor, FromTheKeyboardTheStarListReachesAllTwelveStarControls)
{
    ListMaintenance t;
    t.lists.list(2).setEntries(words("Cary Grant|Audrey Hepburn"));
    t.lists.list(1).add(QStringLiteral("Added Earlier"));
    t.edit("MenuMaintainStars", [&t](TMyEditBox &box) {
        // A mnemonic presses its button the way a click does, a moment later.
        QTest::keyClick(&box, Qt::Key_A, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&box] { return QApplication::focusWidget() == addInfo(box); }))
            << "Add puts the focus into the entry box";
        EXPECT_EQ(shown(box), words("Cary Grant|Audrey Hepburn")) << "with the entry box empty, it adds nothing";
        QTest::keyClicks(addInfo(box), QStringLiteral("Grace Kelly"));
        QTest::keyClick(addInfo(box), Qt::Key_Return); // Enter in the entry box adds
        EXPECT_TRUE(box.isVisible());
        QTest::keyClicks(addInfo(box), QStringLiteral("Anna Karina"));
        QTest::keyClick(addInfo(box), Qt::Key_Enter);
        t.prompt.answer(Answer::Yes);
        QTest::keyClick(&box, Qt::Key_S, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&t] { return t.prompt.allAnswersUsed(); }));
        EXPECT_EQ(shown(box), words("Anna Karina|Audrey Hepburn|Cary Grant|Grace Kelly"));
        ASSERT_TRUE(tabTo(theList(box)));
        QTest::keyClick(theList(box), Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_D, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&box] { return shown(box).size() == 3; }));
        EXPECT_EQ(shown(box), words("Audrey Hepburn|Cary Grant|Grace Kelly"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Ok is the default button
        EXPECT_FALSE(box.isVisible());
    });
    const QStringList stars = words("Audrey Hepburn|Cary Grant|Grace Kelly");
    EXPECT_EQ(t.lists.entries(2), stars);
    kv::TMyEdit *edit = t.main->editWindow();
    for (int field = kv::fields::Star1; field < kv::fields::Star1 + 6; ++field) {
        auto *combo = static_cast<QComboBox *>(edit->box(field));
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, stars) << "edit window star " << field - 1;
    }
    EXPECT_EQ(t.main->viewerGrid()->pickList(2), stars) << "the viewer's six star combos";
    EXPECT_EQ(t.file(2), QByteArray("Audrey Hepburn\r\nCary Grant\r\nGrace Kelly\r\n"));
    EXPECT_TRUE(t.file(1).endsWith("Added Earlier\r\n")) << "all fifteen lists are written";
    EXPECT_TRUE(t.prompt.allAnswersUsed());
}

TEST(ListEditor, CancelAfterChangesLeavesListAndFileAsTheyWere)
{
    ListMaintenance t;
    t.lists.list(3).setEntries(words("Hitchcock|Ford"));
    t.lists.SaveAllLists(t.base());
    const QByteArray before = t.file(3);
    const char *const ways[] = {"CancelButton", "Escape", "close box"};
    for (const char *way : ways) {
        t.edit("MenuMaintainDirector", [way](TMyEditBox &box) {
            add(box, QStringLiteral("Hawks"));
            click(box, "DeleteButton");
            if (QByteArray(way) == "Escape")
                QTest::keyClick(theList(box), Qt::Key_Escape);
            else if (QByteArray(way) == "close box")
                box.close();
            else
                click(box, way);
            EXPECT_FALSE(box.isVisible()) << way;
        });
        EXPECT_EQ(t.lists.entries(3), words("Hitchcock|Ford")) << way;
        EXPECT_EQ(t.file(3), before) << way;
    }
    EXPECT_TRUE(t.prompt.shown().empty());
}

TEST(ListEditor, TheOscarListComesFromItsFileAndGoesBackWithTheCatalogueLists)
{
    ListMaintenance t;
    const QString oscars = inProgramDir(QStringLiteral("OSCAR.LST"));
    kvtest::writeFile(oscars, "Best Picture\r\n\r\n   \r\nBest Sound\r\n");
    t.lists.list(5).add(QStringLiteral("Director's Rating"));
    t.edit("MenuMaintainOscars", [](TMyEditBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Edit \"Oscar Names\" List"));
        EXPECT_EQ(shown(box), words("Best Picture|Best Sound"));
        add(box, QStringLiteral("Best Director"));
        click(box, "OkButton");
    });
    EXPECT_EQ(kvtest::readFile(oscars), QByteArray("Best Picture\r\nBest Sound\r\nBest Director\r\n"));
    EXPECT_TRUE(t.file(5).endsWith("Director's Rating\r\n")) << "the catalogue lists are written too";

    QFile::remove(inProgramDir(QStringLiteral("MISC.LST")));
    t.edit("MenuMaintainMisc", [](TMyEditBox &box) {
        EXPECT_TRUE(shown(box).isEmpty()) << "a missing file gives an empty list";
        EXPECT_EQ(addInfo(box)->maxLength(), 25);
        add(box, QStringLiteral("Widescreen"));
        click(box, "OkButton");
    });
    EXPECT_EQ(kvtest::readFile(inProgramDir(QStringLiteral("MISC.LST"))), QByteArray("Widescreen\r\n"));
}

TEST(ListEditor, TheMenuIsLockedInBrowseOnlyMode)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt, {QStringLiteral("/BROWSE")});
    main->show();
    EXPECT_FALSE(child<QMenu>(main.get(), "ListMaintenanceMenu")->menuAction()->isEnabled());
    main->close();
}

} // namespace
