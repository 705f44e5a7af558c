// Tables written as delimited text from their records' bytes.
#include "exchange/fieldbytes.h"
#include "exchangetest.h"

#include "base/dateformat.h"
#include "exchange/delimitedtext.h"
#include "store/table.h"

#include <QBuffer>

namespace {

// A table of one field of each kind whose records hold the bytes given, as another
// program might have written them.
QString tableOfBytes(const std::vector<std::vector<QByteArray>> &records)
{
    const QString path = kvtest::tempPath(QStringLiteral("BYTES.DBF"));
    {
        kv::Table t;
        t.setPath(path);
        t.clearFieldDefs();
        t.addFieldDef(QStringLiteral("NAME"), 'C', 12, 0);
        t.addFieldDef(QStringLiteral("COUNT"), 'N', 6, 0);
        t.addFieldDef(QStringLiteral("PRICE"), 'N', 9, 2);
        t.addFieldDef(QStringLiteral("SEEN"), 'D', 8, 0);
        t.addFieldDef(QStringLiteral("OWNED"), 'L', 1, 0);
        t.createTable();
        t.open();
        for (size_t r = 0; r < records.size(); ++r) {
            t.append();
            t.post();
        }
    }
    QByteArray file = kvtest::readFile(path);
    const int header = quint8(file[8]) | quint8(file[9]) << 8, length = quint8(file[10]) | quint8(file[11]) << 8;
    for (size_t r = 0; r < records.size(); ++r) {
        static constexpr int kWidths[] = {12, 6, 9, 8, 1};
        int offset = header + int(r) * length + 1;
        for (size_t f = 0; f < records[r].size(); ++f) {
            file.replace(offset, kWidths[f], records[r][f].leftJustified(kWidths[f], ' ', true));
            offset += kWidths[f];
        }
    }
    kvtest::writeFile(path, file);
    return path;
}

TEST(FieldBytesWriter, WritesEachFieldAsItsTextWouldBe)
{
    const QString path = tableOfBytes({
        {"M\xfc \"C\x9cur\"", "  1946", "    12.50", "20010304", "T"},
        {"  lead  trail", "    -7", "    -0.00", "        ", "F"},
        {QByteArray("nul\0inside  ", 12), "     -", "     .50", "00000000", "?"},
        {"odd \x81 byte ", "  +12 ", "   1e3   ", "19990231", "y"},
        {"\"\"\"\"\"\"\"\"\"\"\"\"", "007   ", "*********", "2001034 ", "n"},
        {"            ", "      ", "  012.50 ", "00010101", " "},
        {"plain text  ", "123456", "123456.78", "1999123x", "t"},
    });
    const struct {
        kv::DateFormat date;
    } formats[] = {
        {kv::DateFormat{}},
        {kv::DateFormat{QStringLiteral("d/m/yyyy"), QLatin1Char('.')}},
        {kv::DateFormat{QStringLiteral("yy/mm/dd"), QLatin1Char('-')}},
        {kv::DateFormat{QStringLiteral("dd/mm/yy"), QChar(0x2013)}},
        {kv::DateFormat{QStringLiteral("yyyy/mm/dd"), QLatin1Char('/')}},
    };
    for (const auto &format : formats)
        for (kv::TextEncoding encoding : {kv::TextEncoding::Utf8, kv::TextEncoding::Cp1252, kv::TextEncoding::Cp850})
            for (kv::ValueShape shape : {kv::ValueShape::Verbatim, kv::ValueShape::Exported}) {
                kv::ScopedDateFormat dates(format.date);
                kv::Table t;
                t.setPath(path);
                t.setReadOnly(true);
                t.open();
                QBuffer fromBytes, fromText;
                fromBytes.open(QIODevice::WriteOnly);
                fromText.open(QIODevice::WriteOnly);
                kv::DelimitedWriter bytesWriter(fromBytes, encoding, shape), textWriter(fromText, encoding, shape);
                kv::FieldBytesWriter fields(bytesWriter, t, kv::ValueText::Field);
                const std::vector<kv::ByteColumn> columns = kv::fieldColumns(t);
                ASSERT_EQ(columns.size(), 5u);
                for (int row = 0; row < t.recordCount(); ++row) {
                    const char *record = t.recordData(t.recNoAt(row));
                    for (const kv::ByteColumn &c : columns) {
                        fields.write(record, c);
                        textWriter.addField(t.textOf(record, c.index));
                    }
                    bytesWriter.endLine();
                    textWriter.endLine();
                }
                bytesWriter.flush();
                textWriter.flush();
                EXPECT_EQ(fromBytes.data(), fromText.data())
                    << format.date.pattern.toStdString() << " " << int(encoding) << " " << int(shape);
                if (&format == &formats[1] && encoding == kv::TextEncoding::Utf8 && shape == kv::ValueShape::Verbatim) {
                    EXPECT_TRUE(fromBytes.data().startsWith(
                        "\"M\xc3\xbc \"\"C\xc5\x93ur\"\"\",\"1946\",\"12.5\",\"4.3.2001\",\"True\"\r\n"))
                        << fromBytes.data().left(60).toStdString();
                }
            }
}

} // namespace
