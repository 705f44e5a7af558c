// What a screen reader finds: every control that takes the focus of the main window (in
// each button bar mode), the edit window and the Reports window, as the program opens
// them, has a name; the speed buttons and the navigator are reached from the keyboard.
// The names are read through Qt's accessibility interfaces, the ones AT-SPI serves.
#include "app/display/contrast.h"
#include "app/ui/mainwindowfixture.h"
#include "app/ui/viewergrid.h"
#include "edit/ui/myedit.h"
#include "reports/ui/myreport.h"
#include "scriptedprompt.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QStackedWidget>
#include <QStyle>
#include <QTest>

namespace {

// Reachable: not hidden itself nor inside a hidden part, a page of a tab set aside.
bool reachable(QWidget *w, const QWidget *window)
{
    for (QWidget *a = w; a && a != window; a = a->parentWidget())
        if (a->isHidden() && !qobject_cast<QStackedWidget *>(a->parentWidget()))
            return false;
    return true;
}

QString nameOf(QWidget *w)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// "ObjectName (Class)" of every control the keyboard can reach that has no name.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !reachable(w, window))
            continue;
        if (nameOf(w).isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    return unnamed;
}

QString focusName() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override
    {
        kv::Settings s;
        s.lastDatabase = catalogueWith(QStringLiteral("NAMES.DBF"), {QStringLiteral("Alien"), QStringLiteral("Brazil")});
        kv::writeSettings(kv::programSettingsPath(), kv::SettingsScope::Program, s);
    }
    kvtest::ScriptedPrompt prompt;
};

TEST_F(Accessibility, EveryControlOfTheMainWindowHasANameInEachButtonBarMode)
{
    auto main = startMain(prompt);
    main->show();
    for (int mode : {1, 2, 3}) {
        main->workspace().settings().buttonBar = mode;
        main->SetButtonBar();
        EXPECT_EQ(unnamedControls(main.get()), QStringList()) << "button bar mode " << mode;
    }
    EXPECT_EQ(nameOf(main->viewerGrid()), QStringLiteral("Video Viewer"));
    const struct {
        const char *button, *name;
    } named[] = {{"SpeedAdd", "Add Record"}, {"SpeedLocate", "Locate Record"}, {"SpeedHelp", "Help"}};
    for (const auto &n : named)
        EXPECT_EQ(nameOf(child<QWidget>(main.get(), n.button)), QString::fromLatin1(n.name)) << n.button;
    main->close();
}

TEST_F(Accessibility, EveryBoxOfTheEditWindowIsNamedByItsRow)
{
    auto main = startMain(prompt);
    main->show();
    bool shown = false;
    whenShown<kv::TMyEdit>([&shown](kv::TMyEdit &w) {
        shown = true;
        EXPECT_EQ(unnamedControls(&w), QStringList());
        const struct {
            int field;
            const char *name;
        } rows[] = {{1, "Title"}, {2, "Star 1"}, {3, "Star 2"}, {7, "Star 6"}, {32, "Check Out Date"},
                    {29, "Oscar Nomination"}, {30, "Oscar Award"}, {35, "Purch Date"}, {36, "Where Purchased"}};
        for (const auto &r : rows)
            EXPECT_EQ(nameOf(w.box(r.field)), QString::fromLatin1(r.name)) << r.field;
        w.close();
    });
    main->DoEdit();
    EXPECT_TRUE(shown);
    main->close();
}

TEST_F(Accessibility, EveryControlOfTheReportsWindowHasAName)
{
    auto main = startMain(prompt);
    main->show();
    bool shown = false;
    whenShown<kv::TMyReport>([&shown](kv::TMyReport &w) {
        shown = true;
        EXPECT_EQ(unnamedControls(&w), QStringList());
    });
    main->DoReports();
    EXPECT_TRUE(shown);
    main->close();
}

