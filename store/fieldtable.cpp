#include "fieldtable.h"

#include <QtGlobal>

namespace kv {

namespace {
using K = FieldKind;
using P = PrintStyle;

constexpr FieldInfo kFields[kFieldCount] = {
    {1, "Title", K::Text, 60, 'C', "Title", false, P::Text},
    {2, "Star1", K::Text, 25, 'C', "Star 1", true, P::Text},
    {3, "Star2", K::Text, 25, 'C', "Star 2", true, P::Text},
    {4, "Star3", K::Text, 25, 'C', "Star 3", true, P::Text},
    {5, "Star4", K::Text, 25, 'C', "Star 4", true, P::Text},
    {6, "Star5", K::Text, 25, 'C', "Star 5", true, P::Text},
    {7, "Star6", K::Text, 25, 'C', "Star 6", true, P::Text},
    {8, "Producer", K::Text, 28, 'C', "Producer", true, P::Text},
    {9, "Director", K::Text, 28, 'C', "Director", true, P::Text},
    {10, "ReleasedBy", K::Text, 28, 'C', "Released By", true, P::Text},
    {11, "Year", K::Integer, 4, 'N', "Year", false, P::Plain},
    {12, "RunTime", K::Integer, 3, 'N', "Play Time", false, P::Numeric},
    {13, "Rating", K::Text, 15, 'C', "Rating", true, P::Text},
    {14, "Category", K::Text, 20, 'C', "Category", true, P::Text},
    {15, "Picture", K::Text, 10, 'C', "Picture", true, P::Text},
    {16, "Sound", K::Text, 10, 'C', "Sound", true, P::Text},
    {17, "Format", K::Text, 15, 'C', "Format", true, P::Text},
    {18, "PersonalRa", K::Text, 15, 'C', "Personal Rating", true, P::Text},
    {19, "MediaNum", K::Text, 10, 'C', "Media #", false, P::Text},
    {20, "RecSpeed", K::Text, 6, 'C', "Rec Speed", true, P::Text},
    {21, "CounterSta", K::Text, 8, 'C', "Counter Start", false, P::Text},
    {22, "CounterSto", K::Text, 8, 'C', "Counter Stop", false, P::Text},
    {23, "Descriptio", K::Text, 140, 'C', "Description", false, P::Text},
    {24, "Content", K::Text, 10, 'C', "Content", true, P::Text},
    {25, "Miscellane", K::Text, 80, 'C', "Miscellaneous", true, P::Text},
    {26, "KeyWords", K::Text, 80, 'C', "Key Words", false, P::Text},
    {27, "LaserForma", K::Text, 12, 'C', "Laser Format", true, P::Text},
    {28, "ListPrice", K::Real, 12, 'N', "List Price", false, P::Currency},
    {29, "OscarNom", K::Text, 110, 'C', "Oscar Nomination", true, P::Text},
    {30, "OscarAward", K::Text, 110, 'C', "Oscar Award", true, P::Text},
    {31, "CheckOut", K::Text, 3, 'C', "Checked Out", true, P::Text},
    {32, "CheckDate", K::Date, 10, 'D', "Check Out Date", false, P::Date},
    {33, "CheckName", K::Text, 25, 'C', "Check Out Person", true, P::Text},
    {34, "PurchPrice", K::Real, 12, 'N', "Purch Price", false, P::Currency},
    {35, "PurchDate", K::Date, 10, 'D', "Purch Date", false, P::Date},
    {36, "WherePurch", K::Text, 25, 'C', "Where Purchased", true, P::Text},
    {37, "Viewed", K::Text, 3, 'C', "Viewed", true, P::Text},
    {38, "Writers", K::Text, 60, 'C', "Writers", false, P::Text},
    {39, "UserDef1", K::Text, 40, 'C', "User Defined 1", false, P::Text},
    {40, "UserDef2", K::Text, 40, 'C', "User Defined 2", false, P::Text},
};
} // namespace

const FieldInfo &field(int number)
{
    Q_ASSERT(number >= 1 && number <= kFieldCount);
    return kFields[number - 1];
}

QString fieldName(int number) { return QString::fromLatin1(field(number).name); }
QString defaultCaption(int number) { return QString::fromLatin1(field(number).caption); }

int fieldNumber(const QString &name)
{
    for (const FieldInfo &f : kFields) {
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return f.number;
    }
    return 0;
}

} // namespace kv
