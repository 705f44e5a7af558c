#include "store/dbf/recordcodec.h"

#include "base/bytescan.h"
#include "base/dateformat.h"
#include "base/dberror.h"
#include "base/numbertext.h"

#include <QLocale>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kv {

namespace {

// Trimmed bounds of a space-padded field.
void trimmed(const char *p, int width, int &begin, int &end)
{
    begin = 0;
    end = width;
    while (begin < end && (p[begin] == ' ' || p[begin] == '\0'))
        ++begin;
    while (end > begin && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
}

std::optional<double> parseStoredNumber(const char *p, int width)
{
    int b, e;
    trimmed(p, width, b, e);
    if (b >= e || p[b] == '*')
        return std::nullopt;
    char buf[64];
    const int n = std::min(e - b, 63);
    std::memcpy(buf, p + b, size_t(n));
    buf[n] = '\0';
    for (int i = 0; i < n; ++i)
        if (buf[i] == ',')
            buf[i] = '.';
    const char *first = buf[0] == '+' ? buf + 1 : buf;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, buf + n, value);
    if (ec != std::errc() || ptr != buf + n)
        return std::nullopt;
    return value;
}

// A number typed as text: optional sign, digits, optional point and digits, optional
// exponent; blanks around it are ignored.
std::optional<double> parseTypedNumber(const QString &text)
{
    const QByteArray t = text.trimmed().toLatin1();
    if (t.isEmpty())
        return std::nullopt;
    const char *first = t.constData();
    const char *last = first + t.size();
    if (*first == '+')
        ++first;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString stripZeros(QByteArray text)
{
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    if (text == "-0")
        text = "0";
    return QString::fromLatin1(text);
}

QDate storedDate(const char *p, int width)
{
    if (width != 8)
        return QDate();
    int v[8];
    for (int i = 0; i < 8; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return QDate();
        v[i] = p[i] - '0';
    }
    return QDate(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]);
}

QString nameOf(const FieldLayout &f) { return QString::fromLatin1(f.name); }

QString numberText(const char *p, const FieldLayout &f, Codepage codepage)
{
    int b, e;
    trimmed(p, f.width, b, e);
    if (b >= e || p[b] == '*')
        return QString();
    const auto value = parseStoredNumber(p, f.width);
    if (!value)
        return decode(p + b, e - b, codepage);
    bool plain = true;
    for (int k = b; k < e && plain; ++k)
        plain = (p[k] >= '0' && p[k] <= '9') || (k == b && p[k] == '-');
    if (plain)
        return QString::fromLatin1(p + b, e - b);
    return stripZeros(decimalText(*value, std::max(f.decimals, 0)));
}

QString dateText(const char *p, const FieldLayout &f, Codepage codepage)
{
    const QDate d = storedDate(p, f.width);
    if (d.isValid())
        return formatDate(d);
    int b, e;
    trimmed(p, f.width, b, e);
    return b >= e || QByteArray(p + b, e - b).count('0') == e - b ? QString() : decode(p + b, e - b, codepage);
}

void writeNumber(char *p, const FieldLayout &f, double value)
{
    const QByteArray text = decimalText(value, f.decimals);
    if (text.size() > f.width)
        // The value as the user would write it: a huge number stays short.
        throw DbError(QStringLiteral("The value %1 does not fit the field %2, which holds %3 characters.")
                          .arg(QString::number(value, 'g', QLocale::FloatingPointShortest), nameOf(f))
                          .arg(f.width));
    std::memset(p, ' ', size_t(f.width - text.size()));
    std::memcpy(p + f.width - text.size(), text.constData(), size_t(text.size()));
}

void writeDate(char *p, const FieldLayout &f, const QDate &date)
{
    if (!date.isValid())
        std::memset(p, ' ', size_t(f.width));
    else
        std::memcpy(p, date.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData(), 8);
}

} // namespace

RecordCodec::RecordCodec(std::vector<FieldLayout> fields, Codepage codepage)
    : fields_(std::move(fields)), codepage_(codepage)
{
}

