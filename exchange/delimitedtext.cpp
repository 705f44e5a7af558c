// The delimited text reader and writer.
#include "exchange/delimitedtext.h"

#include "base/codepage.h"
#include "base/dberror.h"

#include <cstring>

namespace kv {

namespace {
constexpr qsizetype kBufferBytes = 1 << 16;
constexpr qsizetype kWriteBlock = 1 << 20; // written at once
constexpr char kQuote = '"';

bool utf8Lead(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }
} // namespace

// ---------------------------------------------------------------- writing

namespace {

// Writes the value, already encoded, as a quoted field at out, which has room for
// 2 * size + 2 bytes; returns the end. Doubling quotes does not touch blanks, so the
// blanks can go first; the cut counts characters after the doubling and never takes half
// of a doubled quote.
char *writeQuoted(char *out, const char *data, qsizetype size, ValueShape shape, bool utf8)
{
    qsizetype b = 0, e = size;
    const bool exported = shape == ValueShape::Exported;
    if (exported) {
        while (b < e && data[b] == ' ')
            ++b;
        while (e > b && data[e - 1] == ' ')
            --e;
    }
    *out++ = kQuote;
    const char *s = data + b;
    qsizetype n = e - b;
    const char *quote = n > 0 ? static_cast<const char *>(std::memchr(s, kQuote, size_t(n))) : nullptr;
    if (!exported || (n <= kMaxDelimitedField && !quote)) {
        // No cut can fall inside: the runs between quotes go at once.
        while (quote) {
            const qsizetype run = quote - s + 1;
            std::memcpy(out, s, size_t(run));
            out += run;
            *out++ = kQuote;
            s += run;
            n -= run;
            quote = static_cast<const char *>(std::memchr(s, kQuote, size_t(n)));
        }
        std::memcpy(out, s, size_t(n));
        out += n;
        *out++ = kQuote;
        return out;
    }
    int written = 0;
    for (qsizetype i = b; i < e; ++i) {
        const char c = data[i];
        const int chars = c == kQuote ? 2 : (utf8 && !utf8Lead(c)) ? 0 : 1;
        if (written + chars > kMaxDelimitedField)
            break;
        written += chars;
        *out++ = c;
        if (c == kQuote)
            *out++ = c;
    }
    *out++ = kQuote;
    return out;
}

} // namespace

QString quotedField(const QString &value, ValueShape shape)
{
    const QByteArray bytes = value.toUtf8();
    QByteArray out(2 * bytes.size() + 2, Qt::Uninitialized);
    const char *end = writeQuoted(out.data(), bytes.constData(), bytes.size(), shape, true);
    out.truncate(end - out.constData());
    return QString::fromUtf8(out);
}

DelimitedWriter::DelimitedWriter(QIODevice &out, TextEncoding encoding, ValueShape shape)
    : out_(out), encoding_(encoding), shape_(shape)
{
    buffer_.resize(kWriteBlock + 4096);
}

char *DelimitedWriter::room(qsizetype bytes)
{
    if (used_ + bytes > buffer_.size()) {
        flush();
        if (bytes > buffer_.size())
            buffer_.resize(bytes);
    }
    return buffer_.data() + used_;
}

Codepage codepageOf(TextEncoding encoding)
{
    return encoding == TextEncoding::Cp850 ? Codepage::Cp850 : Codepage::Cp1252;
}

void DelimitedWriter::addField(const QString &value)
{
    if (encoding_ == TextEncoding::Utf8) {
        const QByteArray bytes = value.toUtf8();
        addEncodedField(bytes.constData(), bytes.size());
        return;
    }
    const Codepage cp = codepageOf(encoding_);
    if (firstUnencodable(value, cp) >= 0)
        ++replaced_;
    const QByteArray bytes = encode(value, cp);
    addEncodedField(bytes.constData(), bytes.size());
}

void DelimitedWriter::addEncodedField(const char *data, qsizetype size)
{
    char *p = room(2 * size + 3);
    if (lineStarted_)
        *p++ = ',';
    lineStarted_ = true;
    used_ = writeQuoted(p, data, size, shape_, encoding_ == TextEncoding::Utf8) - buffer_.constData();
}

void DelimitedWriter::endLine()
{
    char *p = room(2);
    p[0] = '\r';
    p[1] = '\n';
    used_ += 2;
    lineStarted_ = false;
    ++lines_;
    if (used_ >= kWriteBlock)
        flush();
}

void DelimitedWriter::writeLine(const QStringList &values)
{
    for (const QString &v : values)
        addField(v);
    endLine();
}

void DelimitedWriter::flush()
{
    if (used_ == 0)
        return;
    const qint64 written = out_.write(buffer_.constData(), used_);
    if (written != used_)
        throw DbError(out_.errorString());
    used_ = 0;
}

// ---------------------------------------------------------------- reading

DelimitedReader::DelimitedReader(QIODevice &in, const TextFormat &format)
    : in_(in), format_(format), codepage_(codepageOf(format.encoding)), utf8_(format.encoding == TextEncoding::Utf8)
{
    if (refill() && buffer_.startsWith("\xEF\xBB\xBF")) {
        utf8_ = true;
        pos_ = 3;
        consumed_ = 3;
    }
}

bool DelimitedReader::refill()
{
    if (eof_)
        return false;
    buffer_.resize(kBufferBytes);
    const qint64 n = in_.read(buffer_.data(), kBufferBytes);
    if (n < 0)
        throw DbError(in_.errorString());
    buffer_.resize(n);
    pos_ = 0;
    if (n == 0)
        eof_ = true;
    return n > 0;
}

int DelimitedReader::peekAfterRefill()
{
    return refill() ? static_cast<unsigned char>(buffer_.constData()[pos_]) : -1;
}

// Takes the rest of a line end that began with c: CR LF counts as one.
void DelimitedReader::endLine(int c)
{
    if (c >= 0)
        ++lineEnds_;
    if (c == '\r' && peek() == '\n')
        get();
}

QString DelimitedReader::decoded(int i) const
{
    const QByteArray &f = raw_[size_t(i)];
    return utf8_ ? QString::fromUtf8(f) : decode(f, codepage_);
}

DelimitedReader::Line DelimitedReader::readLine(QStringList &fields, int maxFields)
{
    fields.clear();
    const Line line = readRawLine(maxFields);
    for (int i = 0; i < rawCount_; ++i)
        fields << decoded(i);
    return line;
}

// Where the next field goes: the next kept slot, or the spare past the fields asked for.
QByteArray &DelimitedReader::fieldSlot(bool kept, QByteArray &spare)
{
    if (kept && size_t(rawCount_) == raw_.size())
        raw_.emplace_back().reserve(64);
    QByteArray &field = kept ? raw_[size_t(rawCount_)] : spare;
    field.resize(0);
    return field;
}

DelimitedReader::Line DelimitedReader::finishLine() const
{
    if (shape_.fields == 1 && rawCount_ == 1 && raw_[0].isEmpty())
        return Line::Blank;
    return Line::Record;
}

namespace {

// A field being filled: at most 255 characters (a UTF-8 character counts once).
struct FieldFill {
    QByteArray &field;
    bool utf8;
    bool &overlong;
    int chars = 0;

