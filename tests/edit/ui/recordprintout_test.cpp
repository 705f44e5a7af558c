// The record printout: forty lines of caption and value, a page per copy, printed as typed.
#include "editwindowfixture.h"

#include "edit/ui/recordprintout.h"
#include "report_engine/reportengine.h"

#include <QAction>

using namespace kv;

TEST(RecordPrintout, FortyLinesOfCaptionAndValue)
{
    Settings settings;
    settings.field(fields::Title).caption = QStringLiteral("Name Of The Film 123"); // 20 characters
    settings.field(fields::Star1).caption = QStringLiteral("A Caption Of Twenty!");
    settings.field(fields::CheckOut).caption = QStringLiteral("Lent Out To Somebody");
    RecordForm form = blankForm();
    form.text[fields::Title] = QStringLiteral("Casablanca");
    form.text[fields::CheckDate] = QStringLiteral("  /  /    ");
    form.text[38] = QStringLiteral("Julius Epstein");
    form.viewed = true;
    const QStringList lines = recordPrintoutLines(form, settings);
    ASSERT_EQ(lines.size(), 40);
    struct Case {
        int line;
        const char *text;
    };
    const Case cases[] = {
        {0, "Name Of The Film 123: Casablanca"},
        {1, "A Caption Of Twenty!: "},
        {11, "Play Time: 0"},
        {27, "List Price: 0"},
        {30, "Check Out Date:   /  /    "},
        {35, "Writers: Julius Epstein"},
        {38, "Lent Out To Somebody: No"},
        {39, "Viewed: Yes"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lines[c.line], QString::fromLatin1(c.text)) << c.line;
}

TEST(RecordPrintout, EachCopyIsAPageOfTheSameLines)
{
    const QStringList lines = recordPrintoutLines(blankForm(), Settings());
    PageStream stream;
    StreamOutput out(stream);
    ASSERT_TRUE(printRecordLines(lines, 3, out));
    ASSERT_EQ(stream.pageCount(), 3);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(stream.pageLines(p), lines) << p;
    const PageText &first = stream.page(0).texts.front();
    EXPECT_NEAR(first.baseline.x(), 8.5 / 17, 1e-9);
    const double step = stream.page(0).texts[1].baseline.y() - first.baseline.y();
    EXPECT_GT(step, 10.0 / 72);
    EXPECT_LT(step, 10.0 / 72 * 1.4);
}

TEST(RecordPrintout, TheEditWindowPrintsWhatIsTypedAfterThePrintDialog)
{
    EditWindow e({QStringLiteral("Alien")});
    e.open(EditMode::Edit);
    e.type(f::Title, QStringLiteral("Aliens"));
    const QString pdf = kvtest::tempPath(QStringLiteral("record.pdf"));
    e.prompt.answerPrint(std::nullopt).answerPrint(PrintRequest{QString(), pdf, 2});
    auto *print = e.window->findChild<QAction *>(QStringLiteral("MenuPrintRecord"));
    ASSERT_TRUE(print && print->isEnabled());
    print->trigger(); // cancelled: nothing printed
    EXPECT_FALSE(QFile::exists(pdf));
    print->trigger();
    const kvtest::ProcessResult info = kvtest::run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(QString::fromUtf8(info.out).simplified().contains("Pages: 2")) << info.out.toStdString();
    const kvtest::ProcessResult text = kvtest::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.out.contains("Title: Aliens")) << text.out.toStdString();
    EXPECT_TRUE(e.prompt.messages().isEmpty());
    EXPECT_EQ(e.current("Title"), "Alien"); // printed, not written
}
