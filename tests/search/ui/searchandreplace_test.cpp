// The Search and Replace window on the offscreen platform.
#include "app/ui/mainwindowfixture.h"
#include "search/ui/searchandreplace.h"
#include "workspacefixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

TEST(SearchAndReplaceWindow, TheFieldSetsTheBoxesRulesAndARunClosesTheWindow)
{
    kvtest::WorkspaceFixture f;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        f.settings.field(n).caption = kv::defaultCaption(n);
    f.workspace.master().setPath(newCatalogue());
    ASSERT_TRUE(f.workspace.openMaster());
    addRecords(f.workspace.master(), {{{"Title", "A"}, {"Year", "1995"}}, {{"Title", "B"}, {"Year", "1990"}}});
    kv::TSearchAndReplace window(f.workspace);
    window.show();
    auto *fields = window.findChild<QComboBox *>(QStringLiteral("FieldList"));
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("SearchEdit"));
    auto *replacement = window.findChild<QLineEdit *>(QStringLiteral("ReplaceEdit"));
    auto *start = window.findChild<QPushButton *>(QStringLiteral("StartButton"));
    EXPECT_EQ(fields->count(), 40);
    EXPECT_EQ(fields->itemText(11), "Play Time");

    start->click();
    EXPECT_EQ(f.prompt.messages(), QStringList{"Error: No field has been selected."});

    fields->setCurrentIndex(0);
    EXPECT_EQ(search->maxLength(), 60);
    search->setText(QStringLiteral("x"));
    fields->setCurrentIndex(10); // Year
    EXPECT_EQ(search->text(), "") << "a new field empties the boxes";
    EXPECT_FALSE(search->inputMask().isEmpty());
    QTest::keyClicks(search, QStringLiteral("1995"));
    QTest::keyClicks(replacement, QStringLiteral("19x6"));
    f.prompt.clear();
    start->click();
    EXPECT_EQ(f.prompt.messages(), QStringList{"Error: Invalid replacement value entered.  Please correct."});
    EXPECT_TRUE(window.isVisible());

    replacement->clear();
    QTest::keyClicks(replacement, QStringLiteral("1996"));
    f.prompt.clear();
    QString processedAtTheEnd;
    f.prompt.whileShown = [&](const kvtest::Shown &m) {
        if (m.caption == "Finished")
            processedAtTheEnd = window.findChild<QLabel *>(QStringLiteral("ProcessedValue"))->text();
    };
    start->click();
    f.prompt.whileShown = nullptr;
    EXPECT_EQ(f.prompt.messages(), QStringList{"Finished: Global Search and Replace Complete."});
    EXPECT_EQ(processedAtTheEnd, "2") << "the closing message comes with the run's last counts, past the last match";
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("ChangedValue"))->text(), "1");
    EXPECT_EQ(column(f.workspace.master(), "Year"), (QStringList{"1996", "1990"}));
}

} // namespace
