#pragma once
// A small catalogue and a report run on it, to a page stream or a text file, with
// fixed captions, date and paper so that the output is the same everywhere.
#include "testenv.h"

#include "app/settings/settings.h"
#include "report_engine/reportengine.h"
#include "reports/builtinreports.h"
#include "reports/reportrun.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QDate>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <vector>

namespace kvtest {

struct Video {
    QString media, title, category, rating;
    QString year, listPrice, purchPrice;
};

// Six videos in the order of their category, then rating.
inline std::vector<Video> sixVideos()
{
    return {
        {"A-001", "Casablanca", "Drama", "PG", "1942", "19.95", "12.50"},
        {"A-002", "Gone with the Wind", "Drama", "PG", "1939", "24.95", "20"},
        {"A-003", "The Third Man", "Drama", "R", "1949", "", "9.99"},
        {"B-001", "Some Like It Hot", "Comedy", "PG", "1959", "14.95", "10"},
        {"B-002", "The Apartment", "Comedy", "PG", "1960", "1014.95", "0"},
        {"C-001", "Vertigo", "Thriller", "PG-13", "1958", "9.95", "9.95"},
    };
}

struct RunFixture {
    QString path = tempPath(QStringLiteral("MASTER.DBF"));
    kv::Table table;

    explicit RunFixture(const std::vector<Video> &videos = sixVideos())
    {
        kv::createMasterTable(table, path);
        table.setPath(path);
        table.open();
        for (const Video &v : videos) {
            table.append();
            table.setFieldText(QStringLiteral("MediaNum"), v.media);
            table.setFieldText(QStringLiteral("Title"), v.title);
            table.setFieldText(QStringLiteral("Category"), v.category);
            table.setFieldText(QStringLiteral("Rating"), v.rating);
            table.setFieldText(QStringLiteral("Year"), v.year);
            table.setFieldText(QStringLiteral("ListPrice"), v.listPrice);
            table.setFieldText(QStringLiteral("PurchPrice"), v.purchPrice);
            table.post();
        }
    }

    static kv::TReportDefRec builtIn(int number) { return kv::builtInReports().at(number - 1); }

    kv::ReportRunSetup setup(const kv::TReportDefRec &def, kv::OutputMode mode) const
    {
        kv::ReportRunSetup s = kv::reportRunSetup(def, mode, kv::Settings());
        s.dateText = QStringLiteral("12/10/26");
        s.sortLevels = {14, 13, 0, 0}; // Category, Rating
        return s;
    }

    // The run to a page stream; the run's result in ok.
    kv::PageStream view(const kv::ReportRunSetup &s, bool *ok = nullptr)
    {
        kv::PageStream stream;
        kv::StreamOutput out(stream);
        kv::ReportEngine engine(out);
        kv::ReportRun run(table, s, engine);
        const bool done = run.run();
        if (ok)
            *ok = done;
        else
            EXPECT_TRUE(done) << run.errorString().toStdString();
        return stream;
    }

    // The run to a text file; its bytes.
    QByteArray textFile(kv::ReportRunSetup s)
    {
        s.mode = kv::OutputMode::TextFile;
        s.textPath = tempPath(QStringLiteral("REPORT.TXT"));
        kv::DiscardOutput out;
        kv::ReportEngine engine(out);
        kv::ReportRun run(table, s, engine);
        EXPECT_TRUE(run.run()) << run.errorString().toStdString();
        return readFile(s.textPath);
    }
};

// One refused or misused command line of kestrova-cli: its exit code and the first line it
// writes to stderr (not checked when empty).
struct CliCase {
    QStringList args;
    int exitCode;
    QByteArray firstLine;
};

// Runs `kestrova-cli command` with each case's arguments, with no print scheduler reachable
// whatever runs beside the test.
inline void expectCliCases(const QString &command, const std::vector<CliCase> &cases)
{
    qputenv("CUPS_SERVER", tempPath("no-cups.sock").toUtf8());
    for (const CliCase &c : cases) {
        const ProcessResult r = runCli(QStringList{command} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        if (!c.firstLine.isEmpty()) {
            EXPECT_EQ(r.err.split('\n').first(), c.firstLine) << c.args.join(' ').toStdString();
        }
    }
    qunsetenv("CUPS_SERVER");
}

} // namespace kvtest
