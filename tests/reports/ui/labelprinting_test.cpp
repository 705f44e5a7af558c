// A label sheet printed on a real CUPS queue that writes PDF files: it arrives as one page
// on the stock's paper, whatever paper the queue would choose.
#include "cupsqueue.h"
#include "report_engine/pdftools.h"

#include "report_engine/print/printeroutput.h"
#include "reports/commands/labelprinting.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kv;

TEST(LabelPrinting, ASheetArrivesOnTheStocksPaper)
{
    kvtest::CupsQueue queue;
    if (!queue.problem().isEmpty())
        GTEST_SKIP() << "no printer queue: " << queue.problem().toStdString();
    const QString name = QString::fromLatin1(kvtest::CupsQueue::kName);

    const Settings items;
    const UserFont font{QFont(QStringLiteral("Arial")), Qt::black};
    for (const LabelStock stock : {LabelStock::AveryL7654, LabelStock::Avery5199}) {
        LabelSheet sheet;
        sheet.kind = LabelKind::Spine;
        sheet.stock = stock;
        sheet.geometry = labelGeometry(stock, sheet.kind, items.labelDimensions);
        sheet.positions = {{QStringLiteral("T-1"), {{QStringLiteral("Brazil"), QStringLiteral("R"),
                                                      QStringLiteral("T-1"), QStringLiteral("0100"),
                                                      QStringLiteral("0240"), QStringLiteral("1985"),
                                                      QStringLiteral("142"), QStringLiteral("Satire")}}}};
        sheet.labels = layoutLabels(sheet.kind, sheet.geometry, sheet.positions, items,
                                    labelTextWidth(labelPageFont(font).font()));

        const QDateTime since = QDateTime::currentDateTime();
        QString error;
        ASSERT_TRUE(printLabelSheet(sheet, font, PrintRequest{name, QString(), 1}, &error)) << error.toStdString();
        const QString pdf = queue.waitForPdf(since);
        ASSERT_FALSE(pdf.isEmpty()) << "no PDF arrived from the queue";
        const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
        EXPECT_EQ(info.pages, 1);
        const QSizeF points = labelPaperSize(stock) * 72;
        EXPECT_NEAR(info.pointSize.width(), points.width(), 1) << int(stock);
        EXPECT_NEAR(info.pointSize.height(), points.height(), 1) << int(stock);
        QFile::remove(pdf);
    }
}
