// The PDF output, read back with poppler's tools.
#include "pdftools.h"
#include "testenv.h"

#include "report_engine/reportengine.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

using namespace kv;

namespace {
// Three pages: a centred title, and a name and a right-justified amount per line.
ReportEngine::Callbacks threePages(ReportEngine &e)
{
    return {{},
            [&e] {
                e.setFont(PageFont{QStringLiteral("Arial"), 12, true});
                e.setBandTop(0.5);
                e.home();
                e.printCentred(QStringLiteral("Catalogue"), e.pageWidth() / 2);
            },
            [&e] {
                e.setFont(PageFont{QStringLiteral("Arial"), 10});
                e.setBandTop(1.25);
                e.home();
                e.clearTabs();
                e.addTab({Justify::Left, 0, 0, 0.02, 3.0});
                e.addTab({Justify::Right, 0, 0, 0.02, 1.5});
                e.printLine(QStringLiteral("\tPage %1 name\t%2.00").arg(e.pageNumber()).arg(e.pageNumber() * 100));
                return e.pageNumber() < 3;
            },
            {}, {}, {}};
}
} // namespace

TEST(PdfOutput, WritesEveryPageInTheOrientationWithItsText)
{
    const QString path = kvtest::tempPath("out.pdf");
    PdfOutput out(path, QSizeF(kLetterWidth, kLetterHeight));
    ReportEngine engine(out);
    engine.setOrientation(QPageLayout::Landscape);
    engine.setCallbacks(threePages(engine));
    ASSERT_TRUE(engine.start()) << engine.errorString().toStdString();

    const kvtest::PdfInfo info = kvtest::pdfInfo(path);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.pointSize.width(), 792, 0.5);
    EXPECT_NEAR(info.pointSize.height(), 612, 0.5);
    EXPECT_EQ(info.title, "Test Report");
    const QStringList pages = kvtest::pdfPageWords(path);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[1], "Catalogue Page 2 name 200.00");
}

// A PDF file names its document, its author (the user) and the program that made it,
// says what paper it is on, and identifies itself as PDF/A-1b in its XMP packet.
TEST(PdfOutput, NamesItsDocumentAuthorCreatorAndPaperAsPdfA)
{
    const struct {
        QString title;
        QSizeF paper; // empty: the locale's
        QSizeF points;
    } cases[] = {
        {"Large Report", QSizeF(kLetterWidth, kLetterHeight), QSizeF(612, 792)},
        {QStringLiteral("Große Übersicht (Ratings)"), QSizeF(), localePaper() * 72},
        {"Face Labels - MASTER.DBF", QSizeF(8.2677, 11.6929), QSizeF(595.3, 841.9)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const QString path = kvtest::tempPath("named.pdf");
        std::unique_ptr<PdfOutput> out =
            c.paper.isEmpty() ? std::make_unique<PdfOutput>(path) : std::make_unique<PdfOutput>(path, c.paper);
        ReportEngine engine(*out);
        engine.setJobTitle(c.title);
        engine.setCallbacks(threePages(engine));
        ASSERT_TRUE(engine.start()) << engine.errorString().toStdString();

        const kvtest::PdfInfo info = kvtest::pdfInfo(path);
        EXPECT_EQ(info.pages, 3);
        EXPECT_EQ(info.title, c.title);
        EXPECT_FALSE(documentAuthor().isEmpty());
        EXPECT_EQ(info.author, documentAuthor());
        EXPECT_EQ(info.creator, "Kestrova Videos 97 " KV_VERSION);
        EXPECT_NEAR(info.pointSize.width(), c.points.width(), 0.5);
        EXPECT_NEAR(info.pointSize.height(), c.points.height(), 0.5);
        const QString xmp = kvtest::pdfXmp(path);
        EXPECT_TRUE(xmp.contains("<pdfaid:part>1</pdfaid:part>")) << xmp.toStdString();
        EXPECT_TRUE(xmp.contains("<pdfaid:conformance>B</pdfaid:conformance>"));
        EXPECT_TRUE(xmp.contains(c.title.toHtmlEscaped()));
        EXPECT_TRUE(xmp.contains("<rdf:li>" + documentAuthor().toHtmlEscaped() + "</rdf:li>"));
        // The text is still there to be found.
        EXPECT_EQ(kvtest::pdfPageWords(path).value(1), "Catalogue Page 2 name 200.00");
        QFile::remove(path);
    }
}

TEST(PdfOutput, SamePagesAsTheStream)
{
    PageStream stream;
    StreamOutput streamOut(stream);
    ReportEngine viewed(streamOut);
    viewed.setCallbacks(threePages(viewed));
    ASSERT_TRUE(viewed.start());

    const QString path = kvtest::tempPath("same.pdf");
    PdfOutput pdfOut(path, streamOut.paperSize());
    ReportEngine printed(pdfOut);
    printed.setCallbacks(threePages(printed));
    ASSERT_TRUE(printed.start());

    const QStringList pdfPages = kvtest::pdfPageWords(path);
    ASSERT_EQ(pdfPages.size(), stream.pageCount());
    for (int i = 0; i < stream.pageCount(); ++i)
        EXPECT_EQ(pdfPages[i], stream.pageLines(i).join(' ').simplified()) << "page " << i + 1;
    // The PDF output keeps no page once it is drawn.
    EXPECT_TRUE(pdfOut.stream().page(0).texts.empty());
}

TEST(PdfOutput, AFileThatCannotBeWrittenStopsTheRunBeforeAnyCallback)
{
    PdfOutput out(kvtest::tempPath("missing/folder/out.pdf"));
    ReportEngine engine(out);
    bool called = false;
    engine.setCallbacks({[&] { called = true; }, {}, {}, {}, {}, {}});
    EXPECT_FALSE(engine.start());
    EXPECT_FALSE(engine.errorString().isEmpty());
    EXPECT_FALSE(called);
    EXPECT_FALSE(engine.printing());
}
