#pragma once
// The record codec: where each field lies in a record's bytes, and the conversion of one
// field between those bytes and text, numbers and dates.
#include "base/codepage.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

namespace kv {

// One field of a table as its records hold it.
struct FieldLayout {
    QByteArray name; // as stored in the header (upper case usually)
    char type = 'C'; // C, N, F, D, L (M only recognised)
    int width = 0;
    int decimals = 0;
    int offset = 0;  // from the start of the record, deletion flag at 0
};

class RecordCodec {
public:
    RecordCodec() = default;
    RecordCodec(std::vector<FieldLayout> fields, Codepage codepage);

    const std::vector<FieldLayout> &fields() const { return fields_; }
    const FieldLayout &field(int i) const { return fields_.at(size_t(i)); }
    int count() const { return int(fields_.size()); }
    Codepage codepage() const { return codepage_; }
    // Without regard to case; -1 when absent.
    int indexOf(const QString &name) const;

    // Text without trailing blanks, numbers without padding, dates in the program's date
    // format, logicals as "True" or "False", blanks (and memos) as "".
    QString text(const char *record, int i) const;
    double number(const char *record, int i) const; // blank reads as 0
    QDate date(const char *record, int i) const;    // blank, or not a date field: a null date

    // Writing one field of a record. Text longer than a text field is cut to its width;
    // what does not convert, or a number too wide for its field, throws DbError.
    void setText(char *record, int i, const QString &text) const;
    void setNumber(char *record, int i, double value) const;
    void setDate(char *record, int i, const QDate &date) const;
    void clear(char *record, int i) const;
    // Field i from field sourceField of another codec's record, as
    // setText(record, i, source.text(sourceRecord, sourceField)) would; text of the same
    // width and code page is copied as it is stored.
    void copy(char *record, int i, const RecordCodec &source, const char *sourceRecord, int sourceField) const;

private:
    [[noreturn]] void refuse(const QString &text, const char *what, const FieldLayout &f) const;

    std::vector<FieldLayout> fields_;
    Codepage codepage_ = Codepage::Cp1252;
};

} // namespace kv
