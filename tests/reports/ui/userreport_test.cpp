// The report definition window, the layout editor, the part editor and the font editor
// on the offscreen platform, with a real definitions file and the scripted prompt.
#include "reports/ui/userreport.h"

#include "../runfixture.h"

#include "dialogfixture.h"
#include "reports/builtinreports.h"
#include "reports/reportlayout.h"
#include "reports/ui/replayout.h"
#include "reports/ui/reportfonts.h"
#include "reports/ui/reportpart.h"
#include "support/testenv.h"
#include "workspacefixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using kv::Answer;
using kv::TUserReport;
using kvtest::child;

namespace {

struct Definitions : kvtest::WorkspaceFixture {
    kv::ReportFile file{kvtest::tempPath(QStringLiteral("QVRVID.URP"))};
    kv::TReportDefRec current;

    Definitions()
    {
        QFile::remove(file.path()); // each case starts from the six built-in reports
        EXPECT_TRUE(file.append(kv::builtInReports()));
    }
};

void showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    box->clearFocus(); // leaves the box as the user would
    QCoreApplication::processEvents();
}

void click(QWidget *window, const char *name) { child<QAbstractButton>(window, name)->click(); }

TEST(UserReportWindow, NewDefinitionShowsItsDefaultsAndIsAppended)
{
    Definitions d;
    d.current.name = QStringLiteral("whatever was current");
    TUserReport window(d.workspace, d.file, d.current);
    showActive(&window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Report Definition"));
    EXPECT_TRUE(child<QRadioButton>(&window, "Chars90")->isChecked());
    EXPECT_EQ(child<QLabel>(&window, "RepBodyDataFont")->text(), QStringLiteral("Courier New 10pt"));
    EXPECT_EQ(child<QLineEdit>(&window, "NumLines")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLineEdit>(&window, "LeftMargin")->text(), QStringLiteral("0.50"));
    EXPECT_TRUE(child<QCheckBox>(&window, "Level1Group")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&window, "Level2Group")->isChecked());
    EXPECT_FALSE(child<QPushButton>(&window, "DeleteButton")->isEnabled());

    typeInto(child<QLineEdit>(&window, "ReportName"), QStringLiteral("My Own Report"));
    typeInto(child<QLineEdit>(&window, "Title1"), QStringLiteral("Every Tape"));
    click(&window, "UpdateButton");

    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.change(), TUserReport::Change::Written);
    EXPECT_EQ(window.writtenIndex(), 6);
    kv::TReportDefRec saved;
    ASSERT_TRUE(d.file.read(6, saved));
    kv::TReportDefRec expected = kv::newReportDef();
    expected.name = QStringLiteral("My Own Report");
    expected.titles[0] = QStringLiteral("Every Tape");
    EXPECT_EQ(saved, expected);
    EXPECT_TRUE(d.prompt.messages().isEmpty());
}

TEST(UserReportWindow, ModifyShowsTheRecordAndDeleteFollowsTheName)
{
    Definitions d;
    TUserReport window(d.workspace, d.file, d.current, 2);
    showActive(&window);
    EXPECT_EQ(child<QLineEdit>(&window, "ReportName")->text(), QStringLiteral("Star Report"));
    EXPECT_TRUE(child<QRadioButton>(&window, "Chars120")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&window, "NumLines")->text(), QStringLiteral("3"));
    // a layout of several lines draws no boxes: the line options are off
    EXPECT_FALSE(child<QCheckBox>(&window, "ColumnHeaders")->isEnabled());
    auto *del = child<QPushButton>(&window, "DeleteButton");
    EXPECT_TRUE(del->isEnabled());

    auto *name = child<QLineEdit>(&window, "ReportName");
    typeInto(name, QStringLiteral("Stars"));
    EXPECT_FALSE(del->isEnabled());
    typeInto(name, QStringLiteral("  Star Report"));
    EXPECT_TRUE(del->isEnabled());

    typeInto(child<QLineEdit>(&window, "NumLines"), QStringLiteral("1"));
    EXPECT_TRUE(child<QCheckBox>(&window, "ColumnHeaders")->isEnabled());

    auto *level1 = child<QCheckBox>(&window, "Level1Group");
    auto *level2 = child<QCheckBox>(&window, "Level2Group");
    EXPECT_TRUE(level2->isEnabled());
    QTest::mouseClick(level1, Qt::LeftButton);
    EXPECT_FALSE(level2->isEnabled());
}

