// The main window on the offscreen platform: start-up, the commands, the button bar,
// the last files, browse-only mode and close.
#include "app/ui/mainwindow.h"
#include "mainwindowfixture.h"

#include "base/paths.h"
#include "app/settings/profilefile.h"
#include "app/ui/navigator.h"
#include "app/ui/viewergrid.h"
#include "resources/helptopics.h"
#include "scriptedprompt.h"
#include "app/workspace/workspace.h"
#include "testenv.h"
#include "store/storetest.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using kv::Answer;
using kv::TMain;


TEST(MainWindow, FirstStartMakesTheDefaultCatalogueAndCloseWritesBothSettingsFiles)
{
    kvtest::ScriptedPrompt prompt;
    int tips = 0;
    auto main = startMain(prompt);
    // The tip window's "Show Tips at Startup" box cleared.
    main->setTipWindow([&tips](QWidget *, const kv::TipsState &state) {
        ++tips;
        return kv::TipsState{false, state.nextTip};
    });
    ASSERT_TRUE(main->started());
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    EXPECT_EQ(tips, 1) << "the tip of the day at the first activation";

    EXPECT_EQ(main->pos(), QPoint(0, 0));
    EXPECT_EQ(main->size(), QSize(640, 480));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestrova Videos 97 (MASTER)"));
    EXPECT_EQ(child<QLabel>(main.get(), "ViewerLabel")->text(), QStringLiteral("Video Viewer"));
    EXPECT_EQ(countText(*main), QStringLiteral("0"));
    EXPECT_EQ(child<QLabel>(main.get(), "Count2Label")->text(), QStringLiteral("Videos"));
    EXPECT_FALSE(child<QLabel>(main.get(), "SearchOnLabel")->isVisible());
    EXPECT_TRUE(QFileInfo::exists(inProgramDir(QStringLiteral("MASTER.DBF"))));
    EXPECT_TRUE(QFileInfo::exists(inProgramDir(QStringLiteral("QVRVID.URP"))));
    EXPECT_TRUE(QFileInfo::exists(inProgramDir(QStringLiteral("STAR.LST"))));
    EXPECT_FALSE(QFileInfo::exists(inProgramDir(QStringLiteral("MASTER.INI"))));

    child<QAction>(main.get(), "MenuExit")->trigger();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(QFileInfo::exists(inProgramDir(QStringLiteral("MASTER.INI"))));
    EXPECT_EQ(programValue("Last Database"), inProgramDir(QStringLiteral("MASTER.DBF")));
    EXPECT_EQ(programValue("Main Window Width"), QStringLiteral("640"));
    EXPECT_EQ(programValue("Show Tips"), QStringLiteral("No"));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.messages().join(QLatin1Char('\n')).toStdString();
}

TEST(MainWindow, TheTipOfTheDayGoesOnFromOneStartToTheNext)
{
    kvtest::ScriptedPrompt prompt;
    setProgramValue("Next Tip", QStringLiteral("5"));
    QList<int> given;
    for (int start = 0; start < 2; ++start) {
        auto main = startMain(prompt);
        main->setTipWindow([&given](QWidget *, const kv::TipsState &state) {
            given << state.nextTip;
            return kv::TipsState{state.showAtStartup, state.nextTip + 2};
        });
        ASSERT_TRUE(main->started());
        main->show();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        main->close();
    }
    EXPECT_EQ(given, (QList<int>{5, 7}));
    EXPECT_EQ(programValue("Next Tip"), QStringLiteral("9"));
}

TEST(MainWindow, F1OpensTheTopicOfTheWindowInFront)
{
    kvtest::ScriptedPrompt prompt;
    kv::installHelpKey(*qApp);
    auto main = startMain(prompt);
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    const auto helpTopic = [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("HelpWindow"))
                if (auto *browser = w->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser")))
                    return browser->source();
        return QUrl();
    };
    QTest::keyClick(main->viewerGrid(), Qt::Key_F1);
    EXPECT_EQ(helpTopic(), kv::helpTopicUrl(QStringLiteral("Main Window")));

    // The Sort Order dialog in front: its own topic.
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_F1);
        EXPECT_EQ(helpTopic(), kv::helpTopicUrl(QStringLiteral("Sort Order")));
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("HelpWindow"))
                w->close();
        dialog->close();
    });
    child<QAction>(main.get(), "MenuSortOrder")->trigger();
}

