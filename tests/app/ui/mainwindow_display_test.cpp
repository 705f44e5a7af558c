// The main window's display commands on the offscreen platform: the colour, font,
// screen size and format items of the Options menu and the Viewer Configuration, what
// they change at once, and what survives a restart or a change of catalogue.
#include "mainwindowfixture.h"

#include "app/display/colorconfig.h"
#include "app/display/screensize.h"
#include "app/ui/colorconfigdialog.h"
#include "app/ui/sortorderdialog.h"
#include "app/ui/viewconfigdialog.h"
#include "app/ui/viewergrid.h"
#include "scriptedprompt.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using kv::ColorRole;
using kv::TColorConfig;
using kv::TViewConfig;
using kv::WindowFamily;

namespace {

void choosePreset(TColorConfig &dialog, const char *name)
{
    auto *presets = child<QComboBox>(&dialog, "PresetList");
    const int entry = presets->findText(QString::fromLatin1(name));
    ASSERT_GT(entry, 0) << name;
    presets->setCurrentIndex(entry);
    Q_EMIT presets->activated(entry);
}

void clickOk(QDialog &dialog) { QTest::mouseClick(child<QPushButton>(&dialog, "OkButton"), Qt::LeftButton); }

QColor clientBackground(kv::TMain &main) { return main.centralWidget()->palette().color(QPalette::Window); }

QString header(kv::TMain &main, int column)
{
    return main.viewerGrid()->model()->headerData(column, Qt::Horizontal).toString();
}

} // namespace

