#include "keyexpr.h"

#include "base/dberror.h"

#include "base/numbertext.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kv {

// Evaluation tree: character nodes write exactly `length` bytes.
struct KeyExpression::Part {
    enum Kind { Field, Upper, Left, Str, Dtos, Concat } kind = Field;
    char type = 'C'; // result: C (characters), N (number), D (date)
    int length = 0;  // for C results
    int offset = 0, width = 0; // Field
    int strDecimals = 0;       // Str
    std::vector<int> children; // indexes into the part list
};

namespace {

using Part = KeyExpression::Part;

[[noreturn]] void refuse(const QString &expression, const QString &why)
{
    throw DbError(QStringLiteral("Invalid index expression \"%1\": %2").arg(expression, why));
}

class Parser {
public:
    Parser(const QString &text, const std::vector<FieldLayout> &fields, std::vector<Part> &parts)
        : text_(text), fields_(fields), parts_(parts)
    {
    }

    int parseAll()
    {
        const int root = parseSum();
        skipBlanks();
        if (pos_ != text_.size())
            fail(QStringLiteral("unexpected \"%1\"").arg(text_.mid(pos_)));
        return root;
    }

private:
    [[noreturn]] void fail(const QString &why) { refuse(text_, why); }

    void skipBlanks()
    {
        while (pos_ < text_.size() && text_.at(pos_).isSpace())
            ++pos_;
    }

