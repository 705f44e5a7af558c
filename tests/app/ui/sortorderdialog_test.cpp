#include "app/ui/sortorderdialog.h"

#include "app/settings/profilefile.h"
#include "app/style/windowstyle.h"
#include "scriptedprompt.h"
#include "store/storetest.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using kv::SortLevels;
using kv::TMySortOrder;

namespace {

const char *const kListNames[] = {"PrimarySort", "SecondarySort", "ThirdLevelSort", "FourthLevelSort"};

const QString kInUseMessage = QStringLiteral(
    "Error: Creating a new sort order requires exclusive use of the DBase File.  Make sure that the DBase File is "
    "not in use by another program  or that no other users are running the software or that no other copies of "
    "the software are in use.");

// A catalogue opened the way the program opens it at start-up, on a workspace whose
// questions the test's prompt answers.
struct Catalogue {
    explicit Catalogue(kv::Prompt &prompt)
        : path(newCatalogue(QStringLiteral("VIDEOS.DBF"))), workspace(settings, prompt), session(workspace)
    {
        settings.lastDatabase = path;
        started = session.openAtStartup();
    }
    QString iniPath() const { return kv::catalogueSettingsPath(path); }
    QString sortTag() { return workspace.master().indexExpression(QString::fromLatin1(kv::kSortTagName)); }

    QString path;
    kv::Settings settings;
    kv::Workspace workspace;
    kv::CatalogueSession session;
    bool started = false;
};

QComboBox *list(const TMySortOrder &dialog, int level)
{
    return dialog.findChild<QComboBox *>(QString::fromLatin1(kListNames[level]));
}

void choose(const TMySortOrder &dialog, const SortLevels &levels)
{
    for (int level = 0; level < kv::kSortLevelCount; ++level)
        list(dialog, level)->setCurrentIndex(levels[size_t(level)]);
}

void click(const TMySortOrder &dialog, const char *button)
{
    auto *b = dialog.findChild<QPushButton *>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

TEST(SortOrderDialog, ListsHoldNoneAndTheCataloguesCaptionsInFieldOrder)
{
    kvtest::ScriptedPrompt prompt;
    Catalogue cat(prompt);
    ASSERT_TRUE(cat.started);
    cat.settings.field(kv::fields::Title).caption = QStringLiteral("Movie Name");

    TMySortOrder dialog(cat.workspace, cat.session);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TMySortOrder"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sort Order"));
    const char *const captions[] = {"Primary Sort", "Secondary Sort", "Third Level Sort", "Fourth Level Sort"};
    for (int level = 0; level < kv::kSortLevelCount; ++level) {
        SCOPED_TRACE(kListNames[level]);
        QComboBox *box = list(dialog, level);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isEditable());
        QStringList items;
        for (int k = 0; k < box->count(); ++k)
            items << box->itemText(k);
        QStringList expected{QStringLiteral("<NONE>"), QStringLiteral("Movie Name")};
        for (int field = 2; field <= kv::kFieldCount; ++field)
            expected << kv::defaultCaption(field);
        EXPECT_EQ(items, expected);

        // Its label names it and leads to it from the keyboard.
        QLabel *label = nullptr;
        for (QLabel *l : dialog.findChildren<QLabel *>())
            if (l->buddy() == box)
                label = l;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text().remove(QLatin1Char('&')), QString::fromLatin1(captions[level]));
    }
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("OkButton"));
    auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("CancelButton"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), QStringLiteral("&Ok"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
}

TEST(SortOrderDialog, ShowingSelectsTheCurrentLevelsInTheConfigureLook)
{
    kvtest::ScriptedPrompt prompt;
    Catalogue cat(prompt);
    ASSERT_TRUE(cat.started);
    kv::Settings &s = cat.settings;
    s.sortLevels = {1, 0, 11, 40};
    s.colorSet(kv::WindowFamily::Configure)[kv::ColorRole::MainBackground] = QColor(0, 128, 128);
    s.colorSet(kv::WindowFamily::Configure)[kv::ColorRole::ComboBackground] = QColor(255, 255, 128);
    s.colorSet(kv::WindowFamily::Main)[kv::ColorRole::MainBackground] = QColor(255, 0, 0);
    s.font(kv::FontRole::Edit).font = QFont(QStringLiteral("Courier New"), 20);

    TMySortOrder dialog(cat.workspace, cat.session);
    dialog.show();
    EXPECT_EQ(dialog.selectedLevels(), (SortLevels{1, 0, 11, 40}));
    EXPECT_EQ(list(dialog, 3)->currentText(), kv::defaultCaption(40));
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0, 128, 128));
    EXPECT_EQ(list(dialog, 0)->palette().color(QPalette::Button), QColor(255, 255, 128));
    EXPECT_EQ(list(dialog, 0)->font().family(), QStringLiteral("Courier New"));
    EXPECT_NE(list(dialog, 0)->font().pointSize(), 20);
}