TEST(MainWindowDisplay, ColourItemsEditOneFamilyOrAllAndTheMainWindowRepaintsAtOnce)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    kv::Settings &s = main->workspace().settings();
    const kv::Settings before = s;
    const QColor grey = clientBackground(*main);
    ASSERT_EQ(grey, before.colorSet(WindowFamily::Main)[ColorRole::MainBackground]);

    // "Christmas Season" for the edit window leaves the main window as it was.
    whenShown<TColorConfig>([](TColorConfig &d) {
        choosePreset(d, "Christmas Season");
        clickOk(d);
    });
    child<QAction>(main.get(), "MenuEditColor")->trigger();
    EXPECT_EQ(s.colorSet(WindowFamily::Edit)[ColorRole::MainBackground], QColor(0, 255, 0));
    EXPECT_EQ(s.colorSet(WindowFamily::Main), before.colorSet(WindowFamily::Main));
    EXPECT_EQ(clientBackground(*main), grey);

    const struct {
        const char *item;
        WindowFamily family;
    } items[] = {{"MenuSearchColor", WindowFamily::Search},
                 {"MenuReportColor", WindowFamily::Report},
                 {"MenuConfigureColor", WindowFamily::Configure}};
    for (const auto &item : items) {
        SCOPED_TRACE(item.item);
        whenShown<TColorConfig>([](TColorConfig &d) {
            choosePreset(d, "Wine");
            clickOk(d);
        });
        child<QAction>(main.get(), item.item)->trigger();
        EXPECT_EQ(s.colorSet(item.family)[ColorRole::MainBackground], QColor(128, 0, 64));
    }

    // The main window's own set shows at once, its titles too.
    whenShown<TColorConfig>([](TColorConfig &d) {
        choosePreset(d, "Ocean Blue");
        clickOk(d);
    });
    child<QAction>(main.get(), "MenuMainColor")->trigger();
    EXPECT_EQ(clientBackground(*main), QColor(0, 255, 255));
    EXPECT_EQ(child<QLabel>(main.get(), "ViewerLabel")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(s.colorSet(WindowFamily::Edit)[ColorRole::MainBackground], QColor(0, 255, 0));

    // The speed button "Color Setup" edits all five, starting from the main window's.
    kv::ColorSet shown;
    whenShown<TColorConfig>([&shown](TColorConfig &d) {
        shown = d.workingSet();
        choosePreset(d, "Green Glow");
        clickOk(d);
    });
    child<QToolButton>(main.get(), "SpeedColor")->click();
    EXPECT_EQ(shown[ColorRole::MainBackground], QColor(0, 255, 255));
    for (const kv::ColorSet &set : s.colorSets)
        EXPECT_EQ(set[ColorRole::MajorTitle], QColor(0, 255, 0));
    EXPECT_EQ(clientBackground(*main), QColor(0, 0, 0));

    // Cancel changes nothing.
    const kv::Settings afterOk = s;
    whenShown<TColorConfig>([](TColorConfig &d) {
        choosePreset(d, "Monochrome");
        QTest::mouseClick(child<QPushButton>(&d, "CancelButton"), Qt::LeftButton);
    });
    child<QAction>(main.get(), "MenuAllColor")->trigger();
    EXPECT_EQ(s, afterOk);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(MainWindowDisplay, AFontItemChangesFaceAndStyleOfItsControlsButNotTheirSize)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    auto *count = child<QLabel>(main.get(), "CountLabel");
    auto *help = child<QPushButton>(main.get(), "HelpButton");
    const QFont countBefore = count->font(), helpBefore = help->font();

    QFont chosen(QStringLiteral("Courier New"), 20);
    chosen.setBold(true);
    chosen.setItalic(true);
    prompt.answerFont(chosen);
    child<QAction>(main.get(), "MenuLabelFont")->trigger();
    EXPECT_EQ(count->font().family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(count->font().italic());
    EXPECT_EQ(count->font().pointSizeF(), countBefore.pointSizeF());
    EXPECT_EQ(help->font(), helpBefore) << "buttons take the button font";
    auto *heading = child<QLabel>(main.get(), "ViewerLabel");
    EXPECT_GE(heading->width(), heading->fontMetrics().horizontalAdvance(heading->text()))
        << "the heading is not cut in its wider face";

    prompt.answerFont(QFont(QStringLiteral("Liberation Mono"), 20));
    child<QAction>(main.get(), "MenuButtonFont")->trigger();
    EXPECT_EQ(help->font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(help->font().pointSizeF(), helpBefore.pointSizeF());
    EXPECT_FALSE(help->font().bold());
    EXPECT_EQ(count->font().family(), QStringLiteral("Courier New"));

    EXPECT_EQ(prompt.shown().front().caption, QStringLiteral("Label Font"));
    EXPECT_EQ(prompt.shown().back().caption, QStringLiteral("Button Font"));
}

TEST(MainWindowDisplay, ScreenSizesTheScreenCannotHoldAreRefusedOthersScaleTheNextDialog)
{
    kvtest::ScriptedPrompt prompt;
    // The offscreen platform's screen holds 800 x 600 but not 1024 x 768.
    ASSERT_TRUE(kv::screenSupports(800, kv::primaryScreenSize()));
    ASSERT_FALSE(kv::screenSupports(1024, kv::primaryScreenSize()));
    auto main = startMain(prompt);
    main->show();
    const auto checked = [&main] {
        QStringList items;
        for (const char *name : {"N640x480", "N800x600", "N1024x768", "N1280x1024"})
            if (child<QAction>(main.get(), name)->isChecked())
                items << QString::fromLatin1(name);
        return items;
    };
    EXPECT_EQ(checked(), QStringList{"N640x480"});

    child<QAction>(main.get(), "N1024x768")->trigger();
    child<QAction>(main.get(), "N1280x1024")->trigger();
    EXPECT_EQ(prompt.messages(),
              (QStringList{"Error: Your current screen resolution does not support 1024 x 768 pixels.",
                           "Error: Your current screen resolution does not support 1280 x 1024 pixels."}));
    EXPECT_EQ(checked(), QStringList{"N640x480"});
    EXPECT_EQ(main->workspace().settings().windowSize, 640);

    prompt.clear();
    child<QAction>(main.get(), "N800x600")->trigger();
    EXPECT_EQ(checked(), QStringList{"N800x600"});
    EXPECT_TRUE(prompt.messages().isEmpty());

    int nameColumn = 0;
    whenShown<TViewConfig>([&nameColumn](TViewConfig &d) {
        nameColumn = child<QTableWidget>(&d, "NameGrid")->columnWidth(1);
    });
    child<QAction>(main.get(), "MenuViewer")->trigger();
    EXPECT_EQ(nameColumn, 250) << "200 times 1.25";
    // The main window itself keeps its size.
    EXPECT_EQ(main->size(), QSize(640, 480));
}

TEST(MainWindowDisplay, ViewerCommandRenamesMovesAndHidesColumnsKeepingTheCurrentRecord)
{
    kvtest::ScriptedPrompt prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("one"), QStringLiteral("two"),
                                                            QStringLiteral("three"), QStringLiteral("four")});
    setProgramValue("Last Database", a);
    auto main = startMain(prompt);
    main->show();
    kv::Table &master = main->workspace().master();
    master.moveTo(2);
    const std::uint32_t current = master.recNo();
    ASSERT_EQ(header(*main, 0), QStringLiteral("Title"));
    ASSERT_EQ(header(*main, 1), QStringLiteral("Star 1"));

    whenShown<TViewConfig>([](TViewConfig &d) {
        auto *names = child<QTableWidget>(&d, "NameGrid");
        names->item(kv::fields::Year - 1, 1)->setText(QStringLiteral("Released"));
        child<QTableWidget>(&d, "DisplayGrid")->item(kv::fields::Star1 - 1, 1)->setText(QStringLiteral("No"));
        auto *order = child<QListWidget>(&d, "OrderList");
        order->setCurrentRow(kv::fields::Year - 1);
        for (int i = 0; i < kv::fields::Year - 1; ++i)
            QTest::mouseClick(child<QPushButton>(&d, "UpButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&d, "ExitButton"), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    child<QAction>(main.get(), "MenuViewer")->trigger();

    EXPECT_EQ(header(*main, 0), QStringLiteral("Released"));
    EXPECT_EQ(header(*main, 1), QStringLiteral("Title"));
    EXPECT_EQ(header(*main, 2), QStringLiteral("Star 2"));
    EXPECT_EQ(main->viewerGrid()->columnOfField(kv::fields::Star1), -1);
    EXPECT_EQ(master.recNo(), current);
    EXPECT_EQ(main->viewerGrid()->currentIndex().row(), 2);

    // The new caption is the field's name in the other windows too.
    QStringList sortItems;
    whenShown<kv::TMySortOrder>([&sortItems](kv::TMySortOrder &d) {
        auto *primary = child<QComboBox>(&d, "PrimarySort");
        sortItems << primary->itemText(kv::fields::Year);
    });
    child<QAction>(main.get(), "MenuSortOrder")->trigger();
    EXPECT_EQ(sortItems, QStringList{"Released"});

    // The lettered button and the speed button open the same dialog.
    int opened = 0;
    child<QAction>(main.get(), "MenuLetteredButtons")->trigger();
    whenShown<TViewConfig>([&opened](TViewConfig &) { ++opened; });
    child<QPushButton>(main.get(), "ViewerButton")->click();
    child<QAction>(main.get(), "MenuSpeedButtons")->trigger();
    whenShown<TViewConfig>([&opened](TViewConfig &) { ++opened; });
    child<QToolButton>(main.get(), "SpeedViewer")->click();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(MainWindowDisplay, FormatItemsCheckOneOfTwo)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    const struct {
        const char *item, *other;
        int kv::Settings::*value;
        int stored;
    } items[] = {{"MenuCurrencyWindows", "MenuCurrencyUS", &kv::Settings::currencyFormat, 2},
                 {"MenuCurrencyUS", "MenuCurrencyWindows", &kv::Settings::currencyFormat, 1},
                 {"MenuNumericWindows", "MenuNumericUS", &kv::Settings::numericFormat, 2}};
    for (const auto &i : items) {
        SCOPED_TRACE(i.item);
        child<QAction>(main.get(), i.item)->trigger();
        EXPECT_TRUE(child<QAction>(main.get(), i.item)->isChecked());
        EXPECT_FALSE(child<QAction>(main.get(), i.other)->isChecked());
        EXPECT_EQ(main->workspace().settings().*i.value, i.stored);
    }
}

TEST(MainWindowDisplay, EveryChoiceSurvivesARestart)
{
    kvtest::ScriptedPrompt prompt;
    kv::Settings chosen;
    {
        auto main = startMain(prompt);
        main->show();
        whenShown<TColorConfig>([](TColorConfig &d) {
            choosePreset(d, "Camouflage");
            clickOk(d);
        });
        child<QAction>(main.get(), "MenuReportColor")->trigger();
        prompt.answerFont(QFont(QStringLiteral("Courier New"), 20));
        child<QAction>(main.get(), "MenuEditFont")->trigger();
        child<QAction>(main.get(), "N800x600")->trigger();
        child<QAction>(main.get(), "MenuDateDMYDotYr")->trigger();
        child<QAction>(main.get(), "MenuDateLeadingZeros")->trigger();
        child<QAction>(main.get(), "MenuCurrencyWindows")->trigger();
        child<QAction>(main.get(), "MenuNumericWindows")->trigger();
        prompt.answerColor(QColor(1, 2, 3));
        whenShown<TViewConfig>([](TViewConfig &d) {
            child<QTableWidget>(&d, "NameGrid")->item(38, 1)->setText(QStringLiteral("Shelf"));
            child<QTableWidget>(&d, "WidthGrid")->item(0, 1)->setText(QStringLiteral("42"));
            QTest::mouseClick(child<QPushButton>(&d, "CellColorButton"), Qt::LeftButton);
            child<QCheckBox>(&d, "RowLinesBox")->setChecked(false);
            QTest::mouseClick(child<QPushButton>(&d, "ExitButton"), Qt::LeftButton);
        });
        child<QAction>(main.get(), "MenuViewer")->trigger();
        chosen = main->workspace().settings();
        main->close();
    }
    ASSERT_TRUE(prompt.messages().isEmpty()) << prompt.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(chosen.colorSet(WindowFamily::Report)[ColorRole::MainBackground], QColor(128, 128, 0));
    EXPECT_EQ(chosen.field(39).caption, QStringLiteral("Shelf"));
    EXPECT_FALSE(chosen.rowLines);

    auto again = startMain(prompt);
    const kv::Settings &s = again->workspace().settings();
    EXPECT_EQ(s.colorSets, chosen.colorSets);
    EXPECT_EQ(s.font(kv::FontRole::Edit).font.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(s.windowSize, 800);
    EXPECT_EQ(s.dateFormat, 12);
    EXPECT_TRUE(s.dateLeadingZeros);
    EXPECT_EQ(s.currencyFormat, 2);
    EXPECT_EQ(s.numericFormat, 2);
    EXPECT_EQ(s.fields, chosen.fields);
    EXPECT_EQ(s.cellColor, QColor(1, 2, 3));
    EXPECT_FALSE(s.rowLines);
    again->show();
    EXPECT_TRUE(child<QAction>(again.get(), "N800x600")->isChecked());
    EXPECT_TRUE(child<QAction>(again.get(), "MenuDateDMYDotYr")->isChecked());
    EXPECT_TRUE(child<QAction>(again.get(), "MenuCurrencyWindows")->isChecked());
    EXPECT_EQ(again->viewerGrid()->palette().color(QPalette::Base), QColor(1, 2, 3));
}

TEST(MainWindowDisplay, AnotherCatalogueBringsItsOwnGridLook)
{
    kvtest::ScriptedPrompt prompt;
    const QString a = catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("a")});
    const QString b = catalogueWith(QStringLiteral("B.DBF"), {QStringLiteral("b")});
    kv::Settings look;
    look.field(kv::fields::Title).caption = QStringLiteral("Film");
    look.cellColor = QColor(250, 240, 10);
    look.colorSet(WindowFamily::Main)[ColorRole::MainBackground] = QColor(90, 0, 90);
    ASSERT_TRUE(kv::writeSettings(kv::catalogueSettingsPath(b), kv::SettingsScope::Catalogue, look));
    setProgramValue("Last Database", a);

    auto main = startMain(prompt);
    main->show();
    ASSERT_EQ(header(*main, 0), QStringLiteral("Title"));
    main->OpenSaveFile(b);
    EXPECT_EQ(header(*main, 0), QStringLiteral("Film"));
    EXPECT_EQ(main->viewerGrid()->palette().color(QPalette::Base), QColor(250, 240, 10));
    EXPECT_EQ(clientBackground(*main), QColor(90, 0, 90));
    main->OpenSaveFile(a);
    EXPECT_EQ(header(*main, 0), QStringLiteral("Title"));
    EXPECT_EQ(clientBackground(*main), kv::Settings().colorSet(WindowFamily::Main)[ColorRole::MainBackground]);
    EXPECT_TRUE(prompt.messages().isEmpty());
}
