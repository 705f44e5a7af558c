// The label options, the label dimensions and the media-number picker, offscreen, with the
// scripted prompt answering.
#include "reports/ui/choosemedia.h"
#include "reports/ui/labeldimsdialog.h"
#include "reports/ui/labeloptions.h"

#include "dialogfixture.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using kvtest::child;

namespace {

TEST(LabelOptions, ShowsTheItemsUnderTheirCaptionsAndStoresThemOnClose)
{
    kvtest::WorkspaceFixture f;
    f.settings.field(kv::fields::Year).caption = QStringLiteral("Released");
    f.settings.labelRating = false;
    kv::TLabelOptions options(f.workspace);
    options.show();
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Label Options"));
    auto *year = child<QCheckBox>(&options, "YearItem");
    EXPECT_EQ(year->text(), QStringLiteral("Released"));
    EXPECT_TRUE(year->isChecked());
    auto *rating = child<QCheckBox>(&options, "RatingItem");
    EXPECT_FALSE(rating->isChecked());
    EXPECT_EQ(options.findChildren<QCheckBox *>().size(), 8);
    EXPECT_EQ(child<QLabel>(&options, "FontToUse")->text(), QStringLiteral("10pt Arial"));

    year->click();
    rating->click();
    EXPECT_TRUE(f.settings.labelYearReleased); // not before the dialog closes
    options.close();
    EXPECT_FALSE(f.settings.labelYearReleased);
    EXPECT_TRUE(f.settings.labelRating);
}

TEST(LabelOptions, NewFontIsKeptAtTenPoints)
{
    kvtest::WorkspaceFixture f;
    kv::TLabelOptions options(f.workspace);
    options.show();
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(14);
    chosen.setBold(true);
    f.prompt.answerFont(chosen);
    child<QPushButton>(&options, "NewButton")->click();
    const QFont &stored = f.settings.font(kv::FontRole::ReportLabel).font;
    EXPECT_EQ(stored.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(stored.pointSize(), 10);
    EXPECT_TRUE(stored.bold());
    EXPECT_EQ(child<QLabel>(&options, "FontToUse")->text(), QStringLiteral("10pt Liberation Serif"));
    EXPECT_EQ(f.prompt.shown().back().caption, QStringLiteral("Label Font"));

    f.prompt.answerFont(std::nullopt);
    child<QPushButton>(&options, "NewButton")->click();
    EXPECT_EQ(f.settings.font(kv::FontRole::ReportLabel).font.family(), QStringLiteral("Liberation Serif"));
}

TEST(LabelDimsDialog, AFaceCountTypedAsAWordIsRefusedAndNothingStored)
{
    kvtest::WorkspaceFixture f;
    QFile::remove(kv::programSettingsPath());
    kv::TLabelDims dims(f.workspace);
    dims.show();
    dims.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dims));
    EXPECT_EQ(dims.windowTitle(), QStringLiteral("Dimensions (in inches)"));
    EXPECT_EQ(child<QLineEdit>(&dims, "FaceHeight")->text(), QStringLiteral("1.8125"));
    child<QLineEdit>(&dims, "FaceTop")->setText(QStringLiteral("0.75"));
    child<QLineEdit>(&dims, "FaceCount")->setText(QStringLiteral("ten"));
    child<QPushButton>(&dims, "OkButton")->click();

    EXPECT_EQ(f.prompt.messages(), QStringList{QStringLiteral("Error: Invalid count specified.  Please correct")});
    EXPECT_TRUE(child<QLineEdit>(&dims, "FaceCount")->hasFocus());
    EXPECT_TRUE(dims.isVisible());
    EXPECT_EQ(f.settings.labelDimensions, kv::LabelDimensions{});
    EXPECT_FALSE(QFile::exists(kv::programSettingsPath()));
}

TEST(LabelDimsDialog, OkTakesTheValuesAndWritesTheProgramSettings)
{
    kvtest::WorkspaceFixture f;
    kv::TLabelDims dims(f.workspace);
    dims.show();
    child<QLineEdit>(&dims, "SpineGap")->setText(QStringLiteral("0.0625"));
    child<QLineEdit>(&dims, "SpineCount")->setText(QStringLiteral("12"));
    child<QPushButton>(&dims, "OkButton")->click();

    EXPECT_FALSE(dims.isVisible());
    EXPECT_DOUBLE_EQ(f.settings.labelDimensions.spineGap, 0.0625);
    EXPECT_EQ(f.settings.labelDimensions.spineCount, 12);
    kv::Settings reread;
    kv::readSettings(QString(), kv::SettingsScope::Program, reread);
    EXPECT_EQ(reread.labelDimensions, f.settings.labelDimensions);
}

TEST(ChooseMedia, ListsTheFileOrderAndTakesTheCurrentRow)
{
    kvtest::WorkspaceFixture f;
    kv::Table &master = f.workspace.master();
    master.setPath(newCatalogue());
    master.open();
    addRecords(master, {{{"MediaNum", "Z9"}, {"Title", "Vertigo"}},
                        {{"MediaNum", "A1"}, {"Title", "Casablanca"}},
                        {{"MediaNum", "M5"}, {"Title", "Brazil"}}});
    // the viewer's search and place are the viewer's own
    f.workspace.search().start([](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")) == "Brazil"; });
    f.settings.field(kv::fields::MediaNum).caption = QStringLiteral("Tape");

    for (const bool ok : {true, false}) {
        kv::TChooseMedia choose(f.workspace);
        choose.show();
        EXPECT_EQ(choose.windowTitle(), QStringLiteral("Choose Media Number"));
        auto *grid = child<QTableView>(&choose, "MediaGrid");
        QAbstractItemModel *model = grid->model();
        ASSERT_EQ(model->rowCount(), 3);
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Tape"));
        EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("Z9"));
        EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("Casablanca"));
        grid->selectRow(2);
        child<QPushButton>(&choose, ok ? "OkButton" : "CancelButton")->click();
        EXPECT_EQ(choose.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(choose.chosen(), ok ? QStringLiteral("M5") : QString());
    }
    EXPECT_EQ(f.workspace.recordCount(), 1);
}

} // namespace