TEST(UserReportWindow, LineCountOutOfRangeKeepsTheWindowOpen)
{
    const struct {
        const char *typed;
        bool accepted;
    } cases[] = {{"13", false}, {"-1", false}, {"12", true}, {"0", true}};
    for (const auto &c : cases) {
        Definitions d;
        TUserReport window(d.workspace, d.file, d.current, 0);
        showActive(&window);
        typeInto(child<QLineEdit>(&window, "NumLines"), QString::fromLatin1(c.typed));
        click(&window, "UpdateButton");
        EXPECT_EQ(window.isVisible(), !c.accepted) << c.typed;
        EXPECT_EQ(d.prompt.messages(),
                  c.accepted ? QStringList()
                             : QStringList{QStringLiteral(
                                   "Notice: Number of lines must be in range of 0 to 12.  Please correct.")})
            << c.typed;
        if (!c.accepted) {
            EXPECT_TRUE(child<QLineEdit>(&window, "NumLines")->hasFocus()) << c.typed;
        }
        kv::TReportDefRec saved;
        ASSERT_TRUE(d.file.read(0, saved));
        EXPECT_EQ(saved.lineCount, c.accepted ? QString::fromLatin1(c.typed).toInt() : 1) << c.typed;
    }
}

TEST(UserReportWindow, RenameWithYesAppendsWithNoOverwrites)
{
    for (Answer answer : {Answer::Yes, Answer::No}) {
        Definitions d;
        TUserReport window(d.workspace, d.file, d.current, 1);
        showActive(&window);
        typeInto(child<QLineEdit>(&window, "ReportName"), QStringLiteral("Ratings, Renamed"));
        d.prompt.answer(answer);
        click(&window, "UpdateButton");
        ASSERT_EQ(window.change(), TUserReport::Change::Written);
        const QStringList names = d.file.names();
        if (answer == Answer::Yes) {
            EXPECT_EQ(names.size(), 7);
            EXPECT_EQ(names.at(1), QStringLiteral("Ratings Report"));
            EXPECT_EQ(window.writtenIndex(), 6);
        } else {
            EXPECT_EQ(names.size(), 6);
            EXPECT_EQ(window.writtenIndex(), 1);
        }
        EXPECT_EQ(names.at(window.writtenIndex()), QStringLiteral("Ratings, Renamed"));
    }
}

TEST(UserReportWindow, WidthRefusedPutsTheOldButtonBack)
{
    Definitions d;
    TUserReport window(d.workspace, d.file, d.current, 2); // 120 characters
    showActive(&window);
    d.prompt.answer(Answer::No);
    click(&window, "Chars90");
    EXPECT_TRUE(child<QRadioButton>(&window, "Chars120")->isChecked());
    EXPECT_EQ(d.current.lineWidth, 120);

    click(&window, "Chars150");
    EXPECT_TRUE(child<QRadioButton>(&window, "Chars150")->isChecked());
    EXPECT_EQ(child<QLabel>(&window, "RepBodyDataFont")->text(), QStringLiteral("Arial 6pt"));
    EXPECT_EQ(d.prompt.messages().size(), 2);
}

