// The built-in reports on a catalogue whose years run from 1900 to 2099 and whose
// prices reach 99,999.99: every year, price and label is printed whole, and every page
// keeps the lines, places and records it had when values were cut to fit their stops
// (data/builtin_pages.txt holds those pages as they were printed then).
#include "report_engine/pdftools.h"
#include "runfixture.h"

#include "base/numberformat.h"
#include "store/catalogue.h"
#include "store/mastertable.h"

#include <QFile>
#include <QTextStream>
#include <set>

using namespace kv;

namespace {

constexpr int kRecords = 200;

// Record i: year 1900 + i, list prices up to 99,999.99, four stars, Oscar texts and a
// summary long enough to be cut, grouped by category.
QString wideCatalogue()
{
    const QString path = kvtest::tempPath(QStringLiteral("WIDE.DBF"));
    Table t;
    createMasterTable(t, path);
    t.setPath(path);
    t.open();
    const QStringList categories = {"Drama", "Comedy", "Science Fiction", "Western"};
    for (int i = 0; i < kRecords; ++i) {
        t.append();
        const auto set = [&](const char *name, const QString &value) {
            t.setFieldText(QString::fromLatin1(name), value);
        };
        set("MediaNum", QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')));
        set("Title", QStringLiteral("Title number %1 of the wide catalogue").arg(i));
        set("Year", QString::number(1900 + i));
        set("ListPrice", i % 2 ? QStringLiteral("99999.99") : QString::number(i * 487.5, 'f', 2));
        set("PurchPrice", i % 3 ? QStringLiteral("88888.88") : QStringLiteral("5"));
        set("RunTime", QString::number(100 + i % 900));
        set("Category", categories[i % categories.size()]);
        set("Rating", i % 2 ? QStringLiteral("PG-13") : QStringLiteral("Not Rated"));
        set("PersonalRa", QStringLiteral("Excellent"));
        for (const char *star : {"Star1", "Star2", "Star3", "Star4"})
            set(star, QStringLiteral("Wilhelmina Montgomery-Wadsworth"));
        set("CounterSta", QStringLiteral("%1").arg(i * 37, 8, 10, QLatin1Char('0')));
        set("CounterSto", QStringLiteral("%1").arg(i * 37 + 99, 8, 10, QLatin1Char('0')));
        set("OscarNom", QStringLiteral("Best Picture, Best Director, Best Actress"));
        set("OscarAward", QStringLiteral("Best Picture"));
        set("Descriptio", QString(60, QLatin1Char('W')));
        t.post();
    }
    t.close();
    Table writer;
    writer.setPath(path);
    applySortExpression(writer, buildSortString({14, 11, 0, 0})); // Category, Year
    return path;
}

// Each page as "page N, L lines", then one line per text: baseline y and x in
// thousandths of an inch, and the text.
QStringList pagesOf(const PageStream &stream, const QString &report)
{
    QStringList out;
    for (int p = 0; p < stream.pageCount(); ++p) {
        const Page &page = stream.page(p);
        out << QStringLiteral("%1|page %2, %3 lines").arg(report).arg(p + 1).arg(page.lines.size());
        for (const PageText &t : page.texts)
            out << QStringLiteral("%1 %2 %3")
                       .arg(qRound(t.baseline.y() * 1000))
                       .arg(qRound(t.baseline.x() * 1000))
                       .arg(t.text);
    }
    return out;
}

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd())
        lines << in.readLine();
    return lines;
}

struct Printed {
    QStringList pages; // as pagesOf() gives them, every built-in report
    QStringList pdfs;  // the PDF file of each built-in report
};

Printed printBuiltIns()
{
    const QString path = wideCatalogue();
    Table table;
    table.setPath(path);
    table.open();
    table.setIndexName(QString::fromLatin1(kSortTagName));
    kvtest::RunFixture captions; // for its setup only
    Printed printed;
    const QList<TReportDefRec> reports = builtInReports();
    for (int r = 0; r < reports.size(); ++r) {
        ReportRunSetup setup = captions.setup(reports[r], OutputMode::View);
        setup.sortLevels = {14, 11, 0, 0};
        PageStream stream;
        StreamOutput streamOut(stream);
        ReportEngine viewEngine(streamOut);
        EXPECT_TRUE(ReportRun(table, setup, viewEngine).run());
        printed.pages << pagesOf(stream, reports[r].name);

        const QString pdf = kvtest::tempPath(QStringLiteral("wide%1.pdf").arg(r));
        PdfOutput pdfOut(pdf, QSizeF(kLetterWidth, kLetterHeight));
        ReportEngine pdfEngine(pdfOut);
        EXPECT_TRUE(ReportRun(table, setup, pdfEngine).run());
        printed.pdfs << pdf;
    }
    return printed;
}

} // namespace

