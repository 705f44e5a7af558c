#pragma once
// Delimited text: the one reader and the one writer of it. The program's own format has
// every field in double quotes, separated by commas; the reader also reads the standard
// CSV that spreadsheets and scripts write (quotes only where needed, a comma, semicolon
// or tab between fields, quoted line breaks). Both stream through a small buffer, so a
// file of any size takes the same memory. Files are code page 1252 unless told
// otherwise; a file that starts with a UTF-8 byte-order mark is always read as UTF-8.
#include "base/codepage.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <vector>

namespace kv {

inline constexpr int kMaxDelimitedField = 255; // characters of one field

enum class TextEncoding { Cp1252, Utf8, Cp850 };
// The code page of a single-byte encoding (1252 for UTF-8, which has none).
Codepage codepageOf(TextEncoding encoding);

// The program's own format, or standard CSV.
enum class TextDialect { Own, Csv };
struct TextFormat {
    TextDialect dialect = TextDialect::Own;
    char separator = ','; // of CSV: ',', ';' or '\t'
    TextEncoding encoding = TextEncoding::Cp1252; // of a file without a byte-order mark
    bool operator==(const TextFormat &) const = default;
};

// How a value is shaped before it is written: an exported value loses its leading and
// trailing blanks and is cut to 255 characters; a listing writes values as they are.
enum class ValueShape { Exported, Verbatim };

// One value as a quoted field: inner double quotes doubled, shaped, in double quotes.
// A cut never splits a doubled quote, so the field reads back whole.
QString quotedField(const QString &value, ValueShape shape = ValueShape::Exported);

class DelimitedWriter {
public:
    explicit DelimitedWriter(QIODevice &out, TextEncoding encoding = TextEncoding::Cp1252,
                             ValueShape shape = ValueShape::Exported);
    TextEncoding encoding() const { return encoding_; }
    void addField(const QString &value);
    // A value already in the writer's encoding (table text of the same code page).
    void addEncodedField(const char *data, qsizetype size);
    void endLine(); // CR LF
    void writeLine(const QStringList &values);
    // Writes what is buffered; throws DbError with the file's own message when it fails.
    void flush();
    qint64 linesWritten() const { return lines_; }
    // Values given as text that the writer's code page could not hold whole ('?' written).
    qint64 valuesReplaced() const { return replaced_; }

private:
    // Room for that many bytes at the end of what is buffered.
    char *room(qsizetype bytes);

    QIODevice &out_;
    TextEncoding encoding_;
    ValueShape shape_;
    QByteArray buffer_; // of which the first used_ bytes are written
    qsizetype used_ = 0;
    bool lineStarted_ = false;
    qint64 lines_ = 0;
    qint64 replaced_ = 0;
};

class DelimitedReader {
public:
    enum class Line { Record, Blank, End };
    // What the last line read looked like, for the check of a file's first line.
    struct LineShape {
        int fields = 0;          // fields read (at most the limit given plus one)
        bool overlong = false;   // a field had more than 255 characters
        bool lastClosed = false; // own format: the last field read ended with its closing
                                 // quote; CSV: no quoted field ran to the end of the file
        bool unquoted = false;   // CSV: a field did not start with a quote (blanks aside)
    };

    // Reading starts at the device's current position, which should be the file's start.
    explicit DelimitedReader(QIODevice &in, const TextFormat &format = TextFormat());

    // Reads the next line into fields, at most maxFields of them; the rest of a longer
    // line is skipped. Blank: the line held one empty field and nothing else. Throws
    // DbError when the device cannot be read.
    Line readLine(QStringList &fields, int maxFields);
    // The same with the fields left as the file's bytes (code page 1252, or UTF-8 when
    // utf8()), valid until the next read: what a fast import stores without converting.
    Line readRawLine(int maxFields);
    int rawCount() const { return rawCount_; }
    const QByteArray &rawField(int i) const { return raw_[size_t(i)]; }
    QString decoded(int i) const;
    const LineShape &lastShape() const { return shape_; }
    bool utf8() const { return utf8_; }
    // The encoding the file is read in (UTF-8 when it starts with a byte-order mark).
    TextEncoding encoding() const { return utf8_ ? TextEncoding::Utf8 : format_.encoding; }
    qint64 bytesRead() const { return consumed_; }
    // The line of the file on which the last record read starts, from 1.
    qint64 recordLine() const { return recordLine_; }

private:
    int peek()
    {
        return pos_ < buffer_.size() ? static_cast<unsigned char>(buffer_.constData()[pos_]) : peekAfterRefill();
    }
    int get()
    {
        const int c = peek();
        if (c >= 0) {
            ++pos_;
            ++consumed_;
        }
        return c;
    }
    static bool atLineEnd(int c) { return c < 0 || c == '\n' || c == '\r'; }
    int peekAfterRefill();
    bool refill();
    void endLine(int c);
    Line readCsvLine(int maxFields);
    QByteArray &fieldSlot(bool kept, QByteArray &spare);
    Line finishLine() const;

    QIODevice &in_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    qint64 consumed_ = 0;
    bool eof_ = false;
    TextFormat format_;
    Codepage codepage_ = Codepage::Cp1252;
    bool utf8_ = false;
    qint64 lineEnds_ = 0;
    qint64 recordLine_ = 0;
    std::vector<QByteArray> raw_; // kept between lines, so that reading allocates nothing
    int rawCount_ = 0;
    LineShape shape_;
};

} // namespace kv
