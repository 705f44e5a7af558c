#pragma once
// The 40 fields of a catalogue's master table, indexed by field number 1 ... 40.
// Every part of the program names a field by this number; 0 means no field.
#include <QString>

namespace kv {

enum class FieldKind { Text = 1, Integer = 2, Real = 3, Date = 4 };
enum class PrintStyle { Text, Plain, Numeric, Currency, Date };

struct FieldInfo {
    int number;
    const char *name;    // dBASE field name, at most 10 characters
    FieldKind kind;
    int width;           // text width, or the edit length of the other kinds
    char type;           // dBASE type letter the program assumes: C, N or D
    const char *caption; // default caption
    bool pickList;
    PrintStyle printStyle;
};

inline constexpr int kFieldCount = 40;

// Field number 1 ... 40; anything else is a programming error (asserted).
const FieldInfo &field(int number);
QString fieldName(int number);
QString defaultCaption(int number);
// Field number of a name, compared without regard to case; 0 when not a catalogue field.
int fieldNumber(const QString &name);

// Field numbers of some fields other parts refer to by name.
namespace fields {
inline constexpr int Title = 1, Star1 = 2, Year = 11, RunTime = 12, MediaNum = 19, Miscellane = 25,
                     ListPrice = 28, OscarNom = 29, OscarAward = 30, CheckOut = 31, CheckDate = 32,
                     CheckName = 33, PurchPrice = 34, PurchDate = 35, Viewed = 37;
}

} // namespace kv
