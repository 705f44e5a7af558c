// The Statistics and Duplicates windows on a real catalogue: figures shown, copied and
// saved; records opened and deleted through the program's own commands.
#include "collection/ui/duplicateswindow.h"
#include "collection/ui/statswindow.h"
#include "collectionfixture.h"
#include "workspacefixture.h"

#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using kvtest::Video;

struct CollectionWindowsTest : ::testing::Test {
    kvtest::WorkspaceFixture f;
    kv::Workspace &ws = f.workspace;

    void SetUp() override
    {
        ws.master().setPath(newCatalogue());
        ASSERT_TRUE(ws.openMaster());
        auto video = [](const char *title, const char *category, const char *year, const char *out, int days) {
            Video v;
            v.title = QString::fromUtf8(title);
            v.category = QString::fromLatin1(category);
            v.year = QString::fromLatin1(year);
            v.checkOut = QString::fromLatin1(out);
            v.checkName = QStringLiteral("Rick");
            v.daysOut = days;
            return v;
        };
        kvtest::addVideos(ws.master(), {video("The Big Sleep", "Drama", "1946", "Yes", 45),
                                        video("Heat", "Thriller", "1995", "No", -1),
                                        video("Big Sleep", "Drama", "1946", "No", -1),
                                        video("Amélie", "Comedy", "2001", "Yes", 3)});
    }
};

TEST_F(CollectionWindowsTest, StatisticsShowChartsAndFiguresAndCopyAndSaveThem)
{
    kv::TStatistics w(ws);
    w.show();
    EXPECT_FALSE(w.findChild<QRadioButton *>("ResultRadio")->isEnabled()); // no search on
    EXPECT_EQ(w.stats().records, 4);
    EXPECT_EQ(w.findChildren<QChartView *>().size(), 6);
    EXPECT_NE(w.findChild<QChartView *>("CategoryChart"), nullptr);
    EXPECT_TRUE(w.findChild<QLabel *>("TotalsLabel")->text().contains("4 videos"));
    const QTableWidget *loans = w.findChild<QTableWidget *>("LoansTable");
    ASSERT_EQ(loans->rowCount(), 2);
    EXPECT_EQ(loans->item(0, 0)->text(), "The Big Sleep");
    EXPECT_EQ(loans->item(0, 4)->text(), "overdue");
    EXPECT_EQ(loans->item(1, 4)->text(), "");

    // The overdue days the user sets count again.
    w.findChild<QSpinBox *>("OverdueSpin")->setValue(50);
    EXPECT_EQ(w.stats().overdue, 0);
    EXPECT_EQ(w.findChild<QTableWidget *>("LoansTable")->item(0, 4)->text(), "");

    w.CopyButtonClick();
    EXPECT_EQ(QApplication::clipboard()->text(), kv::statsText(w.stats()));

    const QString png = kvtest::tempPath("stats.png"), pdf = kvtest::tempPath("stats.pdf");
    f.prompt.answerFile(png).answerFile(pdf).answerFile(kvtest::tempPath("no/such/folder/stats.pdf"));
    w.PngButtonClick();
    const QImage picture(png);
    EXPECT_EQ(picture.size(), w.page()->size() * w.page()->devicePixelRatioF());
    w.PdfButtonClick();
    EXPECT_TRUE(kvtest::readFile(pdf).startsWith("%PDF-"));
    w.PdfButtonClick();
    ASSERT_EQ(f.prompt.shown().size(), 4u);
    EXPECT_EQ(f.prompt.shown()[0].caption, "Save Statistics as PNG");
    EXPECT_EQ(f.prompt.shown()[1].caption, "Save Statistics as PDF");
    EXPECT_EQ(f.prompt.messages(), QStringList{"Error: The file \"" + kvtest::tempPath("no/such/folder/stats.pdf") +
                                               "\" could not be written."});
}

TEST_F(CollectionWindowsTest, StatisticsOfASearchResult)
{
    ws.search().start([](const kv::RecordRef &r) { return r.text(QStringLiteral("Category")) == "Drama"; });
    kv::TStatistics w(ws);
    EXPECT_TRUE(w.findChild<QRadioButton *>("ResultRadio")->isChecked());
    EXPECT_EQ(w.stats().records, 2);
    w.findChild<QRadioButton *>("EntireRadio")->setChecked(true);
    EXPECT_EQ(w.stats().records, 4);
}

TEST_F(CollectionWindowsTest, DuplicatesOpensAndDeletesTheCheckedRecords)
{
    int edited = 0;
    std::uint32_t editedRecord = 0;
    kv::TDuplicates w(ws, [&] {
        ++edited;
        editedRecord = ws.master().recNo();
    });
    QTreeWidget *tree = w.tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Title: BIG SLEEP");
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 2);
    QTreeWidgetItem *second = tree->topLevelItem(0)->child(1);
    EXPECT_EQ(second->text(0), "Big Sleep");

    tree->setCurrentItem(second);
    w.EditButtonClick();
    EXPECT_EQ(edited, 1);
    EXPECT_EQ(editedRecord, 3u);

    // Each checked record through the delete command: its question, then the next. The
    // groups were read again after the edit.
    tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked);
    f.prompt.answer(kv::Answer::Yes);
    w.DeleteButtonClick();
    EXPECT_EQ(f.prompt.messages(), QStringList{"Confirm: Delete this record?"});
    EXPECT_EQ(ws.recordCount(), 3);
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"The Big Sleep", "Heat", QString::fromUtf8("Amélie")}));
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(w.findChild<QLabel *>("SummaryLabel")->text(), QString::fromLatin1(kv::kNoDuplicates));
    EXPECT_FALSE(w.findChild<QPushButton *>("DeleteButton")->isEnabled());
}

TEST_F(CollectionWindowsTest, DuplicatesAnsweredNoKeepsTheRecord)
{
    kv::TDuplicates w(ws, {});
    w.tree()->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
    f.prompt.answer(kv::Answer::No);
    w.DeleteButtonClick();
    EXPECT_EQ(ws.recordCount(), 4);
    EXPECT_EQ(w.tree()->topLevelItemCount(), 1);
}

} // namespace