    bool take(QChar c)
    {
        skipBlanks();
        if (pos_ < text_.size() && text_.at(pos_) == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void expect(QChar c)
    {
        if (!take(c))
            fail(QStringLiteral("\"%1\" expected").arg(c));
    }

    QString identifier()
    {
        skipBlanks();
        const qsizetype start = pos_;
        while (pos_ < text_.size() && (text_.at(pos_).isLetterOrNumber() || text_.at(pos_) == QLatin1Char('_')))
            ++pos_;
        return text_.mid(start, pos_ - start);
    }

    int integer()
    {
        skipBlanks();
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_.at(pos_).isDigit())
            ++pos_;
        bool ok = false;
        const int value = text_.mid(start, pos_ - start).toInt(&ok);
        if (!ok)
            fail(QStringLiteral("a whole number expected"));
        return value;
    }

    int add(Part part)
    {
        parts_.push_back(std::move(part));
        return int(parts_.size() - 1);
    }

    int parseSum()
    {
        int left = parseTerm();
        while (take(QLatin1Char('+'))) {
            const int right = parseTerm();
            if (parts_[left].type != 'C' || parts_[right].type != 'C')
                fail(QStringLiteral("only text can be joined with \"+\""));
            Part concat;
            concat.kind = Part::Concat;
            concat.length = parts_[left].length + parts_[right].length;
            concat.children = {left, right};
            left = add(concat);
        }
        return left;
    }

    int parseTerm()
    {
        const QString name = identifier();
        if (name.isEmpty())
            fail(pos_ < text_.size() ? QStringLiteral("unexpected \"%1\"").arg(text_.mid(pos_))
                                     : QStringLiteral("the expression ends too early"));
        if (!take(QLatin1Char('(')))
            return fieldPart(name);
        const QString fn = name.toUpper();
        Part part;
        if (fn == QLatin1String("UPPER")) {
            const int arg = parseSum();
            requireType(arg, 'C', fn);
            part.kind = Part::Upper;
            part.length = parts_[arg].length;
            part.children = {arg};
        } else if (fn == QLatin1String("LEFT")) {
            const int arg = parseSum();
            requireType(arg, 'C', fn);
            expect(QLatin1Char(','));
            const int n = integer();
            if (n < 1)
                fail(QStringLiteral("LEFT needs a length of at least 1"));
            part.kind = Part::Left;
            part.length = std::min(n, parts_[arg].length);
            part.children = {arg};
        } else if (fn == QLatin1String("STR")) {
            const int arg = parseSum();
            requireType(arg, 'N', fn);
            int len = 10, dec = 0;
            if (take(QLatin1Char(','))) {
                len = integer();
                if (take(QLatin1Char(',')))
                    dec = integer();
            }
            if (len < 1 || len > 20 || dec < 0 || dec > 18)
                fail(QStringLiteral("STR lengths out of range"));
            part.kind = Part::Str;
            part.length = len;
            part.strDecimals = dec;
            part.children = {arg};
        } else if (fn == QLatin1String("DTOS")) {
            const int arg = parseSum();
            requireType(arg, 'D', fn);
            part.kind = Part::Dtos;
            part.length = 8;
            part.children = {arg};
        } else {
            fail(QStringLiteral("the function %1 is not supported").arg(name));
        }
        expect(QLatin1Char(')'));
        part.type = 'C';
        return add(part);
    }

    void requireType(int index, char type, const QString &fn)
    {
        if (parts_[index].type != type) {
            const char *what = type == 'C' ? "text" : type == 'N' ? "a number" : "a date";
            fail(QStringLiteral("%1 needs %2").arg(fn, QLatin1String(what)));
        }
    }

    int fieldPart(const QString &name)
    {
        for (const FieldLayout &f : fields_) {
            if (QString::fromLatin1(f.name).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            Part part;
            part.kind = Part::Field;
            part.offset = f.offset;
            part.width = f.width;
            switch (f.type) {
            case 'C': case 'L': part.type = 'C'; part.length = f.width; break;
            case 'N': case 'F': part.type = 'N'; break;
            case 'D': part.type = 'D'; break;
            default: fail(QStringLiteral("the field %1 cannot be part of a key").arg(name));
            }
            return add(part);
        }
        fail(QStringLiteral("there is no field %1").arg(name));
    }

    const QString &text_;
    const std::vector<FieldLayout> &fields_;
    std::vector<Part> &parts_;
    qsizetype pos_ = 0;
};

double numberAt(const char *p, int width)
{
    int i = 0;
    while (i < width && p[i] == ' ')
        ++i;
    int end = width;
    while (end > i && p[end - 1] == ' ')
        --end;
    if (i >= end || p[i] == '*')
        return 0.0; // blank numbers count as 0, as in dBASE
    double value = 0.0;
    const char *first = p + i;
    if (*first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, p + end, value);
    if (ec != std::errc()) {
        // A comma as decimal mark, as some writers store it.
        char buf[64];
        const int n = std::min(end - i, 63);
        std::memcpy(buf, p + i, size_t(n));
        buf[n] = '\0';
        for (char &c : buf)
            if (c == ',')
                c = '.';
        value = std::strtod(buf, nullptr);
    }
    return value;
}

void evalChar(const std::vector<Part> &parts, int index, const char *record, char *out, const std::uint8_t *upper)
{
    const Part &p = parts[index];
    switch (p.kind) {
    case Part::Field:
        std::memcpy(out, record + p.offset, size_t(p.length));
        return;
    case Part::Upper: {
        evalChar(parts, p.children[0], record, out, upper);
        for (int i = 0; i < p.length; ++i)
            out[i] = char(upper[std::uint8_t(out[i])]);
        return;
    }
    case Part::Left: {
        const Part &child = parts[p.children[0]];
        if (child.kind == Part::Field) {
            std::memcpy(out, record + child.offset, size_t(p.length));
        } else {
            char buf[512];
            evalChar(parts, p.children[0], record, buf, upper);
            std::memcpy(out, buf, size_t(p.length));
        }
        return;
    }
    case Part::Str: {
        const Part &child = parts[p.children[0]];
        const QByteArray s = dbaseStr(numberAt(record + child.offset, child.width), p.length, p.strDecimals);
        std::memcpy(out, s.constData(), size_t(p.length));
        return;
    }
    case Part::Dtos: {
        const Part &child = parts[p.children[0]];
        const char *d = record + child.offset;
        bool digits = child.width == 8;
        for (int i = 0; digits && i < 8; ++i)
            digits = d[i] >= '0' && d[i] <= '9';
        if (digits && std::memcmp(d, "00000000", 8) != 0)
            std::memcpy(out, d, 8);
        else
            std::memset(out, ' ', 8);
        return;
    }
    case Part::Concat: {
        const int leftLength = parts[p.children[0]].length;
        evalChar(parts, p.children[0], record, out, upper);
        evalChar(parts, p.children[1], record, out + leftLength, upper);
        return;
    }
    }
}

} // namespace

QByteArray dbaseStr(double value, int len, int dec)
{
    for (int d = dec; d >= 0; --d) {
        const QByteArray text = decimalText(value, d);
        if (text.size() <= len)
            return QByteArray(len - text.size(), ' ') + text;
        // The integer part alone does not fit: asterisks.
        const qsizetype point = text.indexOf('.');
        if ((point < 0 ? text.size() : point) > len)
            break;
    }
    return QByteArray(len, '*');
}

KeyExpression KeyExpression::parse(const QString &text, const std::vector<FieldLayout> &fields,
                                   const std::uint8_t *upper)
{
    auto parts = std::make_shared<std::vector<Part>>();
    Parser parser(text, fields, *parts);
    const int root = parser.parseAll();
    if ((*parts)[size_t(root)].type != 'C')
        refuse(text, QStringLiteral("the key must be text"));
    if ((*parts)[size_t(root)].length > 100)
        refuse(text, QStringLiteral("the key is longer than 100 characters"));
    // Evaluation starts at the last part added, which is the root.
    if (root != int(parts->size()) - 1)
        refuse(text, QStringLiteral("internal error"));
    KeyExpression e;
    e.text_ = text;
    e.keyLength_ = (*parts)[size_t(root)].length;
    e.parts_ = std::move(parts);
    e.upper_ = upper;
    return e;
}

void KeyExpression::evaluate(const char *record, char *out) const
{
    evalChar(*parts_, int(parts_->size()) - 1, record, out, upper_);
}

void KeyExpression::prefetch(const char *record) const
{
    for (const Part &p : *parts_) {
        if (p.kind != Part::Field)
            continue;
        __builtin_prefetch(record + p.offset);
        __builtin_prefetch(record + p.offset + p.width - 1);
    }
}

QByteArray KeyExpression::evaluate(const char *record) const
{
    QByteArray out(keyLength_, Qt::Uninitialized);
    evaluate(record, out.data());
    return out;
}

} // namespace kv
