// The delimited text reader and writer.
#include "exchange/delimitedtext.h"

#include "base/codepage.h"
#include "base/dberror.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

// Every line the reader gives for the bytes: its fields joined by '|', or "<blank>".
QStringList readAll(const QByteArray &bytes, int maxFields = 50)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    kv::DelimitedReader reader(in);
    QStringList lines, fields;
    for (;;) {
        const auto line = reader.readLine(fields, maxFields);
        if (line == kv::DelimitedReader::Line::End)
            break;
        lines << (line == kv::DelimitedReader::Line::Blank ? QStringLiteral("<blank>") : fields.join(QLatin1Char('|')));
    }
    return lines;
}

struct ReadCase {
    const char *name;
    QByteArray bytes;
    QStringList lines;
};

TEST(DelimitedReader, ReadsEachLineByTheQuoteRules)
{
    const QString longValue(300, QLatin1Char('x'));
    const std::vector<ReadCase> cases = {
        {"plain", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n", {"a|b", "c|d"}},
        {"quoted comma stays", "\"Doe, John\",\"x\"\r\n", {"Doe, John|x"}},
        {"blank line skipped", "\"a\"\r\n\r\n\"b\"\r\n", {"a", "<blank>", "b"}},
        {"empty quoted line is blank", "\"\"\r\n", {"<blank>"}},
        {"blank before the quote kept", "\"a\", \"b\"\r\n", {"a| b"}},
        {"unquoted field not split", "a,b,\"c\"\r\n", {"a,b,c"}},
        {"control characters dropped", "\"a\tb\x01\",\"c\"\r\n", {"ab|c"}},
        {"unclosed field ends with the line", "\"abc\r\n\"d\"\r\n", {"abc", "d"}},
        {"last line without line end", "\"a\",\"b\"", {"a|b"}},
        {"doubled quote is one", "\"say \"\"hi\"\"\",\"x\"\r\n", {"say \"hi\"|x"}},
        {"lone quote kept", "\"5\" tape\",\"x\"\r\n", {"5\" tape|x"}},
        {"bare LF ends a line", "\"a\"\n\"b\"\n", {"a", "b"}},
        {"cut at 255", "\"" + QByteArray(300, 'x') + "\"\r\n", {longValue.left(255)}},
        {"code page 1252", "\"Caf\xe9\"\r\n", {QStringLiteral("Café")}},
        {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF\"Caf\xC3\xA9\",\"\xE2\x82\xAC\"\r\n",
         {QStringLiteral("Café|€")}},
        {"longer line: the rest skipped", "\"a\",\"b\",\"c\"\r\n\"d\"\r\n", {"a|b", "d"}},
        {"trailing comma gives an empty field", "\"a\",\r\n", {"a|"}},
    };
    for (const ReadCase &c : cases)
        EXPECT_EQ(readAll(c.bytes, c.name == std::string("longer line: the rest skipped") ? 2 : 50), c.lines)
            << c.name;
}

TEST(DelimitedReader, TellsTheShapeOfALine)
{
    struct Case {
        QByteArray bytes;
        int fields;
        bool overlong;
        bool lastClosed;
    };
    const std::vector<Case> cases = {
        {"\"a\",\"b\"\r\n", 2, false, true},
        {"\"a\",\"b\r\n", 2, false, false},
        {"\"a\",b\r\n", 2, false, false},
        {"\"" + QByteArray(256, 'y') + "\"\r\n", 1, true, true},
        {"\"" + QByteArray(255, 'y') + "\"\r\n", 1, false, true},
        {QByteArray("\"\",").repeated(60) + "\"\"\r\n", 51, false, true},
    };
    for (const Case &c : cases) {
        QBuffer in;
        in.setData(c.bytes);
        in.open(QIODevice::ReadOnly);
        kv::DelimitedReader reader(in);
        QStringList fields;
        reader.readLine(fields, 50);
        EXPECT_EQ(reader.lastShape().fields, c.fields) << c.bytes.left(40).constData();
        EXPECT_EQ(reader.lastShape().overlong, c.overlong) << c.bytes.left(40).constData();
        EXPECT_EQ(reader.lastShape().lastClosed, c.lastClosed) << c.bytes.left(40).constData();
    }
}

TEST(DelimitedWriter, QuotesEveryFieldAndShapesExportedValues)
{
    struct Case {
        QString value;
        kv::ValueShape shape;
        QString field;
    };
    const QString quoteAtCut = QString(254, QLatin1Char('a')) + QLatin1Char('"');
    const std::vector<Case> cases = {
        {"", kv::ValueShape::Exported, "\"\""},
        {"  padded  ", kv::ValueShape::Exported, "\"padded\""},
        {"  padded  ", kv::ValueShape::Verbatim, "\"  padded  \""},
        {"5\" tape", kv::ValueShape::Exported, "\"5\"\" tape\""},
        {QString(300, QLatin1Char('z')), kv::ValueShape::Exported, "\"" + QString(255, QLatin1Char('z')) + "\""},
        {QString(300, QLatin1Char('z')), kv::ValueShape::Verbatim, "\"" + QString(300, QLatin1Char('z')) + "\""},
        // The doubled quote would straddle the cut: it goes whole.
        {quoteAtCut + "tail", kv::ValueShape::Exported, "\"" + QString(254, QLatin1Char('a')) + "\""},
        {QString(253, QLatin1Char('a')) + "\"tail", kv::ValueShape::Exported,
         "\"" + QString(253, QLatin1Char('a')) + "\"\"\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kv::quotedField(c.value, c.shape), c.field) << c.value.left(20).toStdString();
}

TEST(DelimitedWriter, WritesLinesThatReadBackTheSame)
{
    const QList<QStringList> records = {
        {QStringLiteral("Café, \"Paris\""), QString(), QStringLiteral("12/31/1999")},
        {QStringLiteral("\"\""), QStringLiteral(","), QStringLiteral("€ sign")},
    };
    for (kv::TextEncoding encoding : {kv::TextEncoding::Cp1252, kv::TextEncoding::Utf8}) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        if (encoding == kv::TextEncoding::Utf8)
            out.write("\xEF\xBB\xBF");
        kv::DelimitedWriter writer(out, encoding);
        for (const QStringList &r : records)
            writer.writeLine(r);
        writer.flush();
        QStringList expected;
        for (const QStringList &r : records)
            expected << r.join(QLatin1Char('|'));
        if (encoding == kv::TextEncoding::Cp1252) {
            // The euro sign is in code page 1252; nothing of these records is lost.
            EXPECT_TRUE(out.data().startsWith("\"Caf\xe9, \"\"Paris\"\"\",\"\",\"12/31/1999\"\r\n"));
        }
        EXPECT_EQ(readAll(out.data()), expected);
    }
}

TEST(DelimitedWriter, AFailedWriteGivesTheFilesMessage)
{
    QBuffer closed; // not open: every write fails
    kv::DelimitedWriter writer(closed);
    writer.writeLine({QStringLiteral("a")});
    try {
        writer.flush();
        FAIL() << "no error";
    } catch (const kv::DbError &e) {
        EXPECT_EQ(e.message(), closed.errorString());
        EXPECT_FALSE(e.message().isEmpty());
    }
}

} // namespace