TEST(UserReportWindow, DeleteRemovesTheRecordAfterTheQuestion)
{
    Definitions d;
    TUserReport window(d.workspace, d.file, d.current, 5);
    showActive(&window);
    d.prompt.answer(Answer::Yes);
    click(&window, "DeleteButton");
    EXPECT_EQ(window.change(), TUserReport::Change::Deleted);
    EXPECT_EQ(d.file.names().size(), 5);
    EXPECT_EQ(d.prompt.messages(),
              QStringList{QStringLiteral("Warning: Are you sure you want to delete this report?")});
}

// The centre of part `part` of line `line` as the layout editor draws it.
QPoint partCentre(const kv::TRepLayout &layout, int line, int part)
{
    for (const kv::LayoutStrip &strip : layout.area().strips) {
        if (strip.line != line)
            continue;
        const QList<kv::PartBox> boxes = kv::partBoxes(kv::lineOf(layout.layout(), line), layout.layout().lineWidth,
                                                       layout.area().left, layout.area().right, {}, false);
        const kv::PartBox &box = boxes.at(part - 1);
        return QPoint(int((box.left + box.right) / 2), int((strip.top + strip.bottom) / 2));
    }
    ADD_FAILURE() << "no strip for line " << line;
    return {};
}

TEST(UserReportWindow, SpecifiedLayoutIsSavedAndPrintedAsDrawn)
{
    Definitions d;
    TUserReport window(d.workspace, d.file, d.current);
    showActive(&window);
    typeInto(child<QLineEdit>(&window, "ReportName"), QStringLiteral("Drawn"));
    typeInto(child<QLineEdit>(&window, "NumLines"), QStringLiteral("2"));

    bool partEdited = false;
    kvtest::whenShown<kv::TRepLayout>([&](kv::TRepLayout &layout) {
        EXPECT_EQ(layout.windowTitle(), QStringLiteral("Specify Report Layout"));
        EXPECT_EQ(child<QLabel>(&layout, "ReportLabel")->text(), QStringLiteral("Report: "));
        kvtest::whenShown<kv::TReportPart>([&](kv::TReportPart &part) {
            EXPECT_EQ(child<QLabel>(&part, "SelectedPart")->text(), QStringLiteral("Line 2, Item 1"));
            EXPECT_TRUE(child<QRadioButton>(&part, "RadioFiller")->isChecked());
            EXPECT_FALSE(child<QListWidget>(&part, "FieldList")->isEnabled());
            click(&part, "RadioField");
            EXPECT_TRUE(child<QListWidget>(&part, "FieldList")->isEnabled());
            EXPECT_FALSE(child<QLineEdit>(&part, "LabelName")->isEnabled());
            child<QListWidget>(&part, "FieldList")->setCurrentRow(kv::fields::MediaNum - 1);
            typeInto(child<QLineEdit>(&part, "FieldWidth"), QStringLiteral("12"));
            click(&part, "OkButton");
            partEdited = !part.isVisible();
        });
        const QPoint at = partCentre(layout, 2, 1);
        QTest::mousePress(&layout, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&layout, Qt::LeftButton, {}, at);
        EXPECT_EQ(kv::lineOf(layout.layout(), 2)[0].kind, QStringLiteral("MediaNum"));
        click(&layout, "OkButton");
    });
    click(&window, "SpecifyButton");
    EXPECT_TRUE(partEdited);

    click(&window, "UpdateButton");
    ASSERT_EQ(window.change(), TUserReport::Change::Written);
    kv::TReportDefRec saved;
    ASSERT_TRUE(d.file.read(window.writtenIndex(), saved));
    EXPECT_EQ(saved.lineCount, 2);
    EXPECT_EQ(saved.bodyLines[1][0].kind, QStringLiteral("MediaNum"));
    EXPECT_EQ(saved.bodyLines[1][0].fieldNumber, kv::fields::MediaNum);
    EXPECT_EQ(saved.bodyLines[1][0].width, 12);
    EXPECT_EQ(saved.bodyLines[1][1].width, 78); // the part of width 0 after it takes the rest of 90
    EXPECT_EQ(saved.bodyLines[1][2].width, 0);

    // It prints as drawn: each record's second line is its media number in a column of 12.
    kvtest::RunFixture catalogue;
    const QList<QByteArray> lines = catalogue.textFile(catalogue.setup(saved, kv::OutputMode::TextFile)).split('\n');
    QList<QByteArray> records;
    for (const QByteArray &l : lines)
        if (!l.trimmed().isEmpty() && l[0] != ' ')
            records << l;
    ASSERT_EQ(records.size(), 7); // six records and the footer
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(records[i], kvtest::sixVideos()[size_t(i)].media.toLatin1().leftJustified(90) + '\r');
}