TEST(MainWindow, ADeletedLastCatalogueOpensMasterWithoutAMessage)
{
    kvtest::ScriptedPrompt prompt;
    setProgramValue("Last Database", kvtest::tempPath(QStringLiteral("GONE.DBF")));
    setProgramValue("Show Tips", QStringLiteral("No"));
    int tips = 0;
    auto main = startMain(prompt, {}, &tips);
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    EXPECT_EQ(main->workspace().paths().path, inProgramDir(QStringLiteral("MASTER.DBF")));
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(tips, 0);
}

TEST(MainWindow, MenusCarryTheirCaptionsAndShortcuts)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    const struct {
        const char *name;
        const char *caption;
        const char *shortcut;
        bool enabled;
    } items[] = {
        {"MenuNew", "&New Database", "Ctrl+W", true},      {"MenuOpen", "&Open Database", "Ctrl+O", true},
        {"MenuUpdateDatabase", "&Update Database", "Ctrl+Z", true},
        {"MenuBackup", "&Back Up Data", "Ctrl+B", true},   {"MenuRestore", "&Restore Data", "Ctrl+Y", true},
        {"MenuPrint", "&Print", "Ctrl+P", true},           {"MenuExit", "E&xit", "Ctrl+X", true},
        {"MenuAdd", "&Add", "Ctrl+A", true},               {"MenuEdit", "&Edit", "Ctrl+E", true},
        {"MenuCopy", "&Copy", "Ctrl+C", true},             {"MenuDelete", "&Delete", "Ctrl+D", true},
        {"MenuImport", "&Import", "Ctrl+M", true},         {"MenuExport", "E&xport", "Ctrl+T", true},
        {"MenuSearch", "&Search (Query)", "Ctrl+S", true}, {"MenuEndSearch", "&End Search", "Ctrl+I", false},
        {"MenuLocate", "&Locate", "Ctrl+L", true},         {"MenuLocateNext", "Locate &Next", "Ctrl+N", true},
        {"MenuReports", "&Reports", "Ctrl+R", true},       {"MenuViewer", "&Viewer", "Ctrl+V", true},
        {"MenuSortOrder", "Sort &Order", "Ctrl+Q", true},  {"N640x480", "640 x 480", "Shift+F1", true},
        {"N800x600", "800 x 600", "Shift+F2", true},       {"N1024x768", "1024 x 768", "Shift+F3", true},
        {"N1280x1024", "1280 x 1024", "Shift+F4", true},   {"MenuSpeedButtons", "&Speed Buttons", "Ctrl+F1", true},
        {"MenuLetteredButtons", "&Lettered Buttons", "Ctrl+F2", true}, {"MenuNoButtons", "&None", "Ctrl+F3", true},
        {"MenuMainColor", "&Main Window Color", "Ctrl+F4", true},
        {"MenuEditColor", "&Edit Window Color", "Ctrl+F5", true},
        {"MenuSearchColor", "&Search Window Color", "Ctrl+F6", true},
        {"MenuReportColor", "&Report Window Color", "Ctrl+F7", true},
        {"MenuConfigureColor", "&Configure Window Color", "Ctrl+F8", true},
        {"MenuAllColor", "&ALL Windows Color", "Ctrl+F9", true},
        {"MenuLabelFont", "&Label Font", "Shift+F8", true}, {"MenuEditFont", "&Edit Font", "Shift+F9", true},
        {"MenuButtonFont", "&Button Font", "Shift+F10", true},
        {"MenuSearchReplace", "&Search and Replace", "Ctrl+F", true},
        {"MenuRebuild", "&Rebuild Indexes", "", true},     {"MenuPack", "&Pack Database", "", true},
        {"MenuContents", "&Contents", "Ctrl+H", true},     {"MenuTips", "&Review \"Tips of the Day\"", "", true},
        {"MenuAbout", "&About", "", true},
    };
    for (const auto &item : items) {
        QAction *a = child<QAction>(main.get(), item.name);
        if (!a)
            continue;
        EXPECT_EQ(a->text(), QString::fromLatin1(item.caption)) << item.name;
        EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(item.shortcut)) << item.name;
        EXPECT_EQ(a->isEnabled(), item.enabled) << item.name;
    }
    const char *const hints[] = {"New Database", "Open Database", "Add Record", "Edit Record", "Copy Record",
                                 "Delete Record", "Import Records", "Export Records", "Search Records", "End Search",
                                 "Locate Record", "Locate Next Record", "Reports", "Viewer Configuration",
                                 "Set Sorting Order", "Color Setup", "Help"};
    QStringList shown;
    for (QToolButton *b : child<QFrame>(main.get(), "SpeedPanel")->findChildren<QToolButton *>())
        shown << b->toolTip();
    QStringList expected;
    for (const char *h : hints)
        expected << QString::fromLatin1(h);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(child<QFrame>(main.get(), "SpeedPanel")->height(), 31);
}

