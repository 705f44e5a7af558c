// The definition window's rules: new and modify mode, width changes with their questions,
// Update with the range check and the rename question, Delete, and the part editor's Ok,
// on a real definitions file with the scripted prompt answering.
#include "reports/reportlayout.h"
#include "reports/userreport.h"
#include "scriptedprompt.h"
#include "support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

using kv::Answer;
using kv::ReportDefinitionEdit;
using Outcome = kv::ReportDefinitionEdit::Outcome;

namespace {

kv::TReportDefRec named(const char *name)
{
    kv::TReportDefRec def = kv::newReportDef();
    def.name = QString::fromLatin1(name);
    return def;
}

struct DefinitionsFile {
    kvtest::ScriptedPrompt prompt;
    kv::ReportFile file{kvtest::tempPath(QStringLiteral("QVRVID.URP"))};
    kv::TReportDefRec current;

    DefinitionsFile()
    {
        QFile::remove(file.path()); // each case starts from the same three records
        EXPECT_TRUE(file.append(QList<kv::TReportDefRec>{named("First"), named("Second"), named("Third")}));
    }
};

void setWidths(kv::TLineRec &line, std::initializer_list<int> widths)
{
    line = kv::newLine();
    size_t i = 0;
    for (int w : widths)
        line[i++].width = qint16(w);
    line[i].width = 0;
}

const QString kTo90 = QStringLiteral(
    "Warning: Switching to 90 characters from 120 or 150 will truncate the current defined lines.  In addition, the "
    "font size will be reset to a 10 point as a default.  Are you sure you wish to do this?");
const QString kTo120 = QStringLiteral(
    "Warning: Switching to 120 characters from 150 will truncate the current defined lines.  In addition, the font "
    "size will be reset to a 8 point as a default.  Are you sure you wish to do this?");
const QString kNotice120 =
    QStringLiteral("Notice: The Report Body font size has been set to a 8 Point default size as.");
const QString kNotice150 = QStringLiteral("Notice: The Report Body font size has been set to a 6 Point default size "
                                          "as a result of switching to 150 characters per line.");
const QString kRange = QStringLiteral("Notice: Number of lines must be in range of 0 to 12.  Please correct.");

TEST(DefinitionEdit, NewModeStartsFromTheNewDefinitionAndOffersNoDelete)
{
    kv::TReportDefRec def = named("Left over");
    def.lineWidth = 150;
    const ReportDefinitionEdit edit = ReportDefinitionEdit::forNew(def);
    EXPECT_EQ(def, kv::newReportDef());
    EXPECT_EQ(edit.mode(), ReportDefinitionEdit::Mode::New);
    EXPECT_FALSE(edit.deleteEnabled(QString()));
}

TEST(DefinitionEdit, ModifyModeReadsTheRecordAndOffersDeleteWhileTheNameIsUnchanged)
{
    DefinitionsFile f;
    const ReportDefinitionEdit edit = ReportDefinitionEdit::forModify(f.current, f.file, 1);
    EXPECT_EQ(f.current.name, QStringLiteral("Second"));
    EXPECT_TRUE(edit.deleteEnabled(QStringLiteral("  Second ")));
    EXPECT_FALSE(edit.deleteEnabled(QStringLiteral("Second report")));

    kv::TReportDefRec untouched = named("Kept");
    ReportDefinitionEdit::forModify(untouched, f.file, 7);
    EXPECT_EQ(untouched.name, QStringLiteral("Kept"));
}

struct WidthCase {
    int from;
    int to;
    std::vector<Answer> answers;
    QStringList messages;
    int widthAfter;
    int bodySizeAfter;
};

class WidthChange : public testing::TestWithParam<WidthCase> {};

TEST_P(WidthChange, AsksTellsAndSetsTheBodyFont)
{
    const WidthCase &c = GetParam();
    kvtest::ScriptedPrompt prompt;
    kv::TReportDefRec def;
    ReportDefinitionEdit edit = ReportDefinitionEdit::forNew(def);
    def.lineWidth = qint16(c.from);
    def.bodyFont.size = 12;
    setWidths(def.bodyLines[0], {c.from});
    for (Answer a : c.answers)
        prompt.answer(a);

    EXPECT_EQ(edit.changeWidth(c.to, 1, prompt), c.widthAfter == c.to);
    EXPECT_EQ(prompt.messages(), c.messages);
    EXPECT_EQ(def.lineWidth, c.widthAfter);
    EXPECT_EQ(def.bodyFont.size, c.bodySizeAfter);
    int sum = 0;
    for (const kv::TPartRec &part : def.bodyLines[0])
        sum += part.width;
    EXPECT_EQ(sum, c.widthAfter);
    EXPECT_TRUE(prompt.allAnswersUsed());
    for (const kvtest::Shown &s : prompt.shown())
        if (s.caption == QStringLiteral("Warning")) {
            EXPECT_EQ(s.defaultAnswer, Answer::No);
        }
}

INSTANTIATE_TEST_SUITE_P(
    Widths, WidthChange,
    testing::Values(WidthCase{120, 90, {Answer::Yes}, {kTo90}, 90, 10},
                    WidthCase{150, 90, {Answer::No}, {kTo90}, 150, 12},
                    WidthCase{150, 120, {Answer::Yes}, {kTo120, kNotice120}, 120, 8},
                    WidthCase{150, 120, {Answer::No}, {kTo120}, 150, 12},
                    WidthCase{90, 120, {}, {kNotice120}, 120, 8},
                    WidthCase{90, 150, {}, {kNotice150}, 150, 6},
                    WidthCase{120, 120, {}, {}, 120, 12}));

TEST(DefinitionEdit, WidthChangeRefitsTheLinesInUseOnly)
{
    kvtest::ScriptedPrompt prompt;
    kv::TReportDefRec def;
    ReportDefinitionEdit edit = ReportDefinitionEdit::forNew(def);
    def.lineWidth = 150;
    setWidths(def.bodyLines[0], {100, 50});
    setWidths(def.bodyLines[1], {80, 20, 10, 10, 30});
    setWidths(def.bodyLines[2], {100, 50});

    prompt.answer(Answer::Yes);
    ASSERT_TRUE(edit.changeWidth(120, 2, prompt));
    EXPECT_EQ(def.bodyLines[0][1].width, 20);
    EXPECT_EQ(def.bodyLines[1][3].width, 10);
    EXPECT_EQ(def.bodyLines[1][4].width, 0);
    EXPECT_EQ(def.bodyLines[2][1].width, 50); // line 3 is past the line count

    ASSERT_TRUE(edit.changeWidth(150, 2, prompt));
    EXPECT_EQ(def.bodyLines[0][0].width, 100);
    EXPECT_EQ(def.bodyLines[0][1].width, 20);
    EXPECT_EQ(def.bodyLines[0][2].width, 30);
}

TEST(DefinitionEdit, UpdateChecksTheLineCountRange)
{
    const struct {
        const char *typed;
        bool accepted;
    } cases[] = {{"13", false}, {"-1", false}, {"12", true}, {"0", true}, {" 3 ", true}, {"x", false}};
    for (const auto &c : cases) {
        DefinitionsFile f;
        ReportDefinitionEdit edit = ReportDefinitionEdit::forNew(f.current);
        kv::DefinitionForm form = kv::formOf(f.current);
        form.name = QStringLiteral("Counted");
        form.lineCount = QString::fromLatin1(c.typed);
        const Outcome outcome = edit.update(form, f.file, f.prompt);
        EXPECT_EQ(outcome, c.accepted ? Outcome::Saved : Outcome::Stayed) << c.typed;
        EXPECT_EQ(f.prompt.messages(), c.accepted ? QStringList() : QStringList{kRange}) << c.typed;
        EXPECT_EQ(f.file.names().size(), c.accepted ? 4 : 3) << c.typed;
        if (c.accepted) {
            kv::TReportDefRec saved;
            ASSERT_TRUE(f.file.read(3, saved));
            EXPECT_EQ(saved.lineCount, QString::fromLatin1(c.typed).trimmed().toInt());
            EXPECT_EQ(edit.writtenIndex(), 3);
        }
    }
}

TEST(DefinitionEdit, UpdateCopiesTheFormIntoTheRecord)
{
    DefinitionsFile f;
    ReportDefinitionEdit edit = ReportDefinitionEdit::forModify(f.current, f.file, 2);
    kv::DefinitionForm form = kv::formOf(f.current);
    EXPECT_EQ(form.topMargin, QStringLiteral("0.50"));
    EXPECT_EQ(form.lineCount, QStringLiteral("1"));
    form.titles[1] = QStringLiteral("Middle title");
    form.topMargin = QStringLiteral("1.25");
    form.leftMargin = QStringLiteral("wide"); // keeps the value it had
    form.level1Group = false;
    form.level2Group = true; // stored off without level 1
    form.landscape = true;
    ASSERT_EQ(edit.update(form, f.file, f.prompt), Outcome::Saved);
    EXPECT_TRUE(f.prompt.messages().isEmpty());

    kv::TReportDefRec saved;
    ASSERT_TRUE(f.file.read(2, saved));
    EXPECT_EQ(saved.name, QStringLiteral("Third"));
    EXPECT_EQ(saved.titles[1], QStringLiteral("Middle title"));
    EXPECT_DOUBLE_EQ(saved.topMargin, 1.25);
    EXPECT_DOUBLE_EQ(saved.leftMargin, 0.5);
    EXPECT_FALSE(saved.groupLevel1);
    EXPECT_FALSE(saved.groupLevel2);
    EXPECT_TRUE(saved.landscape);
    EXPECT_EQ(edit.writtenIndex(), 2);
}

TEST(DefinitionEdit, RenameAsksAndItsThreeAnswers)
{
    const QString question = QStringLiteral(
        "Warning: Report Title has changed!  Do you wish to save this as a new report?   (YES saves as new report.  "
        "NO overwrites old report.  CANCEL aborts.)");
    const struct {
        Answer answer;
        Outcome outcome;
        QStringList names;
        int written;
    } cases[] = {
        {Answer::No, Outcome::Saved, {"First", "Renamed", "Third"}, 1},
        {Answer::Yes, Outcome::Saved, {"First", "Second", "Third", "Renamed"}, 3},
        {Answer::Cancel, Outcome::Stayed, {"First", "Second", "Third"}, -1},
    };
    for (const auto &c : cases) {
        DefinitionsFile f;
        ReportDefinitionEdit edit = ReportDefinitionEdit::forModify(f.current, f.file, 1);
        kv::DefinitionForm form = kv::formOf(f.current);
        form.name = QStringLiteral("Renamed");
        f.prompt.answer(c.answer);
        EXPECT_EQ(edit.update(form, f.file, f.prompt), c.outcome);
        EXPECT_EQ(f.prompt.messages(), QStringList{question});
        EXPECT_EQ(f.prompt.beeps(), 1);
        EXPECT_EQ(f.file.names(), c.names);
        EXPECT_EQ(edit.writtenIndex(), c.written);
    }
}

TEST(DefinitionEdit, DeleteAsksFirst)
{
    for (Answer answer : {Answer::No, Answer::Yes}) {
        DefinitionsFile f;
        ReportDefinitionEdit edit = ReportDefinitionEdit::forModify(f.current, f.file, 0);
        f.prompt.answer(answer);
        EXPECT_EQ(edit.remove(f.file, f.prompt), answer == Answer::Yes);
        EXPECT_EQ(f.prompt.messages(),
                  QStringList{QStringLiteral("Warning: Are you sure you want to delete this report?")});
        EXPECT_EQ(f.prompt.shown().back().defaultAnswer, Answer::No);
        const QStringList left = answer == Answer::Yes ? QStringList{"Second", "Third"}
                                                       : QStringList{"First", "Second", "Third"};
        EXPECT_EQ(f.file.names(), left);
    }
}

TEST(PartEditor, ShowsThePartAndStoresTheChoiceAfterRefitting)
{
    kvtest::ScriptedPrompt prompt;
    kv::TLineRec line;
    setWidths(line, {30, 30, 30});
    line[1].kind = QStringLiteral("TITLE");

    kv::PartChoice shown = kv::choiceOf(line[1], false);
    EXPECT_EQ(shown.kind, kv::PartChoice::Kind::Field);
    EXPECT_EQ(shown.entry, 0);
    EXPECT_EQ(shown.width, QStringLiteral("30"));
    EXPECT_EQ(kv::selectedPartText(3, 2), QStringLiteral("Line 3, Item 2"));
    EXPECT_EQ(kv::selectedPartText(kv::kTotalsLineNumber, 2), QStringLiteral("Totals Line, Item 2"));

    kv::PartChoice label{kv::PartChoice::Kind::Label, -1, QStringLiteral("  Year:  "), QStringLiteral("50")};
    ASSERT_TRUE(kv::applyPartChoice(line, 1, false, label, 90, prompt));
    EXPECT_EQ(line[0].width, 50);
    EXPECT_EQ(line[1].width, 30);
    EXPECT_EQ(line[2].width, 10);
    EXPECT_EQ(line[3].width, 0);
    EXPECT_EQ(line[0].kind, QString::fromLatin1(kv::kLabelKind));
    EXPECT_EQ(line[0].labelText, QStringLiteral("Year:"));

    kv::PartChoice field{kv::PartChoice::Kind::Field, 18, QStringLiteral("ignored"), QStringLiteral("10")};
    ASSERT_TRUE(kv::applyPartChoice(line, 1, false, field, 90, prompt));
    EXPECT_EQ(line[0].kind, QStringLiteral("MediaNum"));
    EXPECT_EQ(line[0].fieldNumber, 19);
    EXPECT_TRUE(line[0].labelText.isEmpty());

    kv::PartChoice total{kv::PartChoice::Kind::Field, 2, QString(), QStringLiteral("12")};
    ASSERT_TRUE(kv::applyPartChoice(line, 2, true, total, 90, prompt));
    EXPECT_EQ(line[1].kind, QStringLiteral("Purchase Price"));
    EXPECT_EQ(line[1].fieldNumber, 3);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(PartEditor, RefusesAWidthThatIsNotAWholeNumber)
{
    kvtest::ScriptedPrompt prompt;
    kv::TLineRec line;
    setWidths(line, {30, 30, 30});
    const kv::TLineRec before = line;
    kv::PartChoice choice{kv::PartChoice::Kind::Filler, -1, QString(), QStringLiteral("3x")};
    EXPECT_FALSE(kv::applyPartChoice(line, 1, false, choice, 90, prompt));
    EXPECT_EQ(prompt.messages(), QStringList{QStringLiteral("Error: Invalid width entered.  Please correct.")});
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_EQ(line, before);
}

TEST(FontCaption, NameBlankSizeAndPt)
{
    kv::TFontRec font;
    font.name = QStringLiteral("Courier New");
    font.size = 10;
    EXPECT_EQ(kv::fontCaption(font), QStringLiteral("Courier New 10pt"));
}

} // namespace
