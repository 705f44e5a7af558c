// Times the import of a large UTF-8 CSV of the kind spreadsheets and scripts write
// (quotes only where needed, accented and non-Latin text), and the export of the
// resulting catalogue to UTF-8 text, each as a ratio to a plain read of that catalogue.
//
//   kv-bench-csvutf8 [--dir DIR] [--records 1000000]
//
// The CSV is written to DIR (or a temporary folder) and every file is removed afterwards.
#include "benchutil.h"
#include "widgetbench.h"

#include "app/settings/settings.h"
#include "exchange/exchangegrids.h"
#include "exchange/export.h"
#include "exchange/import.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

using kvbench::seconds;

const char *const kTitles[] = {"Amélie", "Müller's Cœur", "The Third Man", "Łódź Story", "Say \"Hi\"",
                               "Crouching Tiger, Hidden Dragon", "Кино", "Zoë"};
const char *const kStars[] = {"Audrey Tautou", "Société Générale, Ñ", "Orson Welles", "", "Björk", "Al Pacino"};

// A CSV of n records and eight columns, quoted only where a value needs it.
void writeCsv(const QString &path, std::uint32_t n)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    QByteArray buffer = "Title,Star1,Star2,Year,ListPrice,PurchDate,Viewed,Descriptio\r\n";
    const auto field = [&](const char *v) {
        const QByteArray b(v);
        if (b.contains(',') || b.contains('"'))
            buffer += '"' + QByteArray(b).replace("\"", "\"\"") + '"';
        else
            buffer += b;
    };
    for (std::uint32_t i = 0; i < n; ++i) {
        field(kTitles[i % 8]);
        buffer += ',';
        field(kStars[i % 6]);
        buffer += ',';
        field(kStars[(i / 6) % 6]);
        buffer += ',' + QByteArray::number(1930 + i % 90) + ',' + QByteArray::number((i % 5000) / 100.0) + ',';
        if (i % 3)
            buffer += QByteArray::number(2000 + i % 20) + '-' + QByteArray::number(1 + i % 12).rightJustified(2, '0') +
                      '-' + QByteArray::number(1 + i % 28).rightJustified(2, '0');
        buffer += i % 2 ? ",Yes," : ",No,";
        field(i % 4 ? "A story told in many words, with a comma" : "");
        buffer += "\r\n";
        if (buffer.size() > (1 << 20)) {
            f.write(buffer);
            buffer.clear();
        }
    }
    f.write(buffer);
}

void line(const char *what, double s, double base)
{
    std::printf("  %-48s %9.3f s  %7.2f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

void run(const QString &dir, std::uint32_t records)
{
    const QString csv = QDir(dir).filePath(QStringLiteral("UTF8.CSV"));
    const QString path = QDir(dir).filePath(QStringLiteral("FROMCSV.DBF"));
    const QString out = QDir(dir).filePath(QStringLiteral("EXPORT.TXT"));
    writeCsv(csv, records);
    std::printf("\n%u lines of UTF-8 CSV, %.1f MB\n", records, double(QFileInfo(csv).size()) / 1e6);

    kv::Table master;
    kv::createMasterTable(master, path);
    master.open();
    QElapsedTimer timer;
    timer.start();
    kv::ImportRequest in;
    in.path = csv;
    const kv::FirstLineCheck check = kv::checkFirstLine(csv);
    in.format = check.format;
    in.names = check.names;
    in.fieldCount = int(check.names.size());
    QStringList captions;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        captions << QString::fromLatin1(kv::field(n).caption);
    in.map = kv::mapByNames(in.names, captions);
    in.skipFirst = true;
    const kv::ImportResult result = kv::importRecords(master, in);
    const double importSeconds = seconds(timer);
    master.close();

    kvbench::plainRead(path); // the page cache warm, as for a catalogue in use
    const double base = kvbench::plainRead(path);
    std::printf("  catalogue %.1f MB, %lld records, %lld values stored with '?'\n", double(QFileInfo(path).size()) / 1e6,
                static_cast<long long>(result.imported), static_cast<long long>(result.replaced));
    line("plain sequential read of the resulting catalogue", base, base);
    line("import of the UTF-8 CSV (format found, names matched)", importSeconds, base);

    kv::ExportRequest request;
    request.fields = kv::exportList(kv::Settings());
    request.path = out;
    request.encoding = kv::TextEncoding::Utf8;
    master.setReadOnly(true);
    master.open();
    timer.restart();
    kv::exportRecords(master, request);
    line("export to UTF-8 text (40 fields)", seconds(timer), base);
    master.close();
    for (const QString &f : {csv, path, out})
        QFile::remove(f);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-csvutf8", {1000000}, run);
}