TEST(MainWindow, ButtonBarModesPlaceTheControls)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    QWidget *client = main->centralWidget();
    auto *grid = child<QWidget>(main.get(), "ViewerGrid");
    auto *navigator = child<QWidget>(main.get(), "MyNavigator");
    auto *panel = child<QWidget>(main.get(), "SpeedPanel");
    auto *navLabel = child<QWidget>(main.get(), "NavigatorLabel");
    auto *add = child<QPushButton>(main.get(), "AddButton");
    auto *bevel = child<QWidget>(main.get(), "ViewerBevel");
    const struct {
        const char *item;
        bool speed, lettered;
        QPoint navigatorAt;
        int gridTop, gridLess, bevelTop;
    } modes[] = {{"MenuLetteredButtons", false, true, {400, 47}, 122, 129, 86},
                 {"MenuNoButtons", false, false, {-207, 8}, 40, 47, 4},
                 {"MenuSpeedButtons", true, false, {424, 3}, 70, 77, 34}};
    for (const auto &m : modes) {
        SCOPED_TRACE(m.item);
        child<QAction>(main.get(), m.item)->trigger();
        EXPECT_TRUE(child<QAction>(main.get(), m.item)->isChecked());
        const int w = client->width(), h = client->height();
        EXPECT_EQ(panel->isVisible(), m.speed);
        EXPECT_EQ(add->isVisible(), m.lettered);
        EXPECT_EQ(navLabel->isVisible(), m.lettered);
        const QPoint navAt(m.navigatorAt.x() < 0 ? w + m.navigatorAt.x() : m.navigatorAt.x(), m.navigatorAt.y());
        EXPECT_EQ(navigator->pos(), navAt);
        EXPECT_LE(navigator->geometry().right(), w - 1) << "the navigator inside the window";
        EXPECT_GE(navigator->width(), 10 * 16) << "room for its ten buttons";
        EXPECT_EQ(grid->geometry(), QRect(7, m.gridTop, w - 14, h - m.gridLess));
        EXPECT_EQ(bevel->geometry().top(), m.bevelTop);
    }
    // A larger window keeps the rows: the grid grows with it.
    main->resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(grid->geometry(), QRect(7, 70, client->width() - 14, client->height() - 77));
    auto *heading = child<QLabel>(main.get(), "ViewerLabel");
    EXPECT_EQ(heading->x(), (client->width() - heading->width()) / 2);
}

