#pragma once
// Catalogue files: creating, recognising, converting the two older layouts, the
// in-use test, pack and rebuild, and the sort order's index tag.
// Every refusal and failure is a DbError worded for the user; nothing here shows it.
#include <QString>
#include <array>
#include <cstdint>

namespace kv {

class Table;

inline constexpr char kSortTagName[] = "NewIndex";
inline constexpr char kOldV2FileName[] = "V2LOG.DBF";
inline constexpr char kOldV1FileName[] = "VLOG.DBF";

inline constexpr char kInvalidFileTypeMessage[] = "Invalid file type selected.";
inline constexpr char kPackFailedMessage[] =
    "Unable to pack table.  Packing requires exclusive use of the DBase File.  Make sure that the DBase File is "
    "not in use by another program  or that no other users are running the software or that no other copies of "
    "the software are in use.";
inline constexpr char kReindexFailedMessage[] =
    "Unable to reindex table.  Reindexing requires exclusive use of the DBase File.  Make sure that the DBase File "
    "is not in use by another program  or that no other users are running the software or that no other copies of "
    "the software are in use.";
inline constexpr char kSortInUseMessage[] =
    "Creating a new sort order requires exclusive use of the DBase File.  Make sure that the DBase File is not in "
    "use by another program  or that no other users are running the software or that no other copies of the "
    "software are in use.";
inline constexpr char kSortFailedMessage[] = "Error in implementing sort order.  New sort order not implemented.";

// The text of the in-use refusal when a new catalogue would replace a file in use.
QString newTableInUseMessage(const QString &path);

// True when the name ends in ".DBF" in any letter case.
bool hasDbfExtension(const QString &path);

// Creates an empty catalogue at path with the create table object. A file that
// another program holds is refused (newTableInUseMessage) and left alone. True when
// the file exists afterwards.
bool makeNewDb(Table &create, const QString &path);

// Accepts path when it is a catalogue of this program. Otherwise throws the
// not-a-catalogue message, or the engine's own when it cannot read the file at all.
void requireCatalogue(Table &check, const QString &path);
// Silent checks for the layouts of the two earlier versions.
bool checkDBaseFormatV2(Table &check, const QString &path);
bool checkDBaseFormatV1(Table &check, const QString &path);

// True when another program (or another table object) has the file open.
bool dbaseInUse(Table &check, const QString &path);

// Appends the records of an older catalogue to the open master table, field by field
// as text. A 1.x file folds its three yes/no fields into Miscellane and is read with
// the date format "m/d/y". Throws DbError; records posted before a failure stay.
void convertV2(Table &check, const QString &oldPath, Table &master);
void convertV1(Table &check, const QString &oldPath, Table &master);
// Miscellane of a converted 1.x record from its CloseCapt, NoiseRed and SurroundSo.
QString miscellaneFromV1(const QString &closeCapt, const QString &noiseRed, const QString &surroundSound);

// The dBASE key expression of up to four sort levels (field numbers, 0 for none);
// empty when every level is 0.
using SortLevels = std::array<int, 4>;
QString buildSortString(const SortLevels &levels);

// Makes the expression the master table's order: the tag "NewIndex" rebuilt from it
// and made active. An empty expression leaves the .MDX alone and reads in physical
// order. The table is closed or open exclusively; it is left as it was. Throws DbError.
void applySortExpression(Table &master, const QString &expression);
// True when the catalogue's .MDX holds the tag "NewIndex"; false also when it cannot be
// read. Reads only the index's tag table.
bool hasSortTag(const QString &dbfPath);

// Pack or rebuild the indexes of the master table, which needs it to itself; the table
// ends open in shared mode. When another program holds the file (or the work fails)
// the table is left closed in shared mode and the refusal (kPackFailedMessage,
// kReindexFailedMessage) is thrown: the caller opens it again.
void packMasterTable(Table &master);
void rebuildMasterIndexes(Table &master);
// Records marked deleted before record number recno of the open table: by how much a
// pack moves that record's number down.
std::uint32_t deletedBefore(const Table &table, std::uint32_t recno);

} // namespace kv
