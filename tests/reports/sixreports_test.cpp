// The six built-in reports on a 500-record catalogue: the PDF file and the page stream
// have the same pages and lines; the text file has the same lines, and the same pages
// where no group header (four lines in the file, two on paper) moves a page break.
#include "report_engine/pdftools.h"
#include "runfixture.h"

#include "catalogue_generator.h"
#include "store/catalogue.h"

using namespace kv;

namespace {

// The words of each page of the text file, its group headers' dash lines and blank
// lines left out.
QList<QStringList> textPages(const QByteArray &file)
{
    QList<QStringList> pages;
    QList<QByteArray> parts = file.split('\f');
    parts.removeLast(); // the line end after the last form feed
    static const QRegularExpression dashes(QStringLiteral("^-+$"));
    for (const QByteArray &part : parts) {
        QStringList lines;
        for (const QByteArray &raw : part.split('\n')) {
            const QString line = QString::fromLatin1(raw).simplified();
            if (!line.isEmpty() && !dashes.match(line).hasMatch())
                lines << line;
        }
        pages << lines;
    }
    return pages;
}

// A printed line is the file's line with each cell's text cut from its end to fit:
// every printed word starts a word of the file's line, in order.
bool printedFromText(const QString &printed, const QString &text)
{
    const QStringList t = text.split(QLatin1Char(' ')), s = printed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qsizetype i = 0;
    for (const QString &word : s) {
        while (i < t.size() && !t[i].startsWith(word))
            ++i;
        if (i == t.size())
            return false;
        ++i;
    }
    return true;
}

} // namespace

TEST(SixReports, TextPdfAndStreamHaveTheSamePagesAndLines)
{
    const QString path = kvtest::tempPath(QStringLiteral("SIX.DBF"));
    kvbench::generateCatalogue(path, 500);
    {
        Table writer;
        writer.setPath(path);
        applySortExpression(writer, buildSortString({14, 13, 0, 0}));
    }
    Table table;
    table.setPath(path);
    table.open();
    table.setIndexName(QString::fromLatin1(kSortTagName));
    kvtest::RunFixture captions; // for its setup only
    const QList<TReportDefRec> reports = builtInReports();
    for (int r = 0; r < reports.size(); ++r) {
        SCOPED_TRACE(reports[r].name.toStdString());
        const ReportRunSetup setup = captions.setup(reports[r], OutputMode::View);

        PageStream stream;
        StreamOutput streamOut(stream);
        ReportEngine viewEngine(streamOut);
        ASSERT_TRUE(ReportRun(table, setup, viewEngine).run());

        const QString pdf = kvtest::tempPath(QStringLiteral("report%1.pdf").arg(r));
        PdfOutput pdfOut(pdf, streamOut.paperSize());
        ReportEngine pdfEngine(pdfOut);
        ASSERT_TRUE(ReportRun(table, setup, pdfEngine).run());

        ReportRunSetup textSetup = setup;
        textSetup.mode = OutputMode::TextFile;
        textSetup.textPath = kvtest::tempPath(QStringLiteral("report%1.txt").arg(r));
        DiscardOutput discard;
        ReportEngine textEngine(discard);
        ASSERT_TRUE(ReportRun(table, textSetup, textEngine).run());

        const QStringList pdfPages = kvtest::pdfPageWords(pdf);
        const QByteArray file = kvtest::readFile(textSetup.textPath);
        const QList<QStringList> text = textPages(file);
        ASSERT_GT(stream.pageCount(), r == 5 ? 0 : 1);
        ASSERT_EQ(pdfPages.size(), stream.pageCount());
        QStringList printedBody, textBody;
        for (int p = 0; p < stream.pageCount(); ++p) {
            const QStringList lines = stream.pageLines(p);
            EXPECT_EQ(pdfPages[p], lines.join(QLatin1Char(' ')).simplified()) << "page " << p + 1;
            printedBody << lines.mid(0, lines.size() - 1); // without the footer
        }
        for (const QStringList &page : text)
            textBody << page.mid(0, page.size() - 1);
        // Column headers start every page, and pages break in other places when grouped.
        const bool headers = setup.def.columnHeaders && setup.def.lineCount == 1;
        const auto withoutHeaders = [headers](QStringList lines) {
            if (headers && !lines.isEmpty())
                lines.removeAll(QString(lines.first()));
            return lines;
        };
        printedBody = withoutHeaders(printedBody);
        textBody = withoutHeaders(textBody);
        ASSERT_EQ(textBody.size(), printedBody.size());
        for (int l = 0; l < printedBody.size(); ++l)
            EXPECT_TRUE(printedFromText(printedBody[l], textBody[l]))
                << printedBody[l].toStdString() << " | " << textBody[l].toStdString();
        if (!setup.def.groupLevel1) {
            EXPECT_EQ(text.size(), stream.pageCount());
        }
        // Every line of a page's body, blank and dashed ones too, takes a line of the
        // band: a page holds no more than its 64.
        QList<QByteArray> raw = file.split('\f');
        raw.removeLast();
        for (const QByteArray &page : raw) {
            const qsizetype lines = page.count('\n') - (page.startsWith("\r\n") ? 1 : 0);
            EXPECT_LE(lines - 2, 64) << "a page of " << lines << " lines"; // less the blank and footer lines
        }
    }
}
