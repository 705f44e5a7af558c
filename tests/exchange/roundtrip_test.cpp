// Round trips through our own exports, and other programs reading them.
#include "exchange/export.h"
#include "exchange/import.h"
#include "exchangetest.h"

#include "base/dateformat.h"
#include "store/catalogue.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Every field filled with what tends to break exports: accents, quotes, commas, dates
// before the two-digit-year window, prices with decimals.
QString filledCatalogue(int records)
{
    const QString path = newCatalogue(QStringLiteral("FULL.DBF"));
    kv::Table t;
    t.setPath(path);
    t.open();
    for (int r = 0; r < records; ++r) {
        t.append();
        for (int n = 1; n <= kv::kFieldCount; ++n) {
            const kv::FieldInfo &f = kv::field(n);
            QString value;
            switch (f.kind) {
            case kv::FieldKind::Text:
                value = QStringLiteral("%1é\"Ça, %2\"€").arg(r).arg(QLatin1String(f.name)).left(f.width).trimmed();
                break;
            case kv::FieldKind::Integer: value = QString::number(1920 + r * 40 + n); break;
            case kv::FieldKind::Real: value = QStringLiteral("%1.25").arg(1000 * r + n); break;
            case kv::FieldKind::Date: value = kv::formatDate(QDate(1925 + r * 50, 1 + n % 12, 28)); break;
            }
            t.setFieldText(n - 1, value);
        }
        t.post();
    }
    return path;
}

kv::ExportRequest allFields(const QString &out, bool titles)
{
    kv::Settings s;
    kv::ExportRequest request;
    request.kind = kv::hasDbfExtension(out) ? kv::ExportKind::Dbase : kv::ExportKind::Text;
    request.path = out;
    request.fields = kv::exportList(s);
    if (titles)
        for (int n : request.fields)
            request.titles << kv::exportTitle(s, n);
    return request;
}

TEST(RoundTrip, EveryFieldComesBackThroughTextAndThroughDbase)
{
    kv::ScopedDateFormat short_(kv::DateFormat{QStringLiteral("d/m/yy"), QLatin1Char('-')});
    const QString source = filledCatalogue(3);
    const QList<QStringList> original = allValues(source);
    for (const char *name : {"OUT.TXT", "OUT.DBF"}) {
        kv::Table master;
        master.setPath(source);
        master.open();
        const kv::ExportRequest out = allFields(kvtest::tempPath(QString::fromLatin1(name)), true);
        EXPECT_EQ(kv::exportRecords(master, out), 3);

        const QString target = newCatalogue(QStringLiteral("BACK.DBF"));
        kv::ImportRequest in;
        in.path = out.path;
        if (out.kind == kv::ExportKind::Text) {
            const kv::FirstLineCheck check = kv::checkFirstLine(in.path);
            ASSERT_EQ(check.code, 0);
            in.fieldCount = int(check.names.size());
            in.skipFirst = true;
        } else {
            in.kind = kv::ImportKind::Dbase;
            in.fieldCount = int(kv::dbaseFieldNames(in.path).size());
        }
        in.map = kv::defaultImportMap(in.fieldCount);
        kv::Table back;
        back.setPath(target);
        back.open();
        EXPECT_EQ(kv::importRecords(back, in).imported, 3);
        back.close();
        EXPECT_EQ(allValues(target), original) << name;
    }
}

// Runs a Python program on a file; its standard output as JSON.
QJsonDocument python(const char *program, const QString &path)
{
    const kvtest::ProcessResult r =
        kvtest::run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(program), path});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    return QJsonDocument::fromJson(r.out);
}

TEST(OtherReaders, ReadOurTextAndDbaseExports)
{
    const QString source = filledCatalogue(2);
    const QList<QStringList> original = allValues(source);
    kv::Table master;
    master.setPath(source);
    master.open();
    const kv::ExportRequest text = allFields(kvtest::tempPath(QStringLiteral("OUT.TXT")), false);
    const kv::ExportRequest dbase = allFields(kvtest::tempPath(QStringLiteral("OUT.DBF")), false);
    kv::exportRecords(master, text);
    kv::exportRecords(master, dbase);

    // The csv module as spreadsheet programs read such files.
    const QJsonArray rows = python("import csv, json, sys\n"
                                   "with open(sys.argv[1], newline='', encoding='cp1252') as f:\n"
                                   "    print(json.dumps(list(csv.reader(f))))",
                                   text.path)
                                .array();
    ASSERT_EQ(rows.size(), 2);
    for (int r = 0; r < 2; ++r) {
        QStringList fields;
        for (const auto &v : rows[r].toArray())
            fields << v.toString();
        ASSERT_EQ(fields.size(), kv::kFieldCount);
        for (int n = 1; n <= kv::kFieldCount; ++n) {
            if (kv::field(n).kind != kv::FieldKind::Date) {
                EXPECT_EQ(fields[n - 1], original[r][n - 1]) << kv::fieldName(n).toStdString();
            }
        }
    }

    const QJsonArray records = python("import json, sys\nfrom dbfread import DBF\n"
                                      "print(json.dumps([[str(v) for v in r.values()] "
                                      "for r in DBF(sys.argv[1])]))",
                                      dbase.path)
                                   .array();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].toArray()[0].toString(), original[1][0]);
    EXPECT_EQ(records[1].toArray()[kv::fields::Year - 1].toString(), original[1][kv::fields::Year - 1]);
    EXPECT_EQ(records[1].toArray()[kv::fields::PurchDate - 1].toString(), QStringLiteral("1975-12-28"));

    const kvtest::ProcessResult gdal =
        kvtest::run(QStringLiteral("ogrinfo"), {QStringLiteral("-ro"), QStringLiteral("-al"), QStringLiteral("-q"), dbase.path});
    ASSERT_EQ(gdal.exitCode, 0) << gdal.err.constData();
    const QString listing = QString::fromUtf8(gdal.out);
    EXPECT_TRUE(listing.contains(QStringLiteral("TITLE (String) = ") + original[0][0])) << gdal.out.constData();
    EXPECT_TRUE(listing.contains(QStringLiteral("PURCHDATE (Date) = 1975/12/28"))) << gdal.out.constData();
    EXPECT_EQ(listing.count(QStringLiteral("OGRFeature")), 2);
}

} // namespace
