// The six built-in reports on a 500-record catalogue: the text file, the PDF file and the
// page stream have the same pages and the same lines.
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
        const QList<QStringList> text = textPages(kvtest::readFile(textSetup.textPath));
        ASSERT_GT(stream.pageCount(), r == 5 ? 0 : 1);
        ASSERT_EQ(pdfPages.size(), stream.pageCount());
        ASSERT_EQ(text.size(), stream.pageCount());
        for (int p = 0; p < stream.pageCount(); ++p) {
            const QStringList lines = stream.pageLines(p);
            EXPECT_EQ(pdfPages[p], lines.join(QLatin1Char(' ')).simplified()) << "page " << p + 1;
            ASSERT_EQ(text[p].size(), lines.size()) << "page " << p + 1;
            for (int l = 0; l < lines.size(); ++l)
                EXPECT_TRUE(printedFromText(lines[l], text[p][l]))
                    << "page " << p + 1 << ": " << lines[l].toStdString() << " | " << text[p][l].toStdString();
        }
    }
}