TEST(RepLayout, PressAndReleaseInDifferentBoxesOpenNothing)
{
    kvtest::ScriptedPrompt prompt;
    kv::TReportDefRec def = kv::builtInReports().at(2); // Star Report: three lines
    kv::TRepLayout layout(def, def.lineCount, false, {}, 1.0, prompt);
    layout.show();
    ASSERT_EQ(layout.area().strips.size(), 3);
    QTest::mousePress(&layout, Qt::LeftButton, {}, partCentre(layout, 1, 1));
    QTest::mouseRelease(&layout, Qt::LeftButton, {}, partCentre(layout, 1, 3));
    QTest::mousePress(&layout, Qt::LeftButton, {}, QPoint(300, 20));
    QTest::mouseRelease(&layout, Qt::LeftButton, {}, QPoint(300, 20));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(layout.layout(), def);
    EXPECT_FALSE(child<QLabel>(&layout, "TotalsLabel")->isVisible());
}

TEST(RepLayout, CaptionsFollowTheLineCountAndTotals)
{
    kvtest::ScriptedPrompt prompt;
    kv::TReportDefRec def = kv::newReportDef();
    def.name = QStringLiteral("Thirty characters, the longest");
    const struct {
        int lines;
        bool useTotals;
        bool body;
        int strips;
    } cases[] = {{0, true, false, 1}, {0, false, false, 0}, {12, false, true, 12}};
    for (const auto &c : cases) {
        kv::TRepLayout layout(def, c.lines, c.useTotals, {}, 1.0, prompt);
        layout.show();
        EXPECT_EQ(child<QLabel>(&layout, "BodyLabel")->isVisible(), c.body) << c.lines;
        EXPECT_EQ(child<QLabel>(&layout, "TotalsLabel")->isVisible(), c.useTotals) << c.lines;
        EXPECT_EQ(layout.area().strips.size(), c.strips) << c.lines;
        EXPECT_EQ(child<QLabel>(&layout, "ReportLabel")->text(), QStringLiteral("Report: ") + def.name);
    }
}

TEST(ReportFonts, NewFontChangesOneFontAndItsCaption)
{
    kvtest::ScriptedPrompt prompt;
    kv::TReportDefRec def = kv::newReportDef();
    def.bodyFont.color = 0x0000FF;
    kv::TReportFonts fonts(def, prompt);
    fonts.show();
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(14);
    chosen.setItalic(true);
    prompt.answerFont(chosen);
    click(&fonts, "BodyFontButton");
    EXPECT_EQ(def.bodyFont.name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(def.bodyFont.size, 14);
    EXPECT_TRUE(def.bodyFont.italic);
    EXPECT_FALSE(def.bodyFont.bold);
    EXPECT_EQ(def.bodyFont.color, 0x0000FFu);
    EXPECT_EQ(def.titleFont, kv::newReportDef().titleFont);
    EXPECT_EQ(child<QLabel>(&fonts, "RepBodyDataFont")->text(), QStringLiteral("Liberation Serif 14pt"));

    prompt.answerFont(std::nullopt);
    click(&fonts, "TitleFontButton");
    EXPECT_EQ(def.titleFont, kv::newReportDef().titleFont);
}

} // namespace
