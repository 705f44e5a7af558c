// Label sheets on paper: full sheets written as PDF, every word read back with its box
// and checked to lie inside its label as the stock's measures place it.
#include "report_engine/pdftools.h"
#include "testenv.h"

#include "reports/labelprint.h"

#include "report_engine/pageoutput.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using kv::LabelKind;
using kv::LabelStock;

namespace {

struct Word {
    QString text;
    QRectF box; // inches from the page's top-left corner
};

// pdftotext -bbox: every word of the first page with its box.
std::vector<Word> pdfWords(const QString &path)
{
    const kvtest::ProcessResult r = kvtest::run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    for (auto it = word.globalMatch(QString::fromUtf8(r.out)); it.hasNext();) {
        const auto m = it.next();
        const QPointF topLeft(m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72);
        const QPointF bottomRight(m.captured(3).toDouble() / 72, m.captured(4).toDouble() / 72);
        words.push_back({m.captured(5), QRectF(topLeft, bottomRight)});
    }
    return words;
}

// Position i's recordings: 1 ... 6 of them in turn, each title and media number tagged
// with the position so that the words can be traced to their label.
QList<kv::LabelPosition> fullSheet(int positions)
{
    QList<kv::LabelPosition> sheet;
    for (int i = 1; i <= positions; ++i) {
        const QString tag = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        kv::LabelPosition p{QStringLiteral("M") + tag, {}};
        for (int c = 0; c < (i - 1) % 6 + 1; ++c)
            p.contents.append({QStringLiteral("P%1 The Extraordinarily Long Title of a Film That Never Ends").arg(tag),
                               QStringLiteral("PG-13"), p.mediaNumber, QStringLiteral("0%1").arg(350 - c * 40),
                               QStringLiteral("0%1").arg(400 - c * 40), QStringLiteral("1942"), QStringLiteral("102"),
                               QStringLiteral("Science Fiction")});
        sheet.append(p);
    }
    return sheet;
}

struct Stock {
    double top, left, width, height, gap;
    int perPage;
};

// Label i's rectangle, from the stock's measures: face labels in two columns, spine
// labels one under the other.
QRectF labelRect(LabelKind kind, const Stock &s, int i)
{
    if (kind == LabelKind::Face)
        return QRectF(s.left + (i - 1) % 2 * (s.width + s.gap), s.top + (i - 1) / 2 * s.height, s.width, s.height);
    return QRectF(s.left, s.top + (i - 1) * (s.height + s.gap), s.width, s.height);
}

TEST(LabelPrint, FullSheetsKeepEveryWordInsideItsLabel)
{
    const struct {
        LabelKind kind;
        LabelStock stock;
        Stock measures;
        QSizeF paperPoints;
    } cases[] = {
        {LabelKind::Face, LabelStock::Avery5199, {0.9, 1.1, 3.06, 1.8325, 0.25, 10}, {612, 792}},
        {LabelKind::Spine, LabelStock::AveryL7654, {0.625, 1.42, 5.7, 0.667, 0, 16}, {595.28, 841.89}},
    };
    const kv::UserFont font{QFont(QStringLiteral("Arial")), Qt::black};
    const kv::Settings allItems;
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.kind));
        kv::LabelSheet sheet;
        sheet.kind = c.kind;
        sheet.stock = c.stock;
        sheet.geometry = kv::labelGeometry(c.stock, c.kind, allItems.labelDimensions);
        sheet.positions = fullSheet(c.measures.perPage);
        sheet.labels = kv::layoutLabels(c.kind, sheet.geometry, sheet.positions, allItems,
                                        kv::labelTextWidth(kv::labelPageFont(font).font()));
        ASSERT_EQ(sheet.labels.size(), c.measures.perPage);

        const QString pdf = kvtest::tempPath(QStringLiteral("labels.pdf"));
        kv::PdfOutput output(pdf, kv::labelPaperSize(c.stock));
        QString error;
        ASSERT_TRUE(kv::printLabelSheet(sheet, font, output, &error)) << error.toStdString();

        const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
        EXPECT_EQ(info.pages, 1);
        EXPECT_NEAR(info.pointSize.width(), c.paperPoints.width(), 0.5);
        EXPECT_NEAR(info.pointSize.height(), c.paperPoints.height(), 0.5);

        constexpr double kSlack = 0.5 / 72; // poppler rounds its boxes
        std::vector<int> tagged(size_t(c.measures.perPage) + 1, 0);
        const std::vector<Word> words = pdfWords(pdf);
        ASSERT_GT(words.size(), size_t(c.measures.perPage) * 5);
        static const QRegularExpression tag(QStringLiteral("^[MP](\\d\\d)$"));
        for (const Word &w : words) {
            int inside = 0;
            for (int i = 1; i <= c.measures.perPage; ++i) {
                if (labelRect(c.kind, c.measures, i).adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(w.box))
                    inside = i;
            }
            EXPECT_GT(inside, 0) << w.text.toStdString() << " at " << w.box.x() << ", " << w.box.y();
            const auto m = tag.match(w.text);
            if (m.hasMatch()) {
                EXPECT_EQ(inside, m.captured(1).toInt()) << w.text.toStdString();
                ++tagged[size_t(m.captured(1).toInt())];
            }
        }
        // Every label shows its media number and each of its recordings' titles.
        for (int i = 1; i <= c.measures.perPage; ++i)
            EXPECT_EQ(tagged[size_t(i)], 1 + (i - 1) % 6 + 1) << "label " << i;
    }
}

// The status window follows the run: the scan inside it, then the page and each label
// as it is drawn; a cancel during the scan leaves the sheet without a page.
TEST(LabelPrint, StatusTellsTheScanThenEachLabelAndACancelledScanDrawsNothing)
{
    const kv::UserFont font{QFont(QStringLiteral("Arial")), Qt::black};
    const kv::Settings allItems;
    const QString scanning = QString::fromLatin1(kv::kScanningStatus);
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel);
        kv::LabelSheet sheet;
        sheet.geometry = kv::labelGeometry(sheet.stock, sheet.kind, allItems.labelDimensions);
        kv::PageStream stream;
        kv::StreamOutput output(stream, kv::labelPaperSize(sheet.stock));
        kv::ReportEngine engine(output);
        QStringList statuses;
        const auto fill = [&](kv::LabelSheet &s, const std::function<bool()> &keepGoing) {
            EXPECT_EQ(statuses, QStringList{scanning}); // told before the scan starts
            s.positions = fullSheet(3);
            if (cancel)
                engine.cancel(); // the status window's Cancel, while the scan asks
            if (!keepGoing())
                return false;
            s.labels = kv::layoutLabels(s.kind, s.geometry, s.positions, allItems,
                                        kv::labelTextWidth(kv::labelPageFont(font).font()));
            return true;
        };
        QString error;
        ASSERT_TRUE(kv::printLabelSheet(sheet, font, engine, [&](const QString &t) { statuses << t; }, &error, fill))
            << error.toStdString();
        if (cancel) {
            EXPECT_EQ(statuses, QStringList({scanning, scanning}));
            EXPECT_TRUE(engine.aborted());
            EXPECT_EQ(stream.pageCount(), 0);
            continue;
        }
        EXPECT_EQ(statuses, QStringList({scanning, scanning, "Printing Page 1\r\r", "Printing Page 1\rFormating Label 1\r",
                                         "Printing Page 1\rFormating Label 2\r",
                                         "Printing Page 1\rFormating Label 3\r"}));
        ASSERT_EQ(stream.pageCount(), 1);
        EXPECT_TRUE(stream.pageLines(0).join(' ').contains("M03"));
    }
}

} // namespace
