// The help window, the tip of the day and the about box, driven on the offscreen platform.
#include "help/help.h"
#include "resources/helptopics.h"
#include "testenv.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>

namespace {

QList<QWidget *> helpWindows()
{
    QList<QWidget *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("HelpWindow"))
            found << w;
    }
    return found;
}

// The one help window; deleted at the end of each test so the next starts afresh.
class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { qDeleteAll(helpWindows()); }

    QWidget *window()
    {
        const QList<QWidget *> windows = helpWindows();
        return windows.size() == 1 ? windows.first() : nullptr;
    }
    QTextBrowser *browser() { return window() ? window()->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser")) : nullptr; }
    QString page() { return browser()->source().path().section(QLatin1Char('/'), -1); }
    void trigger(const char *action) { window()->findChild<QAction *>(QLatin1String(action))->trigger(); }
};

TEST_F(HelpWindowTest, OpensAtTheTopicOfAKeyword)
{
    kv::showHelp(nullptr, QStringLiteral("Import Window"));
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(browser()->source(), kv::helpTopicUrl(QStringLiteral("Import Window")));
    EXPECT_EQ(page(), QStringLiteral("import.html"));
    // The page itself was read: its title reaches the window caption.
    EXPECT_EQ(browser()->documentTitle(), QStringLiteral("Importing Records"));
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Kestrova Videos 97 Help - Importing Records"));
    EXPECT_TRUE(browser()->toPlainText().contains(QLatin1String("Skip First Record")));
}

TEST_F(HelpWindowTest, OneWindowIsReusedAndMovesToTheAnchorOfTheNextKeyword)
{
    kv::showHelp(nullptr);
    EXPECT_EQ(browser()->source(), kv::helpContentsUrl());
    QWidget *first = window();

    kv::showHelp(nullptr, QStringLiteral("Viewer Configuration Widths"));
    EXPECT_EQ(window(), first);
    EXPECT_EQ(helpWindows().size(), 1);
    EXPECT_EQ(page(), QStringLiteral("viewerconfig.html"));
    EXPECT_EQ(browser()->source().fragment(), QStringLiteral("widths"));

    kv::showHelp(nullptr, QStringLiteral("Viewer Configuration Names"));
    EXPECT_EQ(browser()->source().fragment(), QStringLiteral("names"));
}

TEST_F(HelpWindowTest, BackForwardAndContents)
{
    kv::showHelp(nullptr, QStringLiteral("Search Window"));
    kv::showHelp(nullptr, QStringLiteral("Backup and Restore"));
    trigger("BackAction");
    EXPECT_EQ(page(), QStringLiteral("search.html"));
    trigger("ForwardAction");
    EXPECT_EQ(page(), QStringLiteral("backup.html"));
    trigger("ContentsAction");
    EXPECT_EQ(browser()->source(), kv::helpContentsUrl());
}

TEST_F(HelpWindowTest, TheIndexFindsAKeywordAsItIsTyped)
{
    kv::showHelp(nullptr);
    auto *filter = window()->findChild<QLineEdit *>(QStringLiteral("HelpIndexFilter"));
    auto *index = window()->findChild<QListWidget *>(QStringLiteral("HelpIndex"));
    ASSERT_NE(filter, nullptr);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->count(), kv::helpTopics().size());

    QTest::keyClicks(filter, QStringLiteral("user def"));
    ASSERT_NE(index->currentItem(), nullptr);
    EXPECT_EQ(index->currentItem()->text(), QStringLiteral("User Defined Reports"));
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(page(), QStringLiteral("userreports.html"));

    // Down moves through the index from the keyword box.
    filter->clear();
    QTest::keyClicks(filter, QStringLiteral("viewer configuration"));
    EXPECT_EQ(index->currentItem()->text(), QStringLiteral("Viewer Configuration"));
    QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(browser()->source(), kv::helpTopicUrl(index->currentItem()->text()));
    EXPECT_TRUE(index->currentItem()->text().startsWith(QLatin1String("Viewer Configuration ")));
}

TEST_F(HelpWindowTest, AskedForFromAModalDialogItStaysUsableAndOutlivesTheDialog)
{
    QWidget main;
    main.show();
    auto *dialog = new QDialog(&main);
    QPointer<QWidget> help;
    Qt::WindowModality modality = Qt::NonModal;
    QTimer::singleShot(0, dialog, [&] {
        kv::showHelp(dialog, QStringLiteral("Export Window"));
        help = window();
        modality = help ? help->windowModality() : Qt::NonModal;
        if (help)
            help->close();
        dialog->reject();
    });
    dialog->exec();
    delete dialog;

    ASSERT_FALSE(help.isNull());
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(help->parentWidget(), &main);

    // Opened again from the main window it is an ordinary window beside the program.
    kv::showHelp(&main, QStringLiteral("Contents"));
    EXPECT_EQ(window(), help.data());
    EXPECT_EQ(help->windowModality(), Qt::NonModal);
    EXPECT_TRUE(help->isVisible());
}