TEST(SortOrderDialog, OkMakesTheLevelsTheCataloguesOrderAndCloses)
{
    kvtest::ScriptedPrompt prompt;
    Catalogue cat(prompt);
    ASSERT_TRUE(cat.started);
    // Titles alike in their first 20 characters fall to the first star.
    addRecords(cat.workspace.master(), {
                                         {{"Title", QStringLiteral("The Same First Twenty A")}, {"Star1", QStringLiteral("Beta")}},
                                         {{"Title", QStringLiteral("The Same First Twenty Z")}, {"Star1", QStringLiteral("Alpha")}},
                                         {{"Title", QStringLiteral("alien")}, {"Star1", QStringLiteral("Zed")}},
                                     });
    int viewerSetups = 0;
    QObject::connect(&cat.workspace, &kv::Workspace::viewerChanged, [&] { ++viewerSetups; });

    TMySortOrder dialog(cat.workspace, cat.session);
    dialog.show();
    choose(dialog, {1, 2, 3, 4});
    click(dialog, "OkButton");

    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(cat.settings.sortLevels, (SortLevels{1, 2, 3, 4}));
    EXPECT_EQ(cat.sortTag(), QStringLiteral("Upper(Left(Title,20))+Upper(Left(Star1,20))+Upper(Left(Star2,20))+"
                                            "Upper(Left(Star3,20))"));
    kv::Table &master = cat.workspace.master();
    EXPECT_TRUE(master.isOpen());
    EXPECT_FALSE(master.exclusive());
    EXPECT_EQ(master.indexName(), QString::fromLatin1(kv::kSortTagName));
    EXPECT_EQ(walk(master, "Title"), (QStringList{QStringLiteral("alien"), QStringLiteral("The Same First Twenty Z"),
                                                  QStringLiteral("The Same First Twenty A")}));
    EXPECT_GE(viewerSetups, 1);

    const kv::ProfileFile ini = kv::ProfileFile::read(cat.iniPath());
    const char *const keys[] = {"Primary Sort", "Secondary Sort", "Third Level Sort", "Fourth Level Sort"};
    for (int level = 0; level < kv::kSortLevelCount; ++level)
        EXPECT_EQ(ini.value(QStringLiteral("Sort Order"), QString::fromLatin1(keys[level])),
                  QString::number(level + 1))
            << keys[level];
}

TEST(SortOrderDialog, CatalogueInUseElsewhereKeepsTheOldOrderAndTheDialogOpen)
{
    kvtest::ScriptedPrompt prompt;
    Catalogue cat(prompt);
    ASSERT_TRUE(cat.started);
    const QString oldTag = cat.sortTag();
    ASSERT_EQ(oldTag, QStringLiteral("Upper(Left(Star1,80))"));
    const QByteArray oldIndex = kvtest::readFile(kv::mdxPathFor(cat.path));

    TMySortOrder dialog(cat.workspace, cat.session);
    dialog.show();
    choose(dialog, {1, 0, 11, 0});
    {
        kv::Table other;
        other.setPath(cat.path);
        other.open();
        click(dialog, "OkButton");

        EXPECT_EQ(prompt.messages(), QStringList{kInUseMessage});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(cat.settings.sortLevels, (SortLevels{2, 0, 0, 0}));
        EXPECT_EQ(cat.sortTag(), oldTag);
        EXPECT_EQ(kvtest::readFile(kv::mdxPathFor(cat.path)), oldIndex);
        EXPECT_FALSE(QFileInfo::exists(cat.iniPath()));
        EXPECT_TRUE(cat.workspace.master().isOpen());
        // The choice stays on screen for another try.
        EXPECT_EQ(dialog.selectedLevels(), (SortLevels{1, 0, 11, 0}));
    }

    // Once the other user has let go, the same choice goes through.
    prompt.clear();
    click(dialog, "OkButton");
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(cat.sortTag(), QStringLiteral("Upper(Left(Title,40))+STR(Year,12,0)"));
}

TEST(SortOrderDialog, CancelChangesNothing)
{
    kvtest::ScriptedPrompt prompt;
    Catalogue cat(prompt);
    ASSERT_TRUE(cat.started);
    const QByteArray oldIndex = kvtest::readFile(kv::mdxPathFor(cat.path));

    TMySortOrder dialog(cat.workspace, cat.session);
    dialog.show();
    choose(dialog, {32, 1, 0, 0});
    click(dialog, "CancelButton");

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(cat.settings.sortLevels, (SortLevels{2, 0, 0, 0}));
    EXPECT_EQ(cat.sortTag(), QStringLiteral("Upper(Left(Star1,80))"));
    EXPECT_EQ(kvtest::readFile(kv::mdxPathFor(cat.path)), oldIndex);
    EXPECT_FALSE(QFileInfo::exists(cat.iniPath()));
}

TEST(SortOrderDialog, KeyboardReachesEachListAndEnterConfirms)
{
    kvtest::ScriptedPrompt prompt;
    Catalogue cat(prompt);
    ASSERT_TRUE(cat.started);

    TMySortOrder dialog(cat.workspace, cat.session);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), list(dialog, 0));

    const struct {
        Qt::Key mnemonic;
        int level;
    } keys[] = {{Qt::Key_T, 2}, {Qt::Key_S, 1}, {Qt::Key_F, 3}, {Qt::Key_P, 0}};
    for (const auto &k : keys) {
        SCOPED_TRACE(kListNames[k.level]);
        QTest::keyClick(&dialog, k.mnemonic, Qt::AltModifier);
        ASSERT_EQ(QApplication::focusWidget(), list(dialog, k.level));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    }
    EXPECT_EQ(dialog.selectedLevels(), (SortLevels{3, 1, 1, 1}));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(cat.settings.sortLevels, (SortLevels{3, 1, 1, 1}));
}
