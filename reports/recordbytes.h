#pragma once
// Field-by-field access to the fixed-size little-endian records of the report files:
// Pascal-style strings (a length byte and a fixed run of code page 1252 bytes), flag
// bytes, 16- and 32-bit integers and 64-bit IEEE reals. Internal to kv_reports.
#include "base/codepage.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstring>

namespace kv::recordbytes {

class Writer {
public:
    explicit Writer(qsizetype size) : bytes_(size, '\0') {}

    qsizetype pos() const { return pos_; }
    QByteArray bytes() const { return bytes_; }

    // A string of at most maxLength bytes; the bytes past its length stay zero.
    void string(const QString &text, int maxLength)
    {
        const QByteArray encoded = encode(text).left(maxLength);
        putByte(quint8(encoded.size()));
        std::memcpy(bytes_.data() + pos_, encoded.constData(), size_t(encoded.size()));
        pos_ += maxLength;
    }
    void flag(bool on) { putByte(on ? 1 : 0); }
    void byte(quint8 value) { putByte(value); }
    void int16(qint16 value) { put(qToLittleEndian(value)); }
    void uint32(quint32 value) { put(qToLittleEndian(value)); }
    void real(double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        put(qToLittleEndian(bits));
    }
    void skip(qsizetype count) { pos_ += count; }

private:
    void putByte(quint8 value) { bytes_[pos_++] = char(value); }
    template <typename T> void put(T littleEndian)
    {
        std::memcpy(bytes_.data() + pos_, &littleEndian, sizeof littleEndian);
        pos_ += qsizetype(sizeof littleEndian);
    }

    QByteArray bytes_;
    qsizetype pos_ = 0;
};

// Reads from a buffer the caller has checked to be long enough.
class Reader {
public:
    explicit Reader(const char *data, qsizetype pos = 0) : data_(data), pos_(pos) {}

    qsizetype pos() const { return pos_; }
    void seek(qsizetype pos) { pos_ = pos; }
    void skip(qsizetype count) { pos_ += count; }

    // Bytes past the length are ignored; a length byte beyond maxLength reads as maxLength.
    QString string(int maxLength)
    {
        const int length = qMin(int(quint8(data_[pos_])), maxLength);
        const QString text = decode(data_ + pos_ + 1, length);
        pos_ += 1 + maxLength;
        return text;
    }
    bool flag() { return byte() != 0; }
    quint8 byte() { return quint8(data_[pos_++]); }
    qint16 int16() { return get<qint16>(); }
    quint32 uint32() { return get<quint32>(); }
    double real()
    {
        const quint64 bits = get<quint64>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    template <typename T> T get()
    {
        const T value = qFromLittleEndian<T>(data_ + pos_);
        pos_ += qsizetype(sizeof(T));
        return value;
    }

    const char *data_;
    qsizetype pos_;
};

} // namespace kv::recordbytes
