#include "builtinreports.h"

#include "store/fieldtable.h"

#include <initializer_list>

namespace kv {

namespace {
TPartRec filler(int width)
{
    TPartRec part;
    part.kind = QLatin1String(kFillerKind);
    part.width = qint16(width);
    return part;
}

TPartRec label(const char *text, int width)
{
    TPartRec part;
    part.kind = QLatin1String(kLabelKind);
    part.width = qint16(width);
    part.labelText = QString::fromLatin1(text);
    return part;
}

// A body part printing the catalogue field of that dBASE name.
TPartRec field(const char *name, int width)
{
    TPartRec part;
    part.kind = QString::fromLatin1(name);
    part.fieldNumber = quint8(fieldNumber(part.kind));
    Q_ASSERT(part.fieldNumber != 0);
    part.width = qint16(width);
    return part;
}

// A totals part printing entry number of the totals list.
TPartRec total(int number, int width)
{
    TPartRec part;
    part.kind = totalsEntryName(number);
    part.fieldNumber = quint8(number);
    part.width = qint16(width);
    return part;
}

// The listed parts first; the parts after them keep the values of a new line.
TLineRec line(std::initializer_list<TPartRec> parts)
{
    Q_ASSERT(parts.size() <= size_t(kPartsPerLine));
    TLineRec result = newLine();
    std::copy(parts.begin(), parts.end(), result.begin());
    return result;
}

TLineRec mediaTitleYearLine(int mediaLabelWidth)
{
    return line({label("Media Number:", mediaLabelWidth), filler(1), field("MediaNum", 10), label("Title:", 10),
                 filler(1), field("Title", 60), label("Year:", 8), filler(1), field("Year", 4)});
}

TLineRec starsLine()
{
    return line({label("Stars:", 6), filler(1), field("Star1", 25), filler(4), field("Star2", 25), filler(4),
                 field("Star3", 25), filler(4), field("Star4", 25)});
}

TLineRec oscarNominationLine()
{
    return line({label("Oscar Nom:", 10), filler(1), field("OscarNom", 109)});
}

TLineRec oscarAwardLine()
{
    return line({label("Oscar Award:", 12), filler(1), field("OscarAward", 107)});
}

// A blank line between records.
TLineRec blankLine() { return line({filler(150)}); }

// Printing stops at the first unused (tenth) place; the filler in the thirteenth only shows in the layout editor.
TLineRec totalsLine()
{
    return line({label("Quantity:", 14), filler(1), total(1, 12), label("List Price:", 14), filler(1), total(2, 12),
                 label("Purchase Price:", 18), filler(1), total(3, 12), filler(0), filler(0), filler(0), filler(60)});
}

TFontRec arial8()
{
    TFontRec font;
    font.name = QStringLiteral("Arial");
    font.size = 8;
    return font;
}

TReportDefRec report(const char *name, int width, bool columnHeadersAndRules, bool groupLevel1,
                     std::initializer_list<TLineRec> lines)
{
    Q_ASSERT(lines.size() <= size_t(kMaxBodyLines));
    TReportDefRec def = newReportDef();
    def.name = QString::fromLatin1(name);
    def.lineWidth = qint16(width);
    def.titleFont = def.columnHeaderFont = def.bodyFont = def.fifthFont = def.footnoteFont = arial8();
    def.columnHeaders = def.verticalLines = def.horizontalLines = columnHeadersAndRules;
    def.groupLevel1 = groupLevel1;
    def.groupLevel2 = false;
    def.lineCount = qint16(lines.size());
    std::copy(lines.begin(), lines.end(), def.bodyLines.begin());
    def.totalsLine = totalsLine();
    return def;
}
} // namespace

QList<TReportDefRec> builtInReports()
{
    return {
        report("Title and Media Number Report", 90, true, false,
               {line({field("MediaNum", 12), field("Title", 64), field("Year", 4)})}),
        report("Ratings Report", 90, true, true,
               {line({field("Title", 60), field("Rating", 15), field("PersonalRa", 15)})}),
        report("Star Report", 120, false, true, {mediaTitleYearLine(16), starsLine(), blankLine()}),
        report("Oscar Report", 120, false, true,
               {mediaTitleYearLine(13), oscarNominationLine(), oscarAwardLine(), blankLine()}),
        report("Large Report", 120, false, true,
               {mediaTitleYearLine(13), starsLine(),
                line({label("Producer:", 9), filler(1), field("Producer", 28), label("Director:", 11), filler(1),
                      field("Director", 28), label("Released By:", 14), filler(1), field("ReleasedBy", 37)}),
                line({label("Category:", 9), filler(1), field("Category", 20), label("Rating:", 9), filler(1),
                      field("Rating", 15), label("Personal Rating:", 18), filler(1), field("PersonalRa", 15),
                      label("Content:", 10), filler(1), field("Content", 10)}),
                line({label("Play Time:", 10), filler(1), field("RunTime", 3), label("Picture:", 10), filler(1),
                      field("Picture", 5), label("Sound:", 8), filler(1), field("Sound", 6), label("Format:", 9),
                      filler(1), field("Format", 10), label("Record Speed:", 16), filler(1), field("RecSpeed", 3),
                      label("Laser Format:", 15), filler(1), field("LaserForma", 12)}),
                line({label("Counter Start:", 14), filler(1), field("CounterSta", 10), label("Counter Stop:", 15),
                      filler(1), field("CounterSto", 10), label("List Price:", 13), filler(1),
                      field("ListPrice", 20)}),
                line({label("Key Words:", 10), filler(1), field("KeyWords", 80)}),
                line({label("Miscellaneous:", 14), filler(1), field("Miscellane", 80)}),
                line({label("Summary:", 8), filler(1), field("Descriptio", 110)}), oscarNominationLine(),
                oscarAwardLine(), blankLine()}),
        report("Statistic/Summary Report", 90, false, true, {}),
    };
}

} // namespace kv
