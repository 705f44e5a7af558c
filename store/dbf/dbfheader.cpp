#include "store/dbf/dbfheader.h"

#include "store/dbf/osfile.h"

#include "base/dateformat.h"
#include "base/dberror.h"

#include <QDate>

#include <algorithm>
#include <cstring>
#include <ctime>

namespace kv {

namespace {

constexpr std::uint8_t kTerminator = 0x0D;
constexpr char kEofMarker = 0x1A;

std::uint16_t u16(const unsigned char *p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t u32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
void put16(unsigned char *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

// Header bytes 1..3: the date of the last update, year counted from 1900.
void putToday(unsigned char *p)
{
    const QDate today = todayForHeaders();
    p[0] = std::uint8_t(today.year() - 1900);
    p[1] = std::uint8_t(today.month());
    p[2] = std::uint8_t(today.day());
}

} // namespace

QDate todayForHeaders() { return today(); }

namespace {

bool visualFoxPro(std::uint8_t version) { return version == 0x30 || version == 0x31 || version == 0x32; }

bool knownVersion(std::uint8_t version)
{
    return (version & 0x07) == 0x03 || version == 0x02 || version == 0x30 || version == 0x31 || version == 0x32 ||
           version == 0xF5 || version == 0xFB;
}

// Descriptors end at the terminator; some writers end them with a NUL instead, with
// nothing but NULs after it.
bool endsDescriptors(const QByteArray &desc, int at)
{
    if (desc[at] == char(kTerminator))
        return true;
    for (int i = at; i < desc.size(); ++i)
        if (desc[i] != '\0')
            return false;
    return true;
}

// The field descriptors from byte 32 up to the terminator.
std::vector<FieldLayout> readFields(const QByteArray &desc, std::uint8_t version, const QString &shown,
                                    int &terminator, QByteArray &misplaced)
{
    std::vector<FieldLayout> fields;
    int offset = 1;
    terminator = -1;
    for (int at = 0; at < desc.size(); at += 32) {
        if (endsDescriptors(desc, at)) {
            terminator = at;
            break;
        }
        if (at + 32 > desc.size())
            break;
        const auto *d = reinterpret_cast<const unsigned char *>(desc.constData() + at);
        FieldLayout f;
        int nameLength = 0;
        while (nameLength < 11 && d[nameLength] != 0)
            ++nameLength;
        f.name = QByteArray(reinterpret_cast<const char *>(d), nameLength).trimmed();
        f.type = char(d[11]);
        f.width = d[16];
        f.decimals = d[17];
        if (f.type == 'C' && version != 0x03 && (version & 0x07) != 0x03)
            f.width += d[17] * 256; // FoxPro keeps long text widths in the decimals byte
        if (f.type == 'C')
            f.decimals = 0;
        f.offset = offset;
        // Visual FoxPro keeps each field's place in the record; others leave it 0 or,
        // like dBASE III, put memory addresses there.
        if (visualFoxPro(version) && u32(d + 12) != 0 && u32(d + 12) != std::uint32_t(offset) && misplaced.isEmpty())
            misplaced = f.name;
        if (f.width <= 0 || f.name.isEmpty())
            throw DbError(QStringLiteral("The table \"%1\" is damaged: %2.")
                              .arg(shown, QStringLiteral("field %1 has no name or width").arg(fields.size() + 1)));
        offset += f.width;
        fields.push_back(f);
    }
    return fields;
}

// Memo fields are known only to a table that says it has a memo file.
bool hasMemoFile(std::uint8_t version) { return (version & 0x80) != 0 || version == 0xF5 || visualFoxPro(version); }

// Empty, or how a field's descriptor disagrees with what the engine reads and writes:
// a type it does not know, or more decimals than the width holds.
QString fieldDamage(const FieldLayout &f, std::uint8_t version)
{
    const QString name = QString::fromLatin1(f.name);
    switch (f.type) {
    case 'C': case 'N': case 'F': case 'D': case 'L': break;
    case 'M':
        if (hasMemoFile(version))
            break;
        return QStringLiteral("the field %1 is a memo field, but the table has no memo file").arg(name);
    default:
        return QStringLiteral("the field %1 has a type (%2) this program does not know")
            .arg(name, f.type > 0x20 && f.type < 0x7F ? QString(QChar::fromLatin1(f.type))
                                                      : QStringLiteral("0x%1").arg(std::uint8_t(f.type), 2, 16, QLatin1Char('0')));
    }
    if (f.type != 'C' && f.decimals > 0 && f.decimals >= f.width)
        return QStringLiteral("the field %1 has %2 decimals in a width of %3").arg(name).arg(f.decimals).arg(f.width);
    return QString();
}

// dBASE 7 keeps 68 header bytes and 48-byte field descriptors ending in the terminator
// within its header length: a file of other bytes with the same first byte is no table.
bool looksLikeDbase7(const OsFile &file, const unsigned char *head, std::int64_t size)
{
    constexpr std::uint32_t kHead = 68, kDescriptor = 48;
    const std::uint32_t headerLength = u16(head + 8);
    if (u16(head + 10) < 2 || headerLength < kHead + kDescriptor + 1 || headerLength > size)
        return false;
    for (std::uint32_t at = kHead + kDescriptor; at < headerLength; at += kDescriptor) {
        unsigned char c = 0;
        if (!file.readAt(at, &c, 1))
            return false;
        if (c == kTerminator)
            return true;
    }
    return false;
}

} // namespace

std::uint32_t DbfHeader::wholeRecords(std::uint32_t headerCount, std::int64_t fileSize) const
{
    const std::uint64_t whole =
        fileSize > std::int64_t(headerLength) ? (std::uint64_t(fileSize) - headerLength) / recordLength : 0;
    return std::uint32_t(std::min<std::uint64_t>(headerCount, whole));
}

DbfHeader readDbfHeader(const OsFile &file, const QString &shown)
{
    const QString notDbase = QStringLiteral("The file \"%1\" is not a dBASE table.").arg(shown);
    const QString damaged = QStringLiteral("The table \"%1\" is damaged: %2.");
    const std::int64_t size = file.size();
    unsigned char head[32];
    if (size < 32 || !file.readAt(0, head, 32))
        throw DbError(notDbase);
    DbfHeader h;
    h.version = head[0];
    if ((h.version == 0x04 || h.version == 0x8C) && looksLikeDbase7(file, head, size))
        throw DbError(QStringLiteral("The table \"%1\" is a dBASE 7 table, which this program cannot read.").arg(shown));
    if (!knownVersion(h.version))
        throw DbError(notDbase);
    h.headerLength = u16(head + 8);
    h.recordLength = u16(head + 10);
    if (h.headerLength < 33 || h.recordLength < 2)
        throw DbError(notDbase);
    if (h.headerLength > size)
        throw DbError(damaged.arg(shown, QStringLiteral("its header is cut short")));
    h.ldid = head[29];
    h.codepage = codepageForLdid(h.ldid);

    QByteArray desc(int(h.headerLength - 32), '\0');
    if (!file.readAt(32, desc.data(), size_t(desc.size())))
        throw DbError(damaged.arg(shown, QStringLiteral("its header cannot be read")));
    int terminator = -1;
    QByteArray misplaced;
    h.fields = readFields(desc, h.version, shown, terminator, misplaced);
    if (terminator < 0 && h.fields.empty())
        throw DbError(notDbase);
    if (h.fields.empty())
        throw DbError(damaged.arg(shown, QStringLiteral("it has no fields")));
    const FieldLayout &last = h.fields.back();
    if (std::uint32_t(last.offset + last.width) > h.recordLength)
        throw DbError(damaged.arg(shown, QStringLiteral("its fields do not fit its record length")));

    // What can still be read is read; what disagrees is damage that no write may spread.
    // The records start where the header length says, right after the terminator: only
    // NULs may stand between (dBASE III left one), or Visual FoxPro's 263 bytes for a
    // database link. Anything else there is the start of the records, read one or more
    // bytes late.
    const std::uint32_t described = 32 + 32 * std::uint32_t(h.fields.size()) + 1;
    bool padded = terminator >= 0;
    if (padded && visualFoxPro(h.version))
        padded = h.headerLength <= described + 263;
    else
        for (int i = terminator + 1; padded && i < desc.size(); ++i)
            padded = desc[i] == '\0';
    const std::uint32_t fieldsEnd = std::uint32_t(last.offset + last.width);
    if (!padded)
        h.damage = QStringLiteral("its header length (%1 bytes) does not match its %2 field descriptors")
                       .arg(h.headerLength)
                       .arg(h.fields.size());
    for (size_t i = 0; i < h.fields.size() && h.damage.isEmpty(); ++i)
        h.damage = fieldDamage(h.fields[i], h.version);
    if (h.damage.isEmpty() && !misplaced.isEmpty())
        h.damage = QStringLiteral("the place of the field %1 in the record does not match the fields before it")
                       .arg(QString::fromLatin1(misplaced));
    if (h.damage.isEmpty() && h.recordLength != fieldsEnd)
        h.damage = QStringLiteral("its record length (%1 bytes) does not match its fields (%2 bytes)")
                       .arg(h.recordLength)
                       .arg(fieldsEnd);

    // Trust only the records that are whole in the file. Another writer adds records
    // before it counts them, and uncounts them before it cuts them off: the length taken
    // after the count covers what it counts, and a count read again settles a cut made
    // meanwhile.
    std::uint32_t counted = u32(head + 4);
    const std::int64_t length = file.size();
    h.recordCount = h.wholeRecords(counted, length < 0 ? size : length);
    unsigned char again[4];
    if (h.recordCount < counted && file.readAt(4, again, 4)) {
        counted = u32(again);
        h.recordCount = h.wholeRecords(counted, file.size());
    }
    if (h.damage.isEmpty() && h.recordCount < counted)
        h.damage = QStringLiteral("its header counts %1 records but the file holds %2 whole ones")
                       .arg(counted)
                       .arg(h.recordCount);
    if (!h.damage.isEmpty())
        h.damage = damaged.arg(shown, h.damage);
    return h;
}

bool rereadDbfCount(const OsFile &file, DbfHeader &header)
{
    unsigned char count[4];
    if (!file.readAt(4, count, 4))
        return false;
    header.recordCount = header.wholeRecords(u32(count), file.size());
    return true;
}

bool writeDbfCount(OsFile &file, std::uint32_t count)
{
    unsigned char date[3];
    putToday(date);
    unsigned char counted[4];
    put32(counted, count);
    return file.overwrite(1, date, sizeof date) && file.overwrite(4, counted, sizeof counted);
}

bool writeDbfCountPending(OsFile &file, std::uint32_t count)
{
    return writeIndexPending(file, true) && writeDbfCount(file, count);
}

bool readProductionFlag(const OsFile &file)
{
    unsigned char flag = 0;
    file.readAt(kDbfProductionFlag, &flag, 1);
    return flag != 0;
}

bool writeProductionFlag(OsFile &file, bool on)
{
    const unsigned char flag = on ? 1 : 0;
    return file.writeAt(kDbfProductionFlag, &flag, 1);
}

bool readIndexPending(const OsFile &file)
{
    unsigned char flag = 0;
    file.readAt(kDbfIndexPending, &flag, 1);
    return flag != 0;
}

bool writeIndexPending(OsFile &file, bool on)
{
    // One byte: a kill leaves it either set or clear.
    const unsigned char flag = on ? 1 : 0;
    return file.overwrite(kDbfIndexPending, &flag, 1);
}

FieldDef checkFieldDef(const QString &name, char type, int width, int decimals, const std::vector<FieldDef> &before)
{
    const QString upper = name.trimmed().toUpper();
    bool ok = !upper.isEmpty() && upper.size() <= 10 && upper.at(0).isLetter() && upper.at(0).unicode() < 128;
    for (QChar c : upper)
        ok = ok && c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    if (!ok)
        throw DbError(QStringLiteral("\"%1\" is not a valid dBASE field name.").arg(name));
    for (const FieldDef &d : before)
        if (d.name == upper)
            throw DbError(QStringLiteral("The field name \"%1\" is used twice.").arg(name));
    bool sizeOk = false;
    switch (type) {
    case 'C': sizeOk = width >= 1 && width <= 254 && decimals == 0; break;
    case 'N': case 'F': sizeOk = width >= 1 && width <= 20 && decimals >= 0 && (decimals == 0 || decimals <= width - 2); break;
    case 'D': sizeOk = width == 8 && decimals == 0; break;
    case 'L': sizeOk = width == 1 && decimals == 0; break;
    default:
        throw DbError(QStringLiteral("The field type '%1' of \"%2\" is not supported.").arg(QChar::fromLatin1(type), name));
    }
    if (!sizeOk)
        throw DbError(QStringLiteral("The field \"%1\" has an invalid size.").arg(name));
    return {upper, type, width, decimals};
}

QByteArray newTableBytes(const std::vector<FieldDef> &fields, const QString &shown)
{
    if (fields.size() > 255)
        throw DbError(QStringLiteral("A dBASE table holds at most 255 fields."));
    const int n = int(fields.size());
    const int headerLength = 32 + 32 * n + 1;
    int recordLength = 1;
    for (const FieldDef &d : fields)
        recordLength += d.width;
    if (recordLength > 65535)
        throw DbError(QStringLiteral("The records of the table \"%1\" would be too long.").arg(shown));
    QByteArray bytes(headerLength + 1, '\0');
    auto *h = reinterpret_cast<unsigned char *>(bytes.data());
    h[0] = 0x03;
    putToday(h + 1);
    put32(h + 4, 0);
    put16(h + 8, std::uint32_t(headerLength));
    put16(h + 10, std::uint32_t(recordLength));
    h[29] = kLdidWindowsAnsi;
    for (int i = 0; i < n; ++i) {
        unsigned char *d = h + 32 + 32 * i;
        const QByteArray name = fields[size_t(i)].name.toLatin1();
        std::memcpy(d, name.constData(), size_t(name.size()));
        d[11] = std::uint8_t(fields[size_t(i)].type);
        d[16] = std::uint8_t(fields[size_t(i)].width);
        d[17] = std::uint8_t(fields[size_t(i)].decimals);
    }
    h[headerLength - 1] = kTerminator;
    h[headerLength] = std::uint8_t(kEofMarker);
    return bytes;
}

} // namespace kv
