#include "rawrecord.h"

#include <cstring>

namespace rawrec {

QByteArray str(const QByteArray &rec, int offset, int maxLength)
{
    const int length = std::min<int>(quint8(rec.at(offset)), maxLength);
    return rec.mid(offset + 1, length);
}

int u8(const QByteArray &rec, int offset) { return quint8(rec.at(offset)); }

int i16(const QByteArray &rec, int offset) { return qint16(quint16(u8(rec, offset) | u8(rec, offset + 1) << 8)); }

quint32 u32(const QByteArray &rec, int offset)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | quint32(u8(rec, offset + i));
    return v;
}

double f64(const QByteArray &rec, int offset)
{
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | quint64(u8(rec, offset + i));
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray record(const QByteArray &file, int index) { return file.mid(qsizetype(index) * kRecordSize, kRecordSize); }

Part filler(int width) { return {"<FILLER>", -1, width, QByteArray()}; }
Part label(const char *text, int width) { return {"<LABEL>", -1, width, text}; }
Part field(const char *name, int number, int width) { return {name, number, width, QByteArray()}; }

void expectPart(const QByteArray &rec, int n, int m, const Part &expected, const std::string &where)
{
    SCOPED_TRACE(where + ", line " + std::to_string(n) + " part " + std::to_string(m));
    const int at = partOffset(n, m);
    EXPECT_EQ(str(rec, at, 30), expected.kind);
    if (expected.number >= 0) {
        EXPECT_EQ(u8(rec, at + 31), expected.number);
    }
    EXPECT_EQ(i16(rec, at + 32), expected.width);
    EXPECT_EQ(str(rec, at + 34, 40), expected.label);
}

void expectLine(const QByteArray &rec, int n, const std::vector<Part> &listed, const std::string &where)
{
    for (int m = 1; m <= 20; ++m) {
        if (m <= int(listed.size()))
            expectPart(rec, n, m, listed[size_t(m - 1)], where);
        else
            expectPart(rec, n, m, filler(m == 1 ? 150 : 0), where);
    }
}

void expectFont(const QByteArray &rec, int k, const Font &expected, const std::string &where)
{
    SCOPED_TRACE(where + ", font " + std::to_string(k));
    const int at = fontOffset(k);
    EXPECT_EQ(str(rec, at, 50), QByteArray(expected.name));
    EXPECT_EQ(i16(rec, at + 51), expected.size);
    EXPECT_EQ(u8(rec, at + 53), expected.bold ? 1 : 0);
    EXPECT_EQ(u8(rec, at + 54), expected.italic ? 1 : 0);
    EXPECT_EQ(u8(rec, at + 55), expected.underline ? 1 : 0);
    EXPECT_EQ(u8(rec, at + 56), expected.strikeout ? 1 : 0);
    EXPECT_EQ(u32(rec, at + 57), expected.color);
}

} // namespace rawrec
