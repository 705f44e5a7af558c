#pragma once
// The header of a dBASE table: reading and checking it, the fields it describes, the
// record count with the date of the last change, the production-index flag, and the
// header of a new table.
#include "store/dbf/recordcodec.h"

#include "base/codepage.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>
#include <vector>

namespace kv {

class OsFile;

struct DbfHeader {
    std::uint8_t version = 0x03;
    std::uint8_t ldid = kLdidWindowsAnsi;
    Codepage codepage = Codepage::Cp1252;
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    // The records that are whole in the file, never more than the header counts.
    std::uint32_t recordCount = 0;
    std::vector<FieldLayout> fields;
    // Empty, or the message saying how the header disagrees with its field descriptors
    // or with the file: such a table is only read, as far as its whole records go.
    QString damage;

    std::int64_t recordOffset(std::uint32_t recno) const
    {
        return std::int64_t(headerLength) + std::int64_t(recno - 1) * recordLength;
    }
    // The count to trust for a header count and a file length.
    std::uint32_t wholeRecords(std::uint32_t headerCount, std::int64_t fileSize) const;
};

// Reads and checks the header of an open file; shown is the table's name in messages.
// Throws DbError when the file is not a dBASE table this program reads; a header that
// can still be read safely but disagrees with itself is returned with its damage.
DbfHeader readDbfHeader(const OsFile &file, const QString &shown);

// Header byte offsets the table object writes on its own.
inline constexpr std::int64_t kDbfIndexPending = 14;
inline constexpr std::int64_t kDbfProductionFlag = 28;

// Today's date for the date of the last change that headers carry.
QDate todayForHeaders();

// Reads the record count again (another writer may have appended); false when it cannot.
bool rereadDbfCount(const OsFile &file, DbfHeader &header);
// Writes the record count with today's date as the date of the last change. The count
// goes in one store, so a kill leaves it old or new.
bool writeDbfCount(OsFile &file, std::uint32_t count);
// The same with byte 14 set first: a kill between the two leaves the old count marked.
bool writeDbfCountPending(OsFile &file, std::uint32_t count);
// Byte 28: 1 while the table has a production index.
bool readProductionFlag(const OsFile &file);
bool writeProductionFlag(OsFile &file, bool on);
// Byte 14 (dBASE IV's incomplete transaction): 1 while a change of the records is not
// yet in the production index. Found set at open, it means a run stopped midway.
bool readIndexPending(const OsFile &file);
bool writeIndexPending(OsFile &file, bool on);

// One field of a table to be created.
struct FieldDef {
    QString name; // upper case
    char type;
    int width;
    int decimals;
};
// Checks a definition as given (name in any case) against those before it; throws
// DbError naming what is wrong. Returns it with the name in upper case.
FieldDef checkFieldDef(const QString &name, char type, int width, int decimals, const std::vector<FieldDef> &before);
// The bytes of a new empty table: header, field descriptors, terminator and end mark.
// shown names the table in messages; throws DbError when the fields do not make a table.
QByteArray newTableBytes(const std::vector<FieldDef> &fields, const QString &shown);

} // namespace kv
