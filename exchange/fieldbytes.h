#pragma once
// Whole tables into delimited text, each field from the record's bytes to the writer's
// buffer with no QString between wherever the bytes can be turned into the field's text
// directly: text of the writer's code page or of ASCII copied, other text into UTF-8 by
// table, plain whole numbers copied, dates and prices by their byte writers. Any other
// value goes through its text, so the output is the same either way.
#include "store/fieldtable.h"
#include "exchange/delimitedtext.h"
#include "exchange/exportbytes.h"

#include <QByteArray>
#include <vector>

namespace kv {

class Table;

// Which text a value is written as: the export's (dates as the date box shows them,
// prices with the current decimal mark) or the field's own (Table::textOf).
enum class ValueText { Exported, Field };

struct ByteColumn {
    enum class Stored { Converted, Text, WholeNumber, Date, Decimal, Logical };
    int index = 0;                  // of the table's field
    FieldKind kind = FieldKind::Text; // of an exported value
    Stored stored = Stored::Converted;
    int offset = 0;
    int width = 0;
    int decimals = 0;
};

// The columns of an export: the table's fields, each read as the kind the program gives it.
ByteColumn exportColumn(const Table &table, int index, FieldKind kind);
// Every field of the table, as the field's own text.
std::vector<ByteColumn> fieldColumns(const Table &table);

class FieldBytesWriter {
public:
    FieldBytesWriter(DelimitedWriter &writer, const Table &table, ValueText values);
    // Writes the column of a record of the table. An exported value that goes through its
    // text is the table's current record's: record must be the current one then.
    void write(const char *record, const ByteColumn &c);

private:
    bool writeFromBytes(const char *p, const ByteColumn &c);

    DelimitedWriter &writer_;
    const Table &table_;
    const ValueText values_;
    const bool utf8_;
    const bool sameCodepage_; // the table's text is already in the writer's encoding
    const DateBytes date_;
    char decimalMark_ = '.';  // 0: beyond ASCII, prices go through text
    QByteArray scratch_;
};

// Every record the table shows, in its order, as a line of its fields' own texts, each
// quoted as it stands.
void writeListing(const Table &table, QIODevice &out, TextEncoding encoding);

} // namespace kv
