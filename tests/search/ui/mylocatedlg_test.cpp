// The Locate dialog on the offscreen platform, and Locate Next from the main window.
#include "app/ui/mainwindowfixture.h"
#include "scriptedprompt.h"
#include "search/ui/mylocatedlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

template <typename T> T *in(QWidget &w, const char *name) { return w.findChild<T *>(QString::fromLatin1(name)); }

TEST(LocateDialog, OpensAsRememberedFindsFirstAndNextAndRemembersWhatWasTyped)
{
    kvtest::ScriptedPrompt prompt;
    kv::Table table;
    table.setPath(catalogueWith(QStringLiteral("L.DBF"), {"Heat", "Alien", "Casino", "Aliens"}));
    table.open();
    table.fieldDisplay(0).title = QStringLiteral("Movie");
    kv::LocateOptions options;

    whenShown<kv::TMyLocateDlg>([&](kv::TMyLocateDlg &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Locate Field Value");
        EXPECT_TRUE(in<QRadioButton>(dialog, "BeginningRadio")->isChecked());
        EXPECT_FALSE(in<QCheckBox>(dialog, "CaseCheck")->isChecked());
        EXPECT_TRUE(in<QPushButton>(dialog, "NextButton")->isDefault());
        auto *fields = in<QComboBox>(dialog, "FieldList");
        EXPECT_EQ(fields->currentIndex(), -1);
        fields->setCurrentIndex(fields->findText(QStringLiteral("Movie")));
        QTest::keyClicks(in<QLineEdit>(dialog, "ValueEdit"), QStringLiteral("alien"));
        in<QRadioButton>(dialog, "AnywhereRadio")->setChecked(true);
        in<QPushButton>(dialog, "FirstButton")->click();
    });
    EXPECT_TRUE(kv::TMyLocateDlg(table, options, prompt).Execute());
    EXPECT_EQ(table.fieldText(0), "Alien");
    EXPECT_EQ(options.fieldName, "TITLE");
    EXPECT_EQ(options.searchValue, "alien");
    EXPECT_EQ(options.match, kv::LocateMatch::PartialAnywhere);

    whenShown<kv::TMyLocateDlg>([&](kv::TMyLocateDlg &dialog) {
        EXPECT_EQ(in<QComboBox>(dialog, "FieldList")->currentText(), "Movie");
        EXPECT_EQ(in<QLineEdit>(dialog, "ValueEdit")->text(), "alien");
        in<QPushButton>(dialog, "NextButton")->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(kv::TMyLocateDlg(table, options, prompt).Execute());
    EXPECT_EQ(table.fieldText(0), "Aliens");

    whenShown<kv::TMyLocateDlg>([&](kv::TMyLocateDlg &dialog) {
        in<QPushButton>(dialog, "NextButton")->click();
        EXPECT_TRUE(dialog.isVisible()) << "a failed find keeps the dialog open";
        in<QLineEdit>(dialog, "ValueEdit")->setText(QStringLiteral("zebra"));
        in<QPushButton>(dialog, "FirstButton")->click();
        in<QPushButton>(dialog, "CancelButton")->click();
    });
    EXPECT_FALSE(kv::TMyLocateDlg(table, options, prompt).Execute());
    EXPECT_EQ(prompt.messages(), (QStringList{"Notice: No more matches found", "Notice: No matches found"}));
    EXPECT_EQ(table.fieldText(0), "Aliens");
    EXPECT_EQ(options.searchValue, "zebra") << "kept after Cancel";

    table.close();
    prompt.clear();
    EXPECT_FALSE(kv::TMyLocateDlg(table, options, prompt).Execute());
    EXPECT_EQ(prompt.messages(), QStringList{"Error: DataSource does not reference an active DataSet"});
}

TEST(LocateFromTheMainWindow, LocateNextBeforeAnyLocateOpensTheDialogThenRepeatsIt)
{
    kvtest::ScriptedPrompt prompt;
    setProgramValue("Last Database", catalogueWith(QStringLiteral("A.DBF"), {"Alien", "Heat", "Aliens"}));
    MainPtr main = startMain(prompt);
    main->show();
    kv::Table &master = main->workspace().master();
    master.first();
    int shown = 0;
    whenShown<kv::TMyLocateDlg>([&](kv::TMyLocateDlg &dialog) {
        ++shown;
        auto *fields = in<QComboBox>(dialog, "FieldList");
        fields->setCurrentIndex(fields->findText(kv::locateTitle(master, 0)));
        in<QLineEdit>(dialog, "ValueEdit")->setText(QStringLiteral("ali"));
        in<QPushButton>(dialog, "NextButton")->click();
    });
    child<QAction>(main.get(), "MenuLocateNext")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(master.fieldText(0), "Aliens");
    child<QAction>(main.get(), "MenuLocateNext")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(prompt.messages(), QStringList{"Notice: No more matches found"});
    EXPECT_EQ(master.fieldText(0), "Aliens");
}

} // namespace