// Runs check on the next modal dialog once it is shown; closes it afterwards if the
// check did not, so that a failing check cannot leave the test waiting.
void whenModalShown(const std::function<void(QDialog *)> &check)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        check(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog was still open";
            dialog->reject();
        }
    });
    poll->start(10);
}

// F1, installed program-wide, opens the topic of the window in front.
class HelpKeyTest : public HelpWindowTest {
protected:
    void SetUp() override
    {
        kv::installHelpKey(*qApp);
        kv::installHelpKey(*qApp); // once is enough; twice changes nothing
        kv::setHelpKeyword(&main, QStringLiteral("Main Window"));
        field = new QLineEdit(&main); // untagged, with the focus
        main.setCentralWidget(field);
        main.show();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        field->setFocus();
    }

    // F1 pressed in a widget; the topic the help window then shows.
    QString pressF1(QWidget *in)
    {
        QTest::keyClick(in, Qt::Key_F1);
        return window() ? browser()->source().toString() : QString();
    }
    static QString topic(const char *keyword) { return kv::helpTopicUrl(QString::fromLatin1(keyword)).toString(); }
    static QString contents() { return kv::helpContentsUrl().toString(); }

    QMainWindow main;
    QLineEdit *field = nullptr;
};

TEST_F(HelpKeyTest, OpensTheTopicOfTheMainWindow)
{
    ASSERT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(pressF1(field), topic("Main Window"));
    EXPECT_EQ(helpWindows().size(), 1);
    EXPECT_EQ(kv::helpKeyword(field), QStringLiteral("Main Window"));

    // Shift+F1 and Ctrl+F1 are left to the window's own shortcuts.
    qDeleteAll(helpWindows());
    QTest::keyClick(field, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(window(), nullptr);

    // Without a tag anywhere, the contents.
    kv::setHelpKeyword(&main, QString());
    EXPECT_EQ(kv::helpKeyword(field), QString());
    EXPECT_EQ(pressF1(field), contents());
}

// A modal dialog on top of the main window, its part with the focus, and the topic F1 opens.
struct ModalCase {
    const char *dialogKeyword; // null: the dialog is not tagged
    const char *pageKeyword;   // null: the page is not tagged
    bool focusOnPage;
    const char *expected;
};

void PrintTo(const ModalCase &c, std::ostream *os)
{
    *os << (c.dialogKeyword ? c.dialogKeyword : "-") << " / " << (c.pageKeyword ? c.pageKeyword : "-")
        << (c.focusOnPage ? " (on the page)" : "");
}

class HelpKeyModalTest : public HelpKeyTest, public ::testing::WithParamInterface<ModalCase> {};

TEST_P(HelpKeyModalTest, OpensTheTopicOfTheDialogInFront)
{
    const ModalCase c = GetParam();
    QDialog dialog(&main);
    if (c.dialogKeyword)
        kv::setHelpKeyword(&dialog, QString::fromLatin1(c.dialogKeyword));
    auto *page = new QWidget(&dialog);
    if (c.pageKeyword)
        kv::setHelpKeyword(page, QString::fromLatin1(c.pageKeyword));
    auto *onPage = new QLineEdit(page);
    auto *offPage = new QPushButton(QStringLiteral("OK"), &dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(page);
    layout->addWidget(offPage);

    QString shown;
    Qt::WindowModality modality = Qt::NonModal;
    whenModalShown([&](QDialog *d) {
        EXPECT_EQ(d, &dialog);
        QWidget *target = c.focusOnPage ? static_cast<QWidget *>(onPage) : offPage;
        // A user presses F1 in the active dialog, its part holding the focus.
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        target->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([target] { return QApplication::focusWidget() == target; }));
        QTest::keyClick(target, Qt::Key_F1);
        if (QWidget *help = window()) {
            shown = browser()->source().toString();
            modality = help->windowModality();
            help->close();
        }
        d->reject();
    });
    dialog.exec();

    EXPECT_EQ(shown, topic(c.expected));
    EXPECT_EQ(modality, Qt::ApplicationModal); // usable while the dialog waits
    // Back at the main window, F1 opens its topic again.
    // The main window counts as active while the closing help window it owns still is:
    // wait for the application to have moved on to it.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &main; }));
    EXPECT_EQ(pressF1(field), topic("Main Window"));
}

INSTANTIATE_TEST_SUITE_P(
    Help, HelpKeyModalTest,
    ::testing::Values(ModalCase{"Sort Order", nullptr, false, "Sort Order"},
                      ModalCase{"Sort Order", nullptr, true, "Sort Order"},
                      ModalCase{"Input Window", "Particulars Page", true, "Particulars Page"},
                      ModalCase{"Input Window", "Particulars Page", false, "Input Window"},
                      // An untagged dialog takes the topic of the window it belongs to.
                      ModalCase{nullptr, nullptr, true, "Main Window"}));

TEST_F(HelpKeyTest, InTheHelpWindowItLeadsToTheContents)
{
    EXPECT_EQ(pressF1(field), topic("Main Window"));
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window(); }));
    EXPECT_EQ(pressF1(browser()), contents());
}

