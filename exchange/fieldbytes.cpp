#include "exchange/fieldbytes.h"

#include "base/bytescan.h"
#include "base/codepagebytes.h"
#include "base/dberror.h"
#include "base/numberformat.h"
#include "exchange/export.h"
#include "store/table.h"

#include <algorithm>

namespace kv {

namespace {

bool blankOrNul(char c) { return c == ' ' || c == '\0'; }

ByteColumn columnOf(const FieldLayout &f, int index, FieldKind kind)
{
    ByteColumn c;
    c.index = index;
    c.kind = kind;
    c.offset = f.offset;
    c.width = f.width;
    c.decimals = f.decimals;
    return c;
}

} // namespace

ByteColumn exportColumn(const Table &table, int index, FieldKind kind)
{
    const FieldLayout &f = table.fieldLayout(index);
    ByteColumn c = columnOf(f, index, kind);
    using S = ByteColumn::Stored;
    if (f.type == 'C' && kind == FieldKind::Text)
        c.stored = S::Text;
    else if (f.type == 'N' && f.decimals == 0 && kind == FieldKind::Integer)
        c.stored = S::WholeNumber;
    else if (f.type == 'D' && kind == FieldKind::Date)
        c.stored = S::Date;
    else if (f.type == 'N' && f.decimals > 0 && kind == FieldKind::Real)
        c.stored = S::Decimal;
    return c;
}

std::vector<ByteColumn> fieldColumns(const Table &table)
{
    using S = ByteColumn::Stored;
    std::vector<ByteColumn> columns;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const FieldLayout &f = table.fieldLayout(i);
        ByteColumn c = columnOf(f, i, FieldKind::Text);
        switch (f.type) {
        case 'C': c.stored = S::Text; break;
        case 'N': c.stored = f.decimals > 0 ? S::Decimal : S::WholeNumber; break;
        case 'D': c.stored = S::Date; break;
        case 'L': c.stored = S::Logical; break;
        default: break;
        }
        columns.push_back(c);
    }
    return columns;
}

FieldBytesWriter::FieldBytesWriter(DelimitedWriter &writer, const Table &table, ValueText values)
    : writer_(writer), table_(table), values_(values), utf8_(writer.encoding() == TextEncoding::Utf8),
      sameCodepage_(!utf8_ && codepageOf(writer.encoding()) == table.codepage()),
      date_(values == ValueText::Exported ? dateBytesOf(currentDateFormat()) : fieldDateBytesOf(currentDateFormat()))
{
    if (values == ValueText::Exported) {
        const QChar mark = currentNumberFormats().numeric == kRegionalFormat ? regionalValues().decimalMark
                                                                              : QLatin1Char('.');
        decimalMark_ = mark.unicode() < 0x80 ? char(mark.unicode()) : 0;
    }
}

void FieldBytesWriter::write(const char *record, const ByteColumn &c)
{
    if (writeFromBytes(record + c.offset, c))
        return;
    writer_.addField(values_ == ValueText::Exported ? exportedText(table_, c.index, c.kind)
                                                    : table_.textOf(record, c.index));
}

bool FieldBytesWriter::writeFromBytes(const char *p, const ByteColumn &c)
{
    using S = ByteColumn::Stored;
    switch (c.stored) {
    case S::Text: {
        const int e = trimmedLength(p, c.width);
        if (sameCodepage_ || asciiBytes(p, size_t(e))) {
            writer_.addEncodedField(p, e);
        } else if (utf8_) {
            scratch_.clear();
            appendAsUtf8(scratch_, p, e, table_.codepage());
            writer_.addEncodedField(scratch_.constData(), scratch_.size());
        } else {
            writer_.addField(decode(p, e, table_.codepage()));
        }
        return true;
    }
    case S::WholeNumber: {
        int b = 0, e = c.width;
        while (e > b && blankOrNul(p[e - 1]))
            --e;
        while (b < e && blankOrNul(p[b]))
            ++b;
        for (int k = b; k < e; ++k)
            if (!((p[k] >= '0' && p[k] <= '9') || (k == b && p[k] == '-' && e - b > 1)))
                return false;
        writer_.addEncodedField(p + b, e - b);
        return true;
    }
    case S::Date:
        if (std::all_of(p, p + c.width, blankOrNul)) {
            writer_.addEncodedField(p, 0);
            return true;
        }
        scratch_.clear();
        if (!appendStoredDate(scratch_, p, c.width, date_))
            return false;
        writer_.addEncodedField(scratch_.constData(), scratch_.size());
        return true;
    case S::Decimal:
        scratch_.clear();
        if (!decimalMark_ || !appendStoredDecimal(scratch_, p, c.width, c.decimals, decimalMark_))
            return false;
        writer_.addEncodedField(scratch_.constData(), scratch_.size());
        return true;
    case S::Logical: {
        static constexpr char kTrue[] = "True", kFalse[] = "False";
        switch (p[0]) {
        case 'T': case 't': case 'Y': case 'y': writer_.addEncodedField(kTrue, 4); break;
        case 'F': case 'f': case 'N': case 'n': writer_.addEncodedField(kFalse, 5); break;
        default: writer_.addEncodedField(p, 0); break;
        }
        return true;
    }
    case S::Converted:
        break;
    }
    return false;
}

void writeListing(const Table &table, QIODevice &out, TextEncoding encoding)
{
    DelimitedWriter writer(out, encoding, ValueShape::Verbatim);
    FieldBytesWriter fields(writer, table, ValueText::Field);
    const std::vector<ByteColumn> columns = fieldColumns(table);
    const int count = table.recordCount();
    for (int row = 0; row < count; ++row) {
        const char *record = table.recordData(table.recNoAt(row));
        for (const ByteColumn &c : columns)
            fields.write(record, c);
        writer.endLine();
    }
    writer.flush();
}

} // namespace kv
