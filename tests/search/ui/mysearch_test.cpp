// The Search window on the offscreen platform, alone and from the main window.
#include "app/ui/mainwindowfixture.h"
#include "edit/recordform.h"
#include "search/ui/mysearch.h"
#include "search/ui/searchoptionsdialog.h"
#include "workspacefixture.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

const std::vector<std::vector<std::pair<const char *, QString>>> kVideos = {
    {{"Title", "Twister"}, {"Year", "1990"}, {"Category", "Action"}},
    {{"Title", "Casino"}, {"Year", "1991"}, {"Category", "Crime"}},
    {{"Title", "Braveheart"}, {"Year", "1994"}, {"Category", "Epic"}},
    {{"Title", "Heat"}, {"Year", "1995"}, {"Category", "Crime"}},
};

// Types into a criterion cell as a person does: the cell's editor opens, keys go in.
QLineEdit *typeInto(QTableWidget *grid, int field, const QString &keys, int cursor = -1)
{
    grid->setCurrentCell(field - 1, 2); // the cell's editor opens as the cell becomes current
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed editors go
    QLineEdit *editor = nullptr;
    for (QLineEdit *e : grid->findChildren<QLineEdit *>())
        if (e->isVisible())
            editor = e;
    EXPECT_NE(editor, nullptr);
    if (!editor)
        return nullptr;
    if (cursor >= 0)
        editor->setCursorPosition(cursor);
    QTest::keyClicks(editor, keys);
    return editor;
}

// Chooses an entry of the Search Options dialog that a click on a row's button opens.
void chooseOption(kv::TMySearch &window, int field, int entry, QString *caption = nullptr,
                  QStringList *items = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<kv::TSearchOptions *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("OptionList"));
        if (caption)
            *caption = dialog->findChild<QLabel *>(QStringLiteral("FieldLabel"))->text();
        if (items)
            for (int i = 0; i < list->count(); ++i)
                *items << list->item(i)->text();
        list->setCurrentRow(entry);
        dialog->findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    });
    window.openOptions(field);
}

struct SearchWindow : ::testing::Test {
    kvtest::WorkspaceFixture f;
    std::unique_ptr<kv::TMySearch> window;
    QTableWidget *grid = nullptr;

    void SetUp() override
    {
        f.workspace.master().setPath(newCatalogue());
        ASSERT_TRUE(f.workspace.openMaster());
        addRecords(f.workspace.master(), kVideos);
        for (int n = 1; n <= kv::kFieldCount; ++n)
            f.settings.field(n).caption = kv::defaultCaption(n);
        f.settings.field(11).caption = QStringLiteral("Released");
        window = std::make_unique<kv::TMySearch>(f.workspace);
        window->show();
        grid = window->findChild<QTableWidget *>(QStringLiteral("SearchGrid"));
    }
    QPushButton *button(const char *name) { return window->findChild<QPushButton *>(QString::fromLatin1(name)); }
};

TEST_F(SearchWindow, ARangeChosenInTheOptionsIsTypedInItsMaskAndLeavesOutItsBounds)
{
    EXPECT_EQ(grid->item(10, 0)->text(), " Released");
    EXPECT_EQ(grid->item(10, 1)->text(), "...");
    EXPECT_EQ(grid->item(0, 1)->text(), "") << "Title has no options";
    QString caption;
    QStringList items;
    chooseOption(*window, 11, 3, &caption, &items);
    EXPECT_EQ(caption, "Released");
    EXPECT_EQ(items, (QStringList{" = ", " > ", " < ", " > X < "}));
    QLineEdit *editor = typeInto(grid, 11, QStringLiteral("1990"));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->inputMask().left(4), "\\> x");
    typeInto(grid, 11, QStringLiteral("1995"), 18);
    EXPECT_EQ(grid->item(10, 2)->text(), "> 1990      AND < 1995    ");
    button("OkButton")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(f.workspace.search().isOn());
    EXPECT_EQ(column(f.workspace.master(), "Title"), (QStringList{"Casino", "Braveheart"}));
    EXPECT_TRUE(f.prompt.messages().isEmpty());
}