TEST(MainWindow, BrowseOnlyLocksExactlyTheCommandsThatChangeThings)
{
    kvtest::ScriptedPrompt prompt;
    kv::ProfileFile ini;
    ini.setValue(QStringLiteral("Grid Options"), QStringLiteral("Field Editing"), QStringLiteral("Yes"));
    ASSERT_TRUE(ini.write(inProgramDir(QStringLiteral("MASTER.INI"))));

    const auto locked = [](TMain &main) {
        QStringList names;
        for (QObject *o : main.findChildren<QObject *>()) {
            if (o->property("kvBrowseLocked").toBool()) {
                names << o->objectName();
                if (auto *a = qobject_cast<QAction *>(o)) {
                    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
                }
                if (auto *b = qobject_cast<QAbstractButton *>(o)) {
                    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
                }
            }
        }
        names.sort();
        return names;
    };
    {
        auto normal = startMain(prompt, {QStringLiteral("/browser")});
        normal->show();
        EXPECT_FALSE(normal->browseOnly());
        EXPECT_TRUE(locked(*normal).isEmpty());
        EXPECT_TRUE(normal->viewerGrid()->fieldEditing());
        normal->close();
    }
    auto main = startMain(prompt, {QStringLiteral("/Browse")});
    main->show();
    EXPECT_TRUE(main->browseOnly());
    EXPECT_EQ(locked(*main), (QStringList{"AddButton", "CopyButton", "DeleteButton", "MenuAdd", "MenuBackup",
                                          "MenuCopy", "MenuDelete", "MenuDuplicates", "MenuImport", "MenuListMaintenance",
                                          "MenuRedo", "MenuRestore", "MenuSearchReplace", "MenuUndo",
                                          "MenuViewer", "SpeedAdd", "SpeedCopy", "SpeedDelete", "SpeedImport",
                                          "SpeedViewer", "ViewerButton"}));
    EXPECT_EQ(child<kv::RecordNavigator>(main.get(), "MyNavigator")->visibleButtons(), 4);
    EXPECT_FALSE(main->viewerGrid()->fieldEditing());

    // The lettered buttons stay locked through a change of button bar.
    child<QAction>(main.get(), "MenuLetteredButtons")->trigger();
    child<QAction>(main.get(), "MenuNoButtons")->trigger();
    child<QAction>(main.get(), "MenuLetteredButtons")->trigger();
    EXPECT_FALSE(child<QPushButton>(main.get(), "DeleteButton")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(main.get(), "HelpButton")->isEnabled());

    main->close();
    EXPECT_EQ(kv::ProfileFile::read(inProgramDir(QStringLiteral("MASTER.INI")))
                  .value(QStringLiteral("Grid Options"), QStringLiteral("Field Editing")),
              QStringLiteral("Yes"));
}

TEST(MainWindow, LastFilesListThePreviousCataloguesInTheFileMenu)
{
    kvtest::ScriptedPrompt prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("a1")});
    const QString b = catalogueWith(QStringLiteral("B.DBF"), {QStringLiteral("b1"), QStringLiteral("b2")});
    const QString c = catalogueWith(QStringLiteral("C.DBF"), {});
    setProgramValue("Last Database", a);
    auto main = startMain(prompt);
    main->show();
    QAction *sep = child<QAction>(main.get(), "MenuExitSep");
    EXPECT_FALSE(sep->isVisible()) << "an empty list: the menu ends with Exit";
    EXPECT_FALSE(child<QAction>(main.get(), "MenuLastFile1")->isVisible());

    prompt.answerFile(b);
    child<QAction>(main.get(), "MenuOpen")->trigger();
    EXPECT_EQ(countText(*main), QStringLiteral("2"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Kestrova Videos 97 (B)"));
    EXPECT_TRUE(sep->isVisible());
    EXPECT_EQ(child<QAction>(main.get(), "MenuLastFile1")->text(),
              QStringLiteral("&1   ") + QDir::toNativeSeparators(a));
    EXPECT_EQ(child<QAction>(main.get(), "MenuLastFile1")->toolTip(), QDir::toNativeSeparators(a));
    EXPECT_FALSE(child<QAction>(main.get(), "MenuLastFile2")->isVisible());

    prompt.answerFile(c);
    child<QAction>(main.get(), "MenuOpen")->trigger();
    EXPECT_EQ(countText(*main), QStringLiteral("0"));
    // Choosing entry 2 (A) from [B, A]: the list becomes [C, B].
    child<QAction>(main.get(), "MenuLastFile2")->trigger();
    EXPECT_EQ(main->workspace().paths().path, a);
    EXPECT_EQ(countText(*main), QStringLiteral("1"));
    EXPECT_EQ(child<QAction>(main.get(), "MenuLastFile1")->text(), QStringLiteral("&1   ") + QDir::toNativeSeparators(c));
    EXPECT_EQ(child<QAction>(main.get(), "MenuLastFile2")->text(), QStringLiteral("&2   ") + QDir::toNativeSeparators(b));
    EXPECT_EQ(child<QAction>(main.get(), "MenuLastFile2")->toolTip(), QDir::toNativeSeparators(b));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(MainWindow, DeleteAsksWithYesAsDefaultTheNavigatorAsksTheSameAndTheCountFollows)
{
    kvtest::ScriptedPrompt prompt;
    setProgramValue("Last Database", catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("x"), QStringLiteral("y")}));
    auto main = startMain(prompt);
    main->show();
    main->workspace().master().first();
    const QString question = QStringLiteral("Confirm: Delete this record?");
    prompt.answer(Answer::No);
    child<QAction>(main.get(), "MenuDelete")->trigger();
    EXPECT_EQ(prompt.messages(), QStringList{question});
    EXPECT_EQ(prompt.shown().back().buttons, kv::Buttons::YesNo);
    EXPECT_EQ(prompt.shown().back().defaultAnswer, Answer::Yes);
    EXPECT_EQ(countText(*main), QStringLiteral("2"));
    prompt.answer(Answer::Yes);
    child<QAction>(main.get(), "MenuDelete")->trigger();
    EXPECT_EQ(countText(*main), QStringLiteral("1"));
    EXPECT_EQ(walk(main->workspace().master(), "Title"), QStringList{QStringLiteral("y")});

    // The navigator's Delete is the same command.
    prompt.clear();
    prompt.answer(Answer::Yes);
    main->workspace().master().first();
    child<kv::RecordNavigator>(main.get(), "MyNavigator")->press(kv::RecordNavigator::Button::Delete);
    EXPECT_EQ(prompt.messages(), QStringList{question});
    EXPECT_EQ(prompt.shown().back().defaultAnswer, Answer::Yes);
    EXPECT_EQ(countText(*main), QStringLiteral("0"));

    // On an empty catalogue the table says why nothing was deleted.
    prompt.clear();
    prompt.answer(Answer::Yes);
    child<QAction>(main.get(), "MenuDelete")->trigger();
    EXPECT_EQ(prompt.messages(),
              (QStringList{question, QStringLiteral("Error: There is no record to delete in the table \"A.DBF\".")}));
    EXPECT_EQ(countText(*main), QStringLiteral("0"));
}

