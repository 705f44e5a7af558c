// The command table: menus, both button bars, enabling and dispatch made from rows, with
// a row that changes data locked in browse-only mode and a row with a condition of its own.
#include "app/ui/commandtable.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct Table {
    QMainWindow window;
    QWidget panel, client;
    QStringList ran;
    bool searching = false;
    kv::CommandTable *table = nullptr;

    Table()
    {
        using kv::CommandRow;
        std::vector<CommandRow> rows;
        CommandRow records{nullptr, QStringLiteral("Rec&ords"), "", {}, {}};
        records.subMenu = "MenuRecords";
        rows.push_back(records);
        CommandRow add{"MenuAdd", QStringLiteral("&Add"), "MenuRecords", QKeySequence(Qt::CTRL | Qt::Key_A),
                       [this] { ran << QStringLiteral("add"); }};
        add.changesData = true;
        add.speed = kv::SpeedButtonSpec{"SpeedAdd", "Add Record", QIcon(), true};
        add.lettered = kv::LetteredButtonSpec{"AddButton", "&Add", {12, 12, 75, 26}, 2};
        rows.push_back(add);
        CommandRow end{"MenuEndSearch", QStringLiteral("&End Search"), "MenuRecords", {},
                       [this] { ran << QStringLiteral("end"); }};
        end.separatorBefore = true;
        end.available = [this] { return searching; };
        end.speed = kv::SpeedButtonSpec{"SpeedEndSearch", "End Search", QIcon()};
        end.lettered = kv::LetteredButtonSpec{"EndSearchButton", "E&nd Srch", {174, 46, 74, 26}, 1};
        rows.push_back(end);
        rows.push_back({"MenuViewer", QStringLiteral("&Viewer"), "", QKeySequence(Qt::CTRL | Qt::Key_V),
                        [this] { ran << QStringLiteral("viewer"); }});
        table = new kv::CommandTable(std::move(rows), &window);
        table->buildMenus();
        table->buildSpeedButtons(&panel);
        letteredButtons = table->buildLetteredButtons(&client);
    }
    template <typename T> T *find(QObject &parent, const char *name)
    {
        return parent.findChild<T *>(QString::fromLatin1(name));
    }
    std::vector<QPushButton *> letteredButtons;
};

} // namespace

TEST(CommandTable, MenusAndBothButtonBarsComeFromTheRows)
{
    Table t;
    QMenu *records = t.table->menu("MenuRecords");
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->title(), QStringLiteral("Rec&ords"));
    const QList<QAction *> items = records->actions();
    ASSERT_EQ(items.size(), 3); // Add, a separator, End Search
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("MenuAdd"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_TRUE(items[1]->isSeparator());
    // An item of the menu bar itself, whose key the window owns too.
    QAction *viewer = t.table->action("MenuViewer");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(t.window.menuBar()->actions().contains(viewer));
    EXPECT_TRUE(t.window.actions().contains(viewer));

    // Speed buttons left to right, a group's gap before Add; lettered buttons in their order.
    auto *speedAdd = t.find<QToolButton>(t.panel, "SpeedAdd");
    auto *speedEnd = t.find<QToolButton>(t.panel, "SpeedEndSearch");
    ASSERT_TRUE(speedAdd && speedEnd);
    EXPECT_EQ(speedAdd->geometry(), QRect(8, 4, 23, 23));
    EXPECT_EQ(speedEnd->geometry(), QRect(31, 4, 23, 23));
    EXPECT_EQ(speedAdd->toolTip(), QStringLiteral("Add Record"));
    ASSERT_EQ(t.letteredButtons.size(), 2u);
    EXPECT_EQ(t.letteredButtons[0]->objectName(), QStringLiteral("EndSearchButton"));
    EXPECT_EQ(t.letteredButtons[1]->geometry(), QRect(12, 12, 75, 26));
}

TEST(CommandTable, EveryWayToACommandRunsItOnceAndOnlyWhenItCanRun)
{
    Table t;
    t.table->refresh(false, true);
    t.table->action("MenuAdd")->trigger();
    t.find<QToolButton>(t.panel, "SpeedAdd")->click();
    t.find<QPushButton>(t.client, "AddButton")->click();
    t.table->run("MenuAdd");
    EXPECT_EQ(t.ran.join(QLatin1Char(' ')), QStringLiteral("add add add add"));

    // End Search only while a search is on, whoever asks.
    t.ran.clear();
    EXPECT_FALSE(t.table->action("MenuEndSearch")->isEnabled());
    t.table->run("MenuEndSearch");
    EXPECT_TRUE(t.ran.isEmpty());
    t.searching = true;
    t.table->refresh(false, true);
    EXPECT_TRUE(t.find<QToolButton>(t.panel, "SpeedEndSearch")->isEnabled());
    t.table->run("MenuEndSearch");
    EXPECT_EQ(t.ran, QStringList{QStringLiteral("end")});

    // Browse-only mode locks what changes data, everywhere, and says so to the tests of
    // the windows; lettered buttons work only while they are the bar.
    t.ran.clear();
    t.table->refresh(true, false);
    for (QObject *o : std::initializer_list<QObject *>{t.table->action("MenuAdd"), t.find<QToolButton>(t.panel, "SpeedAdd"),
                                                        t.find<QPushButton>(t.client, "AddButton")}) {
        EXPECT_FALSE(o->property("enabled").toBool()) << o->objectName().toStdString();
        EXPECT_TRUE(o->property("kvBrowseLocked").toBool()) << o->objectName().toStdString();
    }
    t.table->run("MenuAdd");
    EXPECT_TRUE(t.ran.isEmpty());
    EXPECT_TRUE(t.table->action("MenuViewer")->isEnabled());
    EXPECT_FALSE(t.find<QPushButton>(t.client, "EndSearchButton")->isEnabled());
}