    void keep(char c)
    {
        if (utf8 && !utf8Lead(c)) {
            if (chars <= kMaxDelimitedField && !field.isEmpty())
                field += c;
            return;
        }
        if (++chars > kMaxDelimitedField) {
            overlong = true;
            return;
        }
        field += c;
    }
    // A run of plain characters at once when it fits, else one by one.
    void keepRun(const char *d, qsizetype n)
    {
        if (!utf8 && chars + n <= kMaxDelimitedField) {
            field.append(d, n);
            chars += int(n);
            return;
        }
        if (utf8) {
            int leads = 0;
            for (qsizetype k = 0; k < n; ++k)
                leads += utf8Lead(d[k]);
            if (chars + leads <= kMaxDelimitedField && (utf8Lead(d[0]) || !field.isEmpty())) {
                field.append(d, n);
                chars += leads;
                return;
            }
        }
        for (qsizetype k = 0; k < n; ++k)
            keep(d[k]);
    }
};

} // namespace

DelimitedReader::Line DelimitedReader::readRawLine(int maxFields)
{
    if (format_.dialect == TextDialect::Csv)
        return readCsvLine(maxFields);
    rawCount_ = 0;
    shape_ = LineShape();
    recordLine_ = lineEnds_ + 1;
    if (peek() < 0)
        return Line::End;
    QByteArray spare;
    for (;;) {
        // Past the fields asked for, a field is read into the spare and dropped.
        const bool kept = rawCount_ < maxFields;
        FieldFill fill{fieldSlot(kept, spare), utf8_, shape_.overlong};
        bool opened = false;
        bool closed = false;
        bool lineEnded = false;
        for (;;) {
            if (opened && pos_ < buffer_.size()) {
                // The run of plain characters inside the quotes goes at once.
                const char *d = buffer_.constData();
                qsizetype j = pos_;
                while (j < buffer_.size() && static_cast<unsigned char>(d[j]) >= 32 && d[j] != kQuote)
                    ++j;
                if (j > pos_) {
                    fill.keepRun(d + pos_, j - pos_);
                    consumed_ += j - pos_;
                    pos_ = j;
                    continue;
                }
            }
            const int c = get();
            if (atLineEnd(c)) {
                endLine(c);
                lineEnded = true;
                break;
            }
            if (c == kQuote) {
                if (!opened) {
                    opened = true;
                    continue;
                }
                const int next = peek();
                if (atLineEnd(next)) {
                    endLine(get());
                    closed = lineEnded = true;
                    break;
                }
                if (next == ',') {
                    get();
                    closed = true;
                    break;
                }
                // A doubled quote stands for one; a lone one is kept as it is.
                if (next == kQuote)
                    get();
                fill.keep(kQuote);
                continue;
            }
            if (c < 32)
                continue;
            fill.keep(char(c));
        }
        ++shape_.fields;
        shape_.lastClosed = closed;
        if (kept)
            ++rawCount_;
        if (lineEnded)
            break;
        if (shape_.fields > maxFields) {
            // The rest of a line longer than asked for is not a record of its own.
            int c = get();
            while (!atLineEnd(c))
                c = get();
            endLine(c);
            break;
        }
    }
    return finishLine();
}

// Standard CSV: a quote opens a field only at its start; inside, a doubled quote is one
// and separators and line breaks are text; outside, the separator ends the field and a
// line break the record. Characters after a closing quote are kept as they come.
DelimitedReader::Line DelimitedReader::readCsvLine(int maxFields)
{
    rawCount_ = 0;
    shape_ = LineShape();
    shape_.lastClosed = true;
    recordLine_ = lineEnds_ + 1;
    if (peek() < 0)
        return Line::End;
    const char sep = format_.separator;
    QByteArray spare;
    bool lineEnded = false;
    while (!lineEnded) {
        const bool kept = rawCount_ < maxFields;
        FieldFill fill{fieldSlot(kept, spare), utf8_, shape_.overlong};
        bool quoted = false;
        bool started = false;
        bool blanksOnly = true;  // so far: what came before a quote that makes it quoted
        bool quoteFirst = false;
        for (;;) {
            if (pos_ < buffer_.size()) {
                const char *d = buffer_.constData();
                qsizetype j = pos_;
                while (j < buffer_.size() && d[j] != kQuote && d[j] != '\n' && d[j] != '\r' && (quoted || d[j] != sep))
                    ++j;
                if (j > pos_) {
                    for (qsizetype k = pos_; k < j && blanksOnly && !quoted; ++k)
                        blanksOnly = d[k] == ' ';
                    fill.keepRun(d + pos_, j - pos_);
                    consumed_ += j - pos_;
                    pos_ = j;
                    started = true;
                    continue;
                }
            }
            const int c = get();
            if (c < 0) {
                if (quoted)
                    shape_.lastClosed = false;
                lineEnded = true;
                break;
            }
            if (quoted) {
                if (c == kQuote) {
                    if (peek() == kQuote)
                        fill.keep(char(get()));
                    else
                        quoted = false;
                    continue;
                }
                if (c == '\n' || (c == '\r' && peek() != '\n'))
                    ++lineEnds_;
                fill.keep(char(c));
                continue;
            }
            if (c == sep)
                break;
            if (c == '\n' || c == '\r') {
                endLine(c);
                lineEnded = true;
                break;
            }
            if (c == kQuote && blanksOnly)
                quoteFirst = true;
            if (c == kQuote && !started) {
                quoted = started = true;
                continue;
            }
            started = true;
            blanksOnly = false;
            fill.keep(char(c));
        }
        if (!quoteFirst)
            shape_.unquoted = true;
        ++shape_.fields;
        if (kept)
            ++rawCount_;
    }
    return finishLine();
}

} // namespace kv
