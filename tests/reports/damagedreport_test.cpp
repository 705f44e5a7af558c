// Definitions holding values that the editors cannot give: every one is found, named and
// refused, and the others of the file stay listed and usable.
#include "rawrecord.h"
#include "reports/builtinreports.h"
#include "reports/reportfile.h"
#include "reports/reportrun.h"
#include "reports/userreport.h"
#include "support/scriptedprompt.h"
#include "support/testenv.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace rawrec;

namespace {

void put16(QByteArray &rec, int offset, qint16 value) { qToLittleEndian(value, rec.data() + offset); }
void putReal(QByteArray &rec, int offset, double value) { std::memcpy(rec.data() + offset, &value, 8); }

struct Damage {
    const char *what; // the damage as the message names it
    std::function<void(QByteArray &)> apply;
};

// Each damage on the Large Report's record (12 body lines, totals, body font 8).
const std::vector<Damage> &damages()
{
    static const std::vector<Damage> list = {
        {"line width 100", [](QByteArray &r) { put16(r, kLineWidth, 100); }},
        {"body font size 0", [](QByteArray &r) { put16(r, fontOffset(2) + 51, 0); }},
        {"title font size 600", [](QByteArray &r) { put16(r, fontOffset(0) + 51, 600); }},
        {"footnote font size -8", [](QByteArray &r) { put16(r, fontOffset(4) + 51, -8); }},
        {"column header font name", [](QByteArray &r) { r[fontOffset(1)] = char(51); }},
        {"body font colour", [](QByteArray &r) { r[fontOffset(2) + 60] = char(0x80); }},
        {"line count 13", [](QByteArray &r) { put16(r, kLineCount, 13); }},
        {"line count -1", [](QByteArray &r) { put16(r, kLineCount, -1); }},
        {"top margin nan", [](QByteArray &r) { putReal(r, kTopMargin, std::nan("")); }},
        {"right margin -0.5", [](QByteArray &r) { putReal(r, kRightMargin, -0.5); }},
        {"bottom margin 40", [](QByteArray &r) { putReal(r, kBottomMargin, 40); }},
        {"name", [](QByteArray &r) { r[kName] = char(31); }},
        {"title 2", [](QByteArray &r) { r[kTitles + kTitleSize] = char(200); }},
        {"line 3, part 2 width 900", [](QByteArray &r) { put16(r, partOffset(3, 2) + 32, 900); }},
        {"line 12, part 1 width 151", [](QByteArray &r) { put16(r, partOffset(12, 1) + 32, 151); }},
        {"line 1, part 1 kind", [](QByteArray &r) { r[partOffset(1, 1)] = char(40); }},
        {"line 1, part 1 label text", [](QByteArray &r) { r[partOffset(1, 1) + 34] = char(41); }},
        {"line 1, part 3 field number 41", [](QByteArray &r) { r[partOffset(1, 3) + 31] = char(41); }},
        {"totals line, part 3 field number 4", [](QByteArray &r) { r[partOffset(0, 3) + 31] = char(4); }},
    };
    return list;
}

QByteArray largeReport() { return kv::reportDefToBytes(kv::builtInReports().at(4)); }

TEST(DamagedReport, EveryValueOutsideTheEditorsIsFoundAndNamed)
{
    for (const kv::TReportDefRec &def : kv::builtInReports())
        EXPECT_EQ(kv::reportDefDamage(kv::reportDefToBytes(def)), QString()) << def.name.toStdString();
    EXPECT_EQ(kv::reportDefDamage(kv::reportDefToBytes(kv::newReportDef())), QString());
    for (const Damage &d : damages()) {
        QByteArray rec = largeReport();
        d.apply(rec);
        EXPECT_EQ(kv::reportDefDamage(rec), QString::fromLatin1(d.what));
    }
    // What is never read is not checked: the fifth font, the parts after a line's end.
    QByteArray rec = largeReport();
    put16(rec, fontOffset(3) + 51, 0);
    put16(rec, partOffset(12, 3) + 32, 9999);
    EXPECT_EQ(kv::reportDefDamage(rec), QString());
}

TEST(DamagedReport, ADamagedRecordIsRefusedByNameAndTheOthersStayListedAndUsable)
{
    QByteArray file;
    for (const kv::TReportDefRec &def : kv::builtInReports())
        file += kv::reportDefToBytes(def);
    // The Large Report with a body font size that no font dialog gives.
    put16(file, 4 * kRecordSize + fontOffset(2) + 51, 30000);
    const QString path = kvtest::tempPath(QStringLiteral("QVRVID.URP"));
    kvtest::writeFile(path, file);
    const kv::ReportFile reports(path);
    EXPECT_EQ(reports.names().size(), 6);
    EXPECT_EQ(reports.names().at(4), QStringLiteral("Large Report"));

    kv::TReportDefRec def = kv::newReportDef();
    EXPECT_FALSE(reports.read(4, def));
    EXPECT_EQ(def, kv::newReportDef()) << "nothing taken from the damaged record";
    const QString message = QStringLiteral(
        "The report definition \"Large Report\" in QVRVID.URP is damaged (body font size 30000) and cannot be used.");
    EXPECT_EQ(reports.damageMessage(4), message);
    EXPECT_EQ(reports.damageMessage(3), QString());

    kvtest::ScriptedPrompt prompt;
    EXPECT_FALSE(kv::readReportForRun(reports, 4, prompt));
    EXPECT_EQ(prompt.messages(), QStringList{QStringLiteral("Error: ") + message});
    const std::optional<kv::TReportDefRec> oscar = kv::readReportForRun(reports, 3, prompt);
    ASSERT_TRUE(oscar);
    EXPECT_EQ(oscar->name, QStringLiteral("Oscar Report"));
}

// The editors keep to the same limits: a margin outside 0 ... 10 inches and a font size
// outside what the font dialog offers are not taken.
TEST(DamagedReport, TheEditorsGiveNoValueThatWouldBeRefused)
{
    kv::TReportDefRec def = kv::newReportDef();
    kv::TFontRec font = def.bodyFont;
    QFont huge(QStringLiteral("Arial"));
    huge.setPointSize(2000);
    kv::takeFont(font, huge);
    EXPECT_EQ(font.size, kv::kMaxFontSize);

    const QString path = kvtest::tempPath(QStringLiteral("QVRVID.URP"));
    kv::ReportFile file(path);
    kvtest::ScriptedPrompt prompt;
    kv::ReportDefinitionEdit edit = kv::ReportDefinitionEdit::forNew(def);
    kv::DefinitionForm form = kv::formOf(def);
    form.name = QStringLiteral("Margins");
    form.topMargin = QStringLiteral("-1");
    form.bottomMargin = QStringLiteral("99");
    form.leftMargin = QStringLiteral("nan");
    form.rightMargin = QStringLiteral("1.25");
    ASSERT_EQ(edit.update(form, file, prompt), kv::ReportDefinitionEdit::Outcome::Saved);
    EXPECT_EQ(def.topMargin, 0.5);
    EXPECT_EQ(def.bottomMargin, 0.5);
    EXPECT_EQ(def.leftMargin, 0.5);
    EXPECT_EQ(def.rightMargin, 1.25);
    EXPECT_EQ(file.damageMessage(0), QString());
}

} // namespace