TEST(WholeValues, BuiltInReportsKeepTheirPagesLinesAndPlaces)
{
    const Printed printed = printBuiltIns();
    if (const QByteArray out = qgetenv("KV_WRITE_PAGES"); !out.isEmpty()) {
        QFile f(QString::fromLocal8Bit(out));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write((printed.pages.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    const QStringList before = readLines(QStringLiteral(KV_REPORT_TEST_DATA "/builtin_pages.txt"));
    ASSERT_FALSE(before.isEmpty());
    ASSERT_EQ(printed.pages.size(), before.size()) << "a page or a text was added or lost";
    for (qsizetype i = 0; i < before.size(); ++i) {
        const QString &was = before[i], &now = printed.pages[i];
        if (was.contains(QLatin1Char('|'))) {
            ASSERT_EQ(now, was); // the same page with the same box lines
            continue;
        }
        const QString wasY = was.section(QLatin1Char(' '), 0, 0), nowY = now.section(QLatin1Char(' '), 0, 0);
        const QString wasText = was.section(QLatin1Char(' '), 2), nowText = now.section(QLatin1Char(' '), 2);
        ASSERT_EQ(nowY, wasY) << now.toStdString() << " | was " << was.toStdString();
        // A text that was cut now shows more of itself; one that was whole sits where it sat.
        EXPECT_TRUE(nowText.startsWith(wasText)) << now.toStdString() << " | was " << was.toStdString();
        if (nowText == wasText) {
            EXPECT_EQ(now, was);
        }
    }
}

// Read from the PDF files as poppler reads them: every year, every price and every total
// whole, every label with its colon.
TEST(WholeValues, PdfShowsEveryYearPriceTotalAndLabelWhole)
{
    const Printed printed = printBuiltIns();
    const QList<TReportDefRec> reports = builtInReports();
    ASSERT_EQ(printed.pdfs.size(), reports.size());
    std::set<QString> allYears, allPrices;
    for (int i = 0; i < kRecords; ++i) {
        allYears.insert(QString::number(1900 + i));
        allPrices.insert(formatNumber(i % 2 ? 99999.99 : i * 487.5, NumberStyle::Currency, 0));
    }
    const QString grandList = formatNumber(100 * 99999.99 + 487.5 * (99 * 100), NumberStyle::Currency, 0);
    for (int r = 0; r < reports.size(); ++r) {
        SCOPED_TRACE(reports[r].name.toStdString());
        const QString text = kvtest::pdfText(printed.pdfs[r]);
        const QString simple = text.simplified();
        const auto captured = [&](const QString &pattern) {
            std::set<QString> values;
            QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
            while (it.hasNext())
                values.insert(it.next().captured(1));
            return values;
        };
        // The totals of every report: quantity, list and purchase price, whole.
        EXPECT_TRUE(simple.contains(QStringLiteral("Quantity: 200"))) << "quantity";
        EXPECT_TRUE(simple.contains(QStringLiteral("List Price: ") + grandList)) << grandList.toStdString();
        if (r == 0) {
            EXPECT_EQ(captured(QStringLiteral("M\\d{5}.*\\s(\\d{4})\\s*\\n")), allYears);
        }
        if (r < 2 || r == 5)
            continue;
        // The reports of several lines a record: each label once a record, with its colon.
        QStringList labels = {"Media Number:", "Title:", "Year:"};
        if (r == 2)
            labels << "Stars:";
        if (r == 3)
            labels << "Oscar Nom:" << "Oscar Award:";
        if (r == 4)
            labels << "Stars:" << "Producer:" << "Released By:" << "Personal Rating:" << "Play Time:"
                   << "Record Speed:" << "Laser Format:" << "Counter Start:" << "Counter Stop:" << "List Price:"
                   << "Key Words:" << "Miscellaneous:" << "Summary:" << "Oscar Nom:" << "Oscar Award:";
        // "List Price:" also starts the totals line of four groups and the grand totals.
        for (const QString &label : labels) {
            EXPECT_EQ(simple.count(label + QLatin1Char(' ')), kRecords + (label == "List Price:" ? 5 : 0))
                << label.toStdString();
        }
        EXPECT_EQ(captured(QStringLiteral("Year:\\s+(\\d+)")), allYears);
        if (r == 4) {
            // A record's price ends its line; a total is followed by the purchase price.
            EXPECT_EQ(captured(QStringLiteral("List Price:\\s+(\\S+)\\s*\\n")), allPrices);
        }
    }
}