TEST_F(Accessibility, TheKeyboardReachesTheSpeedButtonsAndTheNavigator)
{
    auto main = startMain(prompt);
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    main->viewerGrid()->setFocus();

    QTest::keyClick(main.get(), Qt::Key_F10);
    EXPECT_EQ(focusName(), QStringLiteral("SpeedNew"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focusName(), QStringLiteral("SpeedOpen"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(focusName(), QStringLiteral("SpeedHelp")) << "round to the last";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    // On to the navigator, at its first button that can be pressed on the first record.
    EXPECT_EQ(focusName(), QStringLiteral("NavNext"));
    // Return presses the button as a click does: the next record.
    const std::uint32_t row = main->workspace().master().recNo();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(main->workspace().master().recNo(), row + 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    EXPECT_EQ(focusName(), QStringLiteral("NavFirst"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focusName(), QStringLiteral("NavPrior"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), main->viewerGrid()) << "and back to the grid";

    // Without speed buttons F10 goes to the navigator.
    main->workspace().settings().buttonBar = 3;
    main->SetButtonBar();
    QTest::keyClick(main.get(), Qt::Key_F10);
    EXPECT_EQ(QApplication::focusWidget()->parentWidget()->objectName(), QStringLiteral("MyNavigator"));
    main->close();
}

} // namespace

namespace {

// The desktop's colours: a light scheme and a dark one (light text on dark ground).
QPalette scheme(bool dark)
{
    QPalette p = QApplication::style()->standardPalette();
    if (dark) {
        for (auto [role, color] : {std::pair{QPalette::Window, QColor(0x20, 0x20, 0x20)},
                                   {QPalette::WindowText, QColor(Qt::white)},
                                   {QPalette::Base, QColor(0x30, 0x30, 0x30)},
                                   {QPalette::Text, QColor(Qt::white)},
                                   {QPalette::Button, QColor(0x35, 0x35, 0x35)},
                                   {QPalette::ButtonText, QColor(Qt::white)}})
            p.setColor(role, color);
    }
    return p;
}

TEST_F(Accessibility, TextsOnTheProgramsColoursReadUnderLightAndDarkSchemes)
{
    const QPalette saved = QApplication::palette();
    // The main window's background: silver as delivered, black (as "Midnight Black"
    // has it), a light yellow.
    for (const QColor &ground : {QColor(192, 192, 192), QColor(Qt::black), QColor(255, 255, 128)}) {
        for (bool dark : {false, true}) {
            QApplication::setPalette(scheme(dark));
            auto main = startMain(prompt);
            main->workspace().settings().colorSet(kv::WindowFamily::Main)[kv::ColorRole::MainBackground] = ground;
            main->workspace().settings().colorSet(kv::WindowFamily::Main)[kv::ColorRole::MajorTitle] =
                ground.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white);
            main->show();
            const QColor background = child<QWidget>(main.get(), "Client")->palette().color(QPalette::Window);
            EXPECT_EQ(background, ground);
            for (const char *name : {"CountLabel", "Count2Label", "SearchOnLabel", "ViewerLabel"}) {
                const QColor text = child<QLabel>(main.get(), name)->palette().color(QPalette::WindowText);
                EXPECT_GE(kv::contrastRatio(text, background), kv::kReadableContrast)
                    << name << (dark ? " dark" : " light") << " on " << ground.name().toStdString() << ": "
                    << text.name().toStdString();
            }
            main->close();
        }
    }
    QApplication::setPalette(saved);
}

TEST(Contrast, RatiosAndReadableColours)
{
    EXPECT_NEAR(kv::contrastRatio(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(kv::contrastRatio(QColor(192, 192, 192), Qt::white), 1.82, 0.01);
    const struct {
        QColor text, background;
        bool kept;
    } cases[] = {
        {Qt::black, QColor(192, 192, 192), true},
        {Qt::white, QColor(192, 192, 192), false},      // the count in a dark scheme
        {QColor(0xc0, 0, 0), QColor(192, 192, 192), false}, // "SEARCH ON" as it was
        {QColor(0xc0, 0, 0), Qt::black, false},
        {QColor(0x80, 0, 0), QColor(192, 192, 192), true},
        {Qt::white, QColor(0x76, 0x76, 0x76), true},
    };
    for (const auto &c : cases) {
        const QColor made = kv::readableOn(c.text, c.background);
        EXPECT_GE(kv::contrastRatio(made, c.background), kv::kReadableContrast) << c.text.name().toStdString();
        EXPECT_EQ(made == c.text, c.kept) << c.text.name().toStdString() << " on " << c.background.name().toStdString();
    }
    // Made readable, a red stays a red.
    const QColor red = kv::readableOn(QColor(0xc0, 0, 0), QColor(192, 192, 192));
    EXPECT_GT(red.red(), 3 * std::max(red.green(), red.blue()));
}

} // namespace