TEST_F(SearchWindow, SteppingThroughNumericAndDateRowsLeavesTheirCellsEmpty)
{
    for (const int field : {11, 12, 28, 32, 1}) // Year, RunTime, ListPrice, CheckDate, Title
        grid->setCurrentCell(field - 1, 2);
    for (const int field : {11, 12, 28, 32})
        EXPECT_EQ(grid->item(field - 1, 2)->text(), QString()) << field;
    typeInto(grid, 12, QStringLiteral("90"));
    grid->setCurrentCell(0, 2);
    EXPECT_EQ(grid->item(11, 2)->text().simplified(), QStringLiteral("= 90")) << "what was typed stays";
}

// Keys typed as the window opens go into the Title criterion; Tab and Shift+Tab keep to
// the criterion column.
TEST_F(SearchWindow, TypingGoesStraightIntoTheCriteriaAndTabStaysInTheirColumn)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("vertigo"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("vertigo"));
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Stewart"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("Stewart"));
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), 2);
}

TEST_F(SearchWindow, APickListRowTakesTheChosenEntryAndRefusalsKeepTheWindowOpen)
{
    f.workspace.pickLists().list(kv::editBoxOf(14).list).setEntries({QStringLiteral("Action"), QStringLiteral("Crime")});
    chooseOption(*window, 14, 1);
    EXPECT_EQ(grid->item(13, 2)->text(), "Crime");
    EXPECT_EQ(grid->currentRow(), 13);

    typeInto(grid, 12, QStringLiteral("abc"));
    button("OkButton")->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(f.prompt.messages(), QStringList{"Error: Invalid search criteria entered.  Please correct."});
    EXPECT_EQ(grid->currentRow(), 11);
    EXPECT_FALSE(f.workspace.search().isOn());

    f.prompt.clear();
    button("ClearButton")->click();
    typeInto(grid, 1, QStringLiteral("nothing like it"));
    button("OkButton")->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(f.prompt.messages(), QStringList{"Notice: No valid matches found.  Search Criteria will be cleared."});
    EXPECT_EQ(grid->item(0, 2)->text(), "");
    EXPECT_FALSE(f.workspace.search().isOn());
}

TEST_F(SearchWindow, FindMoreShowsTheLevelAndStopsAtTen)
{
    for (int level = 1; level < 10; ++level) {
        typeInto(grid, 1, QStringLiteral("a"));
        button("FindMoreButton")->click();
    }
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), " SEARCH CRITERIA    (Level 10)");
    EXPECT_FALSE(button("FindMoreButton")->isEnabled());
    EXPECT_EQ(grid->item(0, 2)->text(), "");
    button("ClearButton")->click();
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), " SEARCH CRITERIA    (Level 1)");
    EXPECT_TRUE(button("FindMoreButton")->isEnabled());
}

TEST(SearchFromTheMainWindow, OkTurnsTheSearchOnAndEndSearchTurnsItOff)
{
    kvtest::ScriptedPrompt prompt;
    setProgramValue("Last Database", catalogueWith(QStringLiteral("A.DBF"), {"Heat", "Alien", "Aliens"}));
    MainPtr main = startMain(prompt);
    main->show();
    auto *endSearch = child<QAction>(main.get(), "MenuEndSearch");
    auto *label = child<QLabel>(main.get(), "SearchOnLabel");
    EXPECT_FALSE(endSearch->isEnabled());
    whenShown<kv::TMySearch>([](kv::TMySearch &window) {
        typeInto(window.findChild<QTableWidget *>(QStringLiteral("SearchGrid")), 1, QStringLiteral("ALIEN"));
        window.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
    });
    child<QAction>(main.get(), "MenuSearch")->trigger();
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(endSearch->isEnabled());
    EXPECT_TRUE(child<QToolButton>(main.get(), "SpeedEndSearch")->isEnabled());
    EXPECT_TRUE(countText(*main).contains(QLatin1Char('2'))) << countText(*main).toStdString();
    endSearch->trigger();
    EXPECT_FALSE(label->isVisible());
    EXPECT_FALSE(endSearch->isEnabled());
    EXPECT_FALSE(child<QToolButton>(main.get(), "SpeedEndSearch")->isEnabled());
    EXPECT_TRUE(countText(*main).contains(QLatin1Char('3'))) << countText(*main).toStdString();
}

} // namespace