int RecordCodec::indexOf(const QString &name) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (QString::fromLatin1(fields_[i].name).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString RecordCodec::text(const char *record, int i) const
{
    const FieldLayout &f = field(i);
    const char *p = record + f.offset;
    switch (f.type) {
    case 'N':
    case 'F':
        return numberText(p, f, codepage_);
    case 'D':
        return dateText(p, f, codepage_);
    case 'L':
        switch (p[0]) {
        case 'T': case 't': case 'Y': case 'y': return QStringLiteral("True");
        case 'F': case 'f': case 'N': case 'n': return QStringLiteral("False");
        default: return QString();
        }
    case 'M':
        return QString();
    default:
        return decode(p, trimmedLength(p, f.width), codepage_);
    }
}

double RecordCodec::number(const char *record, int i) const
{
    const FieldLayout &f = field(i);
    return parseStoredNumber(record + f.offset, f.width).value_or(0.0);
}

QDate RecordCodec::date(const char *record, int i) const
{
    const FieldLayout &f = field(i);
    return f.type == 'D' ? storedDate(record + f.offset, f.width) : QDate();
}

void RecordCodec::refuse(const QString &text, const char *what, const FieldLayout &f) const
{
    throw DbError(QStringLiteral("'%1' is not a valid %2 for the field %3.")
                      .arg(text.trimmed(), QLatin1String(what), nameOf(f)));
}

void RecordCodec::setText(char *record, int i, const QString &text) const
{
    const FieldLayout &f = field(i);
    char *p = record + f.offset;
    switch (f.type) {
    case 'N':
    case 'F': {
        if (text.trimmed().isEmpty()) {
            std::memset(p, ' ', size_t(f.width));
            return;
        }
        const auto value = parseTypedNumber(text);
        if (!value)
            refuse(text, "number", f);
        if (f.decimals == 0 && *value != std::trunc(*value))
            refuse(text, "whole number", f);
        writeNumber(p, f, *value);
        return;
    }
    case 'D': {
        const auto date = parseDate(text);
        if (!date || (!date->isNull() && f.width == 8 && (date->year() < 1 || date->year() > 9999)))
            refuse(text, "date", f);
        writeDate(p, f, f.width == 8 ? *date : QDate());
        return;
    }
    case 'L': {
        const QString t = text.trimmed().toUpper();
        if (t.isEmpty())
            p[0] = ' ';
        else if (t == QLatin1String("T") || t == QLatin1String("TRUE") || t == QLatin1String("Y") ||
                 t == QLatin1String("YES"))
            p[0] = 'T';
        else if (t == QLatin1String("F") || t == QLatin1String("FALSE") || t == QLatin1String("N") ||
                 t == QLatin1String("NO"))
            p[0] = 'F';
        else
            refuse(text, "logical value", f);
        return;
    }
    case 'C': {
        // The table keeps at most the field's width of a text.
        QByteArray bytes = encode(text, codepage_).left(f.width);
        while (bytes.endsWith(' '))
            bytes.chop(1);
        std::memcpy(p, bytes.constData(), size_t(bytes.size()));
        std::memset(p + bytes.size(), ' ', size_t(f.width - bytes.size()));
        return;
    }
    default:
        throw DbError(QStringLiteral("The field %1 has a type (%2) this program cannot write.")
                          .arg(nameOf(f), QChar::fromLatin1(f.type)));
    }
}

void RecordCodec::setNumber(char *record, int i, double value) const
{
    const FieldLayout &f = field(i);
    if (f.type != 'N' && f.type != 'F')
        throw DbError(QStringLiteral("The field %1 is not a number field.").arg(nameOf(f)));
    writeNumber(record + f.offset, f, value);
}

void RecordCodec::setDate(char *record, int i, const QDate &date) const
{
    const FieldLayout &f = field(i);
    if (f.type != 'D')
        throw DbError(QStringLiteral("The field %1 is not a date field.").arg(nameOf(f)));
    writeDate(record + f.offset, f, date);
}

void RecordCodec::clear(char *record, int i) const
{
    const FieldLayout &f = field(i);
    std::memset(record + f.offset, ' ', size_t(f.width));
}

void RecordCodec::copy(char *record, int i, const RecordCodec &source, const char *sourceRecord, int sourceField) const
{
    const FieldLayout &to = field(i);
    const FieldLayout &from = source.field(sourceField);
    if (sourceRecord && to.type == 'C' && from.type == 'C' && to.width == from.width &&
        codepage_ == source.codepage_) {
        char *p = record + to.offset;
        std::memcpy(p, sourceRecord + from.offset, size_t(to.width));
        // Trailing NULs read as blanks, so they are written as blanks.
        if (std::memchr(p, '\0', size_t(to.width))) {
            for (int k = to.width; k > 0 && (p[k - 1] == ' ' || p[k - 1] == '\0'); --k)
                p[k - 1] = ' ';
        }
        return;
    }
    setText(record, i, sourceRecord ? source.text(sourceRecord, sourceField) : QString());
}

} // namespace kv