TEST(MainWindow, PackFromTheToolsMenuKeepsTheViewerOnTheCatalogue)
{
    kvtest::ScriptedPrompt prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    setProgramValue("Last Database", a);
    auto main = startMain(prompt);
    main->show();
    kv::Table &m = main->workspace().master();
    m.first();
    m.deleteRecord();
    m.last();
    prompt.answer(Answer::Yes);
    child<QAction>(main.get(), "MenuPack")->trigger();
    EXPECT_EQ(m.physicalCount(), 2u);
    EXPECT_TRUE(m.isOpen());
    EXPECT_EQ(main->viewerGrid()->model()->rowCount(), 2);
    EXPECT_EQ(m.fieldText(QStringLiteral("Title")), QStringLiteral("z")) << "the current record stays current";
    EXPECT_EQ(main->viewerGrid()->currentIndex().row(), 1);
}

TEST(MainWindow, DateFormatItemsChangeHowTheViewerShowsDates)
{
    kvtest::ScriptedPrompt prompt;
    const QString a = newCatalogue(QStringLiteral("A.DBF"));
    {
        kv::Table t;
        t.setPath(a);
        t.open();
        t.append();
        t.setFieldDate(t.fieldIndex(QStringLiteral("PurchDate")), QDate(1997, 3, 5));
        t.post();
    }
    setProgramValue("Last Database", a);
    auto main = startMain(prompt);
    main->show();
    child<QAction>(main.get(), "MenuDateDMYDash")->trigger();
    main->workspace().master().first();
    EXPECT_EQ(main->workspace().master().fieldText(QStringLiteral("PurchDate")), QStringLiteral("5-3-97"));
    child<QAction>(main.get(), "MenuDateLeadingZeros")->trigger();
    EXPECT_EQ(main->workspace().master().fieldText(QStringLiteral("PurchDate")), QStringLiteral("05-03-97"));
    EXPECT_TRUE(child<QAction>(main.get(), "MenuDateDMYDash")->isChecked());
    EXPECT_FALSE(child<QAction>(main.get(), "MenuDateMDYSlash")->isChecked());
    main->close();
    EXPECT_EQ(programValue("Date Format"), QStringLiteral("5"));
    EXPECT_EQ(programValue("Date Leading Zeros"), QStringLiteral("Yes"));
}