class TipOfTheDay : public ::testing::TestWithParam<bool> {};

TEST_P(TipOfTheDay, ReturnsTheStateOfItsBoxWhenClosed)
{
    const bool initially = GetParam();
    bool shownChecked = !initially;
    whenModalShown([&](QDialog *dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("TipOfTheDay"));
        auto *box = dialog->findChild<QCheckBox *>(QStringLiteral("ShowTipsCheck"));
        ASSERT_NE(box, nullptr);
        shownChecked = box->isChecked();
        EXPECT_EQ(box->text(), QStringLiteral("&Show Tips at Startup"));
        QTest::mouseClick(box, Qt::LeftButton);
        dialog->findChild<QPushButton *>(QStringLiteral("CloseButton"))->click();
    });
    EXPECT_EQ(kv::showTipOfTheDay(nullptr, {initially, 0}).showAtStartup, !initially);
    EXPECT_EQ(shownChecked, initially);
}

INSTANTIATE_TEST_SUITE_P(Help, TipOfTheDay, ::testing::Bool());

TEST(TipOfTheDayWindow, EscapeAlsoKeepsTheBoxState)
{
    whenModalShown([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_TRUE(kv::showTipOfTheDay(nullptr, {true, 0}).showAtStartup);
    whenModalShown([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(kv::showTipOfTheDay(nullptr, {false, 0}).showAtStartup);
}

TEST(TipOfTheDayWindow, StartsAtTheGivenTipAndGivesBackTheOneAfterTheLastShown)
{
    const QStringList tips = kv::tips();
    const int n = int(tips.size());
    ASSERT_GE(n, 3);
    const struct {
        int given;
        int nextClicks;
        int first; // the tip shown first
    } cases[] = {
        {0, 0, 0},     {2, 0, 2},          {n - 1, 0, n - 1}, {n, 0, 0},
        {-1, 0, n - 1}, {7 * n + 1, 0, 1}, {0, 2, 0},
        {n - 1, 1, n - 1}, // "Next Tip" goes round to the first
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.given) + " then " + std::to_string(c.nextClicks) + " clicks");
        QStringList seen;
        whenModalShown([&](QDialog *dialog) {
            auto *text = dialog->findChild<QLabel *>(QStringLiteral("TipText"));
            seen << text->text();
            for (int i = 0; i < c.nextClicks; ++i) {
                QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("NextTipButton")), Qt::LeftButton);
                seen << text->text();
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        const kv::TipsState after = kv::showTipOfTheDay(nullptr, {false, c.given});

        ASSERT_EQ(seen.size(), c.nextClicks + 1);
        for (int i = 0; i <= c.nextClicks; ++i)
            EXPECT_EQ(seen.at(i), tips.at((c.first + i) % n)) << i;
        EXPECT_EQ(after, (kv::TipsState{false, (c.first + c.nextClicks + 1) % n}));
    }
}

TEST(TipOfTheDayWindow, EachShowingGoesOnFromTheLast)
{
    const QStringList tips = kv::tips();
    ASSERT_GE(tips.size(), 3);
    kv::TipsState state; // as the first start of the program has it
    QStringList seen;
    for (int start = 0; start < 3; ++start) {
        whenModalShown([&](QDialog *dialog) {
            seen << dialog->findChild<QLabel *>(QStringLiteral("TipText"))->text();
            dialog->findChild<QPushButton *>(QStringLiteral("CloseButton"))->click();
        });
        state = kv::showTipOfTheDay(nullptr, state);
    }
    EXPECT_EQ(seen, tips.mid(0, 3));
    EXPECT_EQ(state, (kv::TipsState{true, 3}));
}

TEST(AboutBox, NamesTheProgramAndItsVersion)
{
    QString title, version, caption;
    whenModalShown([&](QDialog *dialog) {
        caption = dialog->windowTitle();
        title = dialog->findChild<QLabel *>(QStringLiteral("AboutTitle"))->text();
        version = dialog->findChild<QLabel *>(QStringLiteral("AboutVersion"))->text();
        QTest::keyClick(dialog, Qt::Key_Return); // OK is the default button
    });
    kv::showAbout(nullptr);
    EXPECT_EQ(caption, QStringLiteral("About Kestrova Videos 97"));
    EXPECT_EQ(title, QStringLiteral("Kestrova Videos 97"));
    EXPECT_EQ(version, QStringLiteral("Version " KV_VERSION));
}

TEST(ApplicationIcon, HasItsThreeSizes)
{
    const QList<QSize> sizes = kv::applicationIcon().availableSizes();
    for (int size : {48, 64, 128})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

} // namespace
