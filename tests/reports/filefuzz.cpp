#include "filefuzz.h"

#include "app/settings/settings.h"
#include "base/dberror.h"
#include "exchange/delimitedtext.h"
#include "exchange/textformat.h"
#include "report_engine/pageoutput.h"
#include "report_engine/reportengine.h"
#include "reports/builtinreports.h"
#include "reports/reportfile.h"
#include "reports/reportrun.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QBuffer>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

namespace kvfuzz {

namespace {

constexpr int kRecords = 5;
// A page holds a record or moves a pending heading or the totals on; more than this
// many pages per record means a run that does not end.
constexpr int kPagesPerRecord = 4;

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// The values that readers trust most: sizes, counts, widths at their edges.
void putEdge(QByteArray &b, int at, std::mt19937 &rng)
{
    static const std::uint32_t edges[] = {0, 1, 2, 12, 13, 90, 150, 151, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF,
                                          0x7FF00000, 0xFFF00000, 0xFFFFFFFF};
    const std::uint32_t v = edges[rng() % std::size(edges)];
    for (int i = 0; i < 4 && at + i < b.size(); ++i)
        b[at + i] = char(v >> (8 * i));
}

void mutateRecord(QByteArray &rec, std::mt19937 &rng)
{
    // Header values (name, width, fonts, flags, count, margins) and the first parts of
    // the lines are hit most: that is where a run takes its sizes.
    static const int hot[] = {0, 31, 33 + 51, 94 + 51, 155 + 51, 277 + 51, 343, 1845, 1853, 1861, 1869, 345 + 32,
                              2122 + 32, 2122 + 75 + 32, 2122 + 31, 2122 + 1500 + 32, 20122};
    switch (rng() % 5) {
    case 0:
        for (unsigned i = 0, n = 1 + rng() % 8; i < n; ++i)
            rec[int(rng() % unsigned(rec.size()))] = char(rng());
        break;
    case 1:
        putEdge(rec, hot[rng() % std::size(hot)], rng);
        break;
    case 2:
        putEdge(rec, int(rng() % unsigned(rec.size())), rng);
        break;
    case 3: { // a real margin set to some double
        const double values[] = {-1, 0, 0.01, 5, 5.5, 10, 10.01, 1e300, -0.0, std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()};
        const double v = values[rng() % std::size(values)];
        std::memcpy(rec.data() + 1845 + 8 * int(rng() % 4), &v, 8);
        break;
    }
    default: // a line's part width within the editors' range, to reach deep runs
        rec[2122 + int(rng() % 12) * 1500 + int(rng() % 20) * 75 + 32] = char(rng() % 160);
        rec[2122 + int(rng() % 12) * 1500 + int(rng() % 20) * 75 + 33] = 0;
        break;
    }
}

void fuzzDefinition(const QString &dir, kv::Table &table, std::mt19937 &rng, FileFuzzCounts &counts)
{
    static const QList<kv::TReportDefRec> builtIn = kv::builtInReports();
    QByteArray rec = kv::reportDefToBytes(builtIn.at(qsizetype(rng() % unsigned(builtIn.size()))));
    for (unsigned m = 0, count = 1 + rng() % 3; m < count; ++m)
        mutateRecord(rec, rng);
    const QByteArray sound = kv::reportDefToBytes(builtIn.first());
    QByteArray file = rec + sound;
    if (rng() % 16 == 0)
        file.truncate(int(rng() % unsigned(file.size())));
    const QString path = dir + QStringLiteral("/QVRVID.URP");
    put(path, file);
    const kv::ReportFile reports(path);
    const QStringList names = reports.names();
    kv::TReportDefRec def;
    if (!reports.read(0, def)) {
        if (file.size() >= kv::kReportDefSize && reports.damageMessage(0).isEmpty()) {
            std::fprintf(stderr, "finding: a whole record was neither read nor named as damaged\n");
            std::abort();
        }
        ++counts.refused;
        return;
    }
    const bool text = rng() % 8 == 0;
    kv::ReportRunSetup setup = kv::reportRunSetup(def, text ? kv::OutputMode::TextFile : kv::OutputMode::View,
                                                  kv::Settings());
    setup.sortLevels = {14, 13, 0, 0};
    setup.textPath = dir + QStringLiteral("/FUZZ.TXT");
    kv::DiscardOutput out;
    kv::ReportEngine engine(out);
    kv::ReportRun run(table, setup, engine);
    const bool ok = run.run();
    if (engine.pageNumber() > kPagesPerRecord * kRecords + 2) {
        std::fprintf(stderr, "finding: %d pages for %d records (%s)\n", engine.pageNumber(), kRecords,
                     ok ? "ended" : qPrintable(run.errorString()));
        std::abort();
    }
    ++counts.runs;
}

void mutateLines(QByteArray &b, std::mt19937 &rng)
{
    if (b.isEmpty())
        return;
    static const char special[] = {'"', ',', ';', '\t', '\r', '\n', ' ', '\0', char(0xEF), char(0xBB), char(0xBF),
                                   char(0xC3), char(0xFF)};
    const auto at = [&] { return int(rng() % unsigned(b.size())); };
    switch (rng() % 5) {
    case 0:
        for (unsigned i = 0, n = 1 + rng() % 6; i < n; ++i)
            b[at()] = special[rng() % std::size(special)];
        break;
    case 1:
        b[at()] = char(rng());
        break;
    case 2:
        b.truncate(at());
        break;
    case 3:
        b.insert(at(), QByteArray(int(rng() % 400), special[rng() % std::size(special)]));
        break;
    default: {
        const int from = at();
        b.insert(at(), b.mid(from, 1 + int(rng() % 200)));
        break;
    }
    }
}

void fuzzLines(const QString &dir, std::mt19937 &rng, FileFuzzCounts &counts)
{
    static const QByteArray seeds[] = {
        "\"Title\",\"Lead\",\"Year\"\r\n\"Heat\",\"Pacino\",\"1995\"\r\n\"Ran\",\"\",\"1985\"\r\n",
        "Title;Year;Price\r\n\"Caf\xc3\xa9 \"\"Noir\"\"\";1942;\"1,50\"\r\nplain;1999;2\n",
        "\xEF\xBB\xBF\"A\"\t\"B\"\r\n\"multi\r\nline\",\"x\"\r\n",
    };
    QByteArray bytes = seeds[rng() % std::size(seeds)];
    for (unsigned m = 0, count = 1 + rng() % 4; m < count; ++m)
        mutateLines(bytes, rng);
    const QString path = dir + QStringLiteral("/FUZZ.TXT");
    put(path, bytes);
    std::vector<kv::TextFormat> formats = {kv::TextFormat{kv::TextDialect::Own, ',', kv::TextEncoding::Cp1252},
                                           kv::TextFormat{kv::TextDialect::Csv, ';', kv::TextEncoding::Utf8},
                                           kv::TextFormat{kv::TextDialect::Csv, '\t', kv::TextEncoding::Cp850}};
    try {
        formats.push_back(kv::detectTextFormat(path));
    } catch (const kv::DbError &) {
    }
    for (const kv::TextFormat &format : formats) {
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        kv::DelimitedReader reader(in, format);
        QStringList fields;
        try {
            // Every line ends the reading sooner or later: a bound far above what the
            // bytes can hold tells a reader that stands still.
            for (qsizetype guard = 0; reader.readLine(fields, 50) != kv::DelimitedReader::Line::End; ++guard) {
                ++counts.lines;
                if (guard > bytes.size() + 2) {
                    std::fprintf(stderr, "finding: the reader does not move on\n");
                    std::abort();
                }
            }
        } catch (const kv::DbError &) {
        }
    }
}

} // namespace

FileFuzzCounts runFileFuzz(const QString &dir, std::uint64_t n, std::uint32_t randomSeed)
{
    const QString catalogue = dir + QStringLiteral("/FUZZ.DBF");
    kv::Table table;
    kv::createMasterTable(table, catalogue);
    table.setPath(catalogue);
    table.open();
    const char *categories[kRecords] = {"Drama", "Drama", "Comedy", "", "War"};
    for (int i = 0; i < kRecords; ++i) {
        table.append();
        table.setFieldText(QStringLiteral("MediaNum"), QStringLiteral("M%1").arg(i));
        table.setFieldText(QStringLiteral("Title"), QStringLiteral("Film number %1 with a long title").arg(i));
        table.setFieldText(QStringLiteral("Category"), QString::fromLatin1(categories[i]));
        table.setFieldText(QStringLiteral("Year"), QString::number(1950 + i));
        table.setFieldText(QStringLiteral("ListPrice"), QStringLiteral("19.95"));
        table.post();
    }
    std::mt19937 rng(randomSeed);
    FileFuzzCounts counts;
    for (std::uint64_t i = 0; i < n; ++i) {
        if (rng() % 2)
            fuzzDefinition(dir, table, rng, counts);
        else
            fuzzLines(dir, rng, counts);
    }
    return counts;
}

} // namespace kvfuzz
