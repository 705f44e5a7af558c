#include "storetest.h"

#include "base/codepage.h"
#include "base/dateformat.h"
#include "store/dbf/companion.h"

using namespace kv;

namespace {
std::uint32_t le32(const QByteArray &b, int at)
{
    return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8 | std::uint8_t(b[at + 2]) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
int le16(const QByteArray &b, int at) { return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8; }
} // namespace

TEST(Table, NewCatalogueHasTheFortyFieldsAndADbaseHeader)
{
    const QByteArray b = kvtest::readFile(newCatalogue());
    ASSERT_EQ(b.size(), 32 + 40 * 32 + 1 + 1);
    EXPECT_EQ(std::uint8_t(b[0]), 0x03);
    EXPECT_EQ(std::uint8_t(b[1]), QDate::currentDate().year() - 1900);
    EXPECT_EQ(le32(b, 4), 0u);
    EXPECT_EQ(le16(b, 8), 32 + 40 * 32 + 1);
    EXPECT_EQ(std::uint8_t(b[28]), 0);    // no production index
    EXPECT_EQ(std::uint8_t(b[29]), 0x03); // Windows ANSI
    EXPECT_EQ(b[32 + 40 * 32], '\x0D');
    EXPECT_EQ(b[b.size() - 1], '\x1A');
    int recordLength = 1;
    for (int n = 1; n <= kFieldCount; ++n) {
        const char *d = b.constData() + 32 * n;
        const FieldInfo &f = field(n);
        EXPECT_EQ(QByteArray(d), QByteArray(f.name).toUpper()) << n;
        const int width = std::uint8_t(d[16]), decimals = std::uint8_t(d[17]);
        switch (f.kind) {
        case FieldKind::Text: EXPECT_EQ(d[11], 'C'); EXPECT_EQ(width, f.width); break;
        case FieldKind::Integer: EXPECT_EQ(d[11], 'N'); EXPECT_EQ(width, 11); EXPECT_EQ(decimals, 0); break;
        case FieldKind::Real: EXPECT_EQ(d[11], 'N'); EXPECT_EQ(width, 20); EXPECT_EQ(decimals, 4); break;
        case FieldKind::Date: EXPECT_EQ(d[11], 'D'); EXPECT_EQ(width, 8); break;
        }
        recordLength += width;
    }
    EXPECT_EQ(le16(b, 10), recordLength);
}

TEST(Table, FieldsRoundTripAsTextAndAreStoredAsDbaseDoes)
{
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.open();
    addRecords(t, {{{"Title", QString::fromUtf8("Amélie – “Œuvre”")},
                    {"Year", QStringLiteral("2001")},
                    {"ListPrice", QStringLiteral("2.675")},
                    {"PurchPrice", QStringLiteral("-0.00005")},
                    {"CheckDate", QStringLiteral("3/5/97")},
                    {"Viewed", QStringLiteral("Yes")}},
                   {{"Title", QStringLiteral("Blank")}}});
    t.close();
    t.open();
    t.first();
    EXPECT_EQ(t.fieldText(QStringLiteral("title")), QString::fromUtf8("Amélie – “Œuvre”"));
    EXPECT_EQ(t.fieldText(QStringLiteral("Year")), QStringLiteral("2001"));
    EXPECT_EQ(t.fieldText(QStringLiteral("ListPrice")), QStringLiteral("2.675"));
    EXPECT_EQ(t.fieldText(QStringLiteral("PurchPrice")), QStringLiteral("-0.0001"));
    EXPECT_EQ(t.fieldText(QStringLiteral("CheckDate")), QStringLiteral("3/5/97"));
    EXPECT_EQ(t.fieldDate(t.fieldIndex(QStringLiteral("CheckDate"))), QDate(1997, 3, 5));
    t.next();
    for (const char *f : {"Year", "RunTime", "ListPrice", "CheckDate", "Viewed"})
        EXPECT_EQ(t.fieldText(QString::fromLatin1(f)), QString()) << f;
    t.close();

    // On disk: code page 1252 text, right-aligned numbers, eight-digit dates, blanks.
    const QByteArray b = kvtest::readFile(path);
    const int header = le16(b, 8), length = le16(b, 10);
    const QByteArray rec1 = b.mid(header, length), rec2 = b.mid(header + length, length);
    EXPECT_TRUE(rec1.startsWith(" " + encode(QString::fromUtf8("Amélie – “Œuvre”"))));
    EXPECT_TRUE(rec1.contains("       2001"));
    EXPECT_TRUE(rec1.contains("              2.6750"));
    EXPECT_TRUE(rec1.contains("             -0.0001"));
    EXPECT_TRUE(rec1.contains("19970305"));
    EXPECT_TRUE(rec2.mid(1 + 60).startsWith(QByteArray(150, ' ')));
    EXPECT_EQ(le32(b, 4), 2u);
    EXPECT_EQ(b.size(), header + 2 * length + 1);
    EXPECT_EQ(b.back(), '\x1A');
}

TEST(Table, RefusesValuesThatDoNotFitOrConvert)
{
    Table t;
    t.setPath(newCatalogue());
    t.open();
    t.append();
    const struct {
        const char *field;
        const char *text;
    } bad[] = {{"Year", "123456789012"}, {"Year", "19x7"},         {"Year", "12.5"},
               {"ListPrice", "1e30"},    {"ListPrice", "12,50"},   {"CheckDate", "2/30/97"},
               {"CheckDate", "soon"}};
    for (const auto &c : bad)
        EXPECT_THROW(t.setFieldText(QString::fromLatin1(c.field), QString::fromLatin1(c.text)), DbError)
            << c.field << " " << c.text;
    EXPECT_THROW(t.setFieldText(QStringLiteral("NoSuchField"), QStringLiteral("x")), DbError);
    // What fits exactly is taken.
    t.setFieldText(QStringLiteral("Year"), QStringLiteral("-1234567890"));
    t.setFieldText(QStringLiteral("Title"), QString(60, QLatin1Char('x')));
    t.setFieldText(QStringLiteral("ListPrice"), QStringLiteral("123456789012345.5"));
    t.post();
    t.first();
    EXPECT_EQ(t.fieldText(QStringLiteral("Year")), QStringLiteral("-1234567890"));
    EXPECT_EQ(t.fieldText(QStringLiteral("ListPrice")), QStringLiteral("123456789012345.5"));
}

TEST(Table, TextLongerThanItsFieldIsCutToTheWidth)
{
    const QString path = newCatalogue();
    Table source;
    source.setPath(newCatalogue(QStringLiteral("SOURCE.DBF")));
    source.open();
    addRecords(source, {{{"Title", QString(60, QChar(0xE9))}}});
    source.first();

    Table t;
    t.setPath(path);
    t.open();
    const struct {
        const char *field; // a text field of the catalogue
        QString text;
        QString kept;
    } cases[] = {
        {"Title", QString(61, QLatin1Char('x')), QString(60, QLatin1Char('x'))},
        {"Rating", QStringLiteral("sixteen letters!"), QStringLiteral("sixteen letters")},
        {"Rating", QStringLiteral("fourteen chars and more"), QStringLiteral("fourteen chars")}, // cut at a blank
        {"Rating", QString::fromUtf8("Zoë, Émile et Ève"), QString::fromUtf8("Zoë, Émile et È")},
    };
    for (const auto &c : cases) {
        t.append();
        t.setFieldText(QString::fromLatin1(c.field), c.text);
        EXPECT_EQ(t.fieldText(QString::fromLatin1(c.field)), c.kept) << c.field;
        t.post();
        EXPECT_EQ(t.fieldText(QString::fromLatin1(c.field)), c.kept) << c.field;
    }
    // A copy from a wider field is cut the same way.
    t.append();
    t.copyField(t.fieldIndex(QStringLiteral("Rating")), source, 0);
    t.post();
    EXPECT_EQ(t.fieldText(QStringLiteral("Rating")), QString(15, QChar(0xE9)));
    t.close();

    // On disk each text fills its field exactly, and the record length is unchanged.
    const QByteArray b = kvtest::readFile(path);
    const int header = le16(b, 8), length = le16(b, 10);
    EXPECT_EQ(b.size(), header + 5 * length + 1);
    EXPECT_EQ(b.mid(header + 1, 61), QByteArray(60, 'x') + ' ');
}

TEST(Table, NumbersTooWideForTheirFieldAreRefusedInShort)
{
    Table t;
    t.setPath(newCatalogue());
    t.open();
    t.append();
    const int year = t.fieldIndex(QStringLiteral("Year")), price = t.fieldIndex(QStringLiteral("ListPrice"));
    const struct {
        int field;
        QString text; // empty: set as a number
        double value;
        const char *message;
    } cases[] = {
        {year, QStringLiteral("123456789012"), 0, "The value 123456789012 does not fit the field YEAR, which holds 11 characters."},
        {year, QStringLiteral("1e300"), 0, "The value 1e+300 does not fit the field YEAR, which holds 11 characters."},
        {year, QString(300, QLatin1Char('9')), 0, "The value 1e+300 does not fit the field YEAR, which holds 11 characters."},
        {price, QString(), 1e300, "The value 1e+300 does not fit the field LISTPRICE, which holds 20 characters."},
        {price, QString(), -123456789012345.5, "The value -123456789012345.5 does not fit the field LISTPRICE, which holds 20 characters."},
    };
    for (const auto &c : cases) {
        try {
            if (c.text.isEmpty())
                t.setFieldNumber(c.field, c.value);
            else
                t.setFieldText(c.field, c.text);
            ADD_FAILURE() << "taken: " << c.message;
        } catch (const DbError &e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(c.message));
        }
    }
    EXPECT_EQ(t.fieldText(year), QString()); // the field is left as it was
}

TEST(Table, DatesFollowTheProgramFormat)
{
    Table t;
    t.setPath(newCatalogue());
    t.open();
    {
        ScopedDateFormat format({QStringLiteral("dd/mm/yyyy"), QLatin1Char('.')});
        addRecords(t, {{{"PurchDate", QStringLiteral("05.03.1997")}}});
        t.first();
        EXPECT_EQ(t.fieldText(QStringLiteral("PurchDate")), QStringLiteral("05.03.1997"));
    }
    EXPECT_EQ(t.fieldText(QStringLiteral("PurchDate")), QStringLiteral("3/5/97"));
}

TEST(Table, NavigationEditDeleteAndCount)
{
    Table t;
    t.setPath(newCatalogue());
    t.open();
    EXPECT_TRUE(t.bof() && t.eof());
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_EQ(t.fieldText(0), QString());
    addRecords(t, {{{"Title", QStringLiteral("A")}}, {{"Title", QStringLiteral("B")}}, {{"Title", QStringLiteral("C")}}});
    EXPECT_EQ(walk(t, "Title"), QStringList({"A", "B", "C"}));
    t.last();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.fieldText(0), QStringLiteral("C"));
    t.prior();
    EXPECT_EQ(t.fieldText(0), QStringLiteral("B"));

    t.edit();
    t.setFieldText(0, QStringLiteral("B2"));
    t.cancel();
    EXPECT_EQ(t.fieldText(0), QStringLiteral("B"));
    t.edit();
    t.setFieldText(0, QStringLiteral("B2"));
    t.post();
    EXPECT_EQ(t.fieldText(0), QStringLiteral("B2"));

    t.deleteRecord(); // the current record becomes the next one
    EXPECT_EQ(t.fieldText(0), QStringLiteral("C"));
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.physicalCount(), 3u);
    EXPECT_EQ(t.deletedCount(), 1u);
    t.close();
    t.open();
    EXPECT_EQ(walk(t, "Title"), QStringList({"A", "C"}));
    EXPECT_THROW(t.pack(), DbError); // packing needs the table to ourselves
    t.close();
    t.pack();
    t.open();
    EXPECT_EQ(t.physicalCount(), 2u);
    EXPECT_EQ(walk(t, "Title"), QStringList({"A", "C"}));
    t.close();
    EXPECT_NO_THROW(t.close()); // closing a closed table does nothing
}

TEST(Table, LocateInOrderAndFilter)
{
    Table t;
    t.setPath(newCatalogue());
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("Alien")}, {"Year", QStringLiteral("1979")}},
                   {{"Title", QStringLiteral("Aliens")}, {"Year", QStringLiteral("1986")}},
                   {{"Title", QStringLiteral("The Alienist")}, {"Year", QStringLiteral("2018")}},
                   {{"Title", QStringLiteral("Heat")}, {"Year", QStringLiteral("1995")}}});
    struct Case {
        const char *value;
        Table::Match match;
        bool caseSensitive, fromStart;
        const char *expected; // nullptr: not found, current record kept
    } cases[] = {
        {"aliens", Table::Match::Exact, false, true, "Aliens"},
        {"aliens", Table::Match::Exact, true, true, nullptr},
        {"Alien", Table::Match::Exact, true, true, "Alien"},
        {"ALI", Table::Match::PartialAtStart, false, true, "Alien"},
        {"ALI", Table::Match::PartialAtStart, true, true, nullptr},
        {"ienis", Table::Match::PartialAnywhere, false, true, "The Alienist"},
        {"Alien", Table::Match::PartialAnywhere, true, false, "The Alienist"}, // after the current (Aliens)
    };
    for (const Case &c : cases) {
        t.first();
        t.next(); // current: Aliens
        const bool found = t.locate(QStringLiteral("TITLE"), QString::fromLatin1(c.value), c.match, c.caseSensitive,
                                    c.fromStart);
        EXPECT_EQ(found, c.expected != nullptr) << c.value;
        EXPECT_EQ(t.fieldText(0), c.expected ? QString::fromLatin1(c.expected) : QStringLiteral("Aliens")) << c.value;
    }

    // The filter hook is asked for every record while filtering is on.
    int asked = 0;
    t.setFilterFunction([&](const RecordRef &r) {
        ++asked;
        return r.text(QStringLiteral("Year")).toInt() < 1990;
    });
    t.setFiltered(true);
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(walk(t, "Title"), QStringList({"Alien", "Aliens"}));
    EXPECT_FALSE(t.locate(QStringLiteral("Title"), QStringLiteral("Heat"), Table::Match::Exact, false, true));
    addRecords(t, {{{"Title", QStringLiteral("Brazil")}, {"Year", QStringLiteral("1985")}},
                   {{"Title", QStringLiteral("Up")}, {"Year", QStringLiteral("2009")}}});
    EXPECT_EQ(t.recordCount(), 3);
    t.first();
    t.deleteRecord();
    // Work that looks at the whole table during a search gets the order the table has
    // with the filter off, deleted records left out, and the filter stays on.
    const std::vector<std::uint32_t> whole = t.orderIgnoringFilter();
    EXPECT_EQ(t.recordCount(), 2);
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 5);
    std::vector<std::uint32_t> unfiltered;
    for (int p = 0; p < t.recordCount(); ++p)
        unfiltered.push_back(t.recNoAt(p));
    EXPECT_EQ(whole, unfiltered);
    EXPECT_EQ(t.orderIgnoringFilter(), unfiltered);
}

TEST(Table, DisplaySuspensionHoldsBackNotifications)
{
    Table t;
    t.setPath(newCatalogue());
    t.open();
    int changes = 0;
    QObject::connect(&t, &Table::dataChanged, [&] { ++changes; });
    t.suspendDisplay();
    addRecords(t, {{{"Title", QStringLiteral("A")}}, {{"Title", QStringLiteral("B")}}});
    EXPECT_EQ(changes, 0);
    t.resumeDisplay();
    EXPECT_EQ(changes, 1);
    addRecords(t, {{{"Title", QStringLiteral("C")}}});
    EXPECT_EQ(changes, 2);
}

TEST(Table, DamagedFilesGiveClearErrors)
{
    const QString good = newCatalogue(QStringLiteral("GOOD.DBF"));
    {
        Table t;
        t.setPath(good);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("One")}}, {{"Title", QStringLiteral("Two")}}, {{"Title", QStringLiteral("Three")}}});
    }
    const QByteArray bytes = kvtest::readFile(good);
    const int header = le16(bytes, 8), length = le16(bytes, 10);
    auto countOf = [](int n) {
        QByteArray c(4, '\0');
        for (int i = 0; i < 4; ++i)
            c[i] = char(n >> (8 * i));
        return c;
    };
    struct Case {
        const char *name;
        QByteArray content;
        int records; // -1: refused
    } cases[] = {
        {"EMPTY.DBF", QByteArray(), -1},
        {"TEXT.DBF", QByteArray("just some text, not a table at all"), -1},
        {"HEADER.DBF", bytes.left(100), -1},
        {"ZEROLEN.DBF", QByteArray(bytes).replace(10, 2, QByteArray(2, '\0')), -1},
        {"CUT.DBF", bytes.left(header + 2 * length + 10), 2},          // cut inside the third record
        {"MORE.DBF", QByteArray(bytes).replace(4, 4, countOf(7)), 3},  // header claims more than there is
        {"FEWER.DBF", QByteArray(bytes).replace(4, 4, countOf(1)), 1}, // header claims fewer
        {"NOEOF.DBF", bytes.left(bytes.size() - 1), 3},
    };
    for (const Case &c : cases) {
        const QString path = kvtest::tempPath(QString::fromLatin1(c.name));
        kvtest::writeFile(path, c.content);
        Table t;
        t.setPath(path);
        if (c.records < 0) {
            try {
                t.open();
                ADD_FAILURE() << c.name << " opened";
            } catch (const DbError &e) {
                EXPECT_TRUE(e.message().contains(QString::fromLatin1(c.name))) << e.message().toStdString();
            }
        } else {
            ASSERT_NO_THROW(t.open()) << c.name;
            EXPECT_EQ(t.recordCount(), c.records) << c.name;
        }
    }
    Table missing;
    missing.setPath(kvtest::tempPath(QStringLiteral("NOWHERE.DBF")));
    EXPECT_THROW(missing.open(), DbError);

    // A file cut short counts more records than it holds: it is read, not written.
    Table t;
    t.setPath(kvtest::tempPath(QStringLiteral("CUT.DBF")));
    t.open();
    EXPECT_EQ(walk(t, "Title"), QStringList({"One", "Two"}));
    EXPECT_THROW(addRecords(t, {{{"Title", QStringLiteral("Four")}}}), DbError);
    t.close();
    EXPECT_EQ(kvtest::readFile(kvtest::tempPath(QStringLiteral("CUT.DBF"))), bytes.left(header + 2 * length + 10));
}

namespace {
// The bytes of a table with size bytes at `at` replaced by value (little-endian).
QByteArray damagedCopy(const QByteArray &bytes, int at, std::uint32_t value, int size)
{
    QByteArray b = bytes;
    for (int i = 0; i < size; ++i)
        b[at + i] = char(value >> (8 * i));
    return b;
}
} // namespace

TEST(Table, AHeaderThatDisagreesWithItsFieldsIsReadButNeverWritten)
{
    const QString good = newCatalogue(QStringLiteral("GOOD.DBF"));
    {
        Table t;
        t.setPath(good);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("One")}}, {{"Title", QStringLiteral("Two")}}, {{"Title", QStringLiteral("Three")}}});
    }
    const QByteArray bytes = kvtest::readFile(good);
    const std::uint32_t header = std::uint32_t(le16(bytes, 8)), length = std::uint32_t(le16(bytes, 10));
    QByteArray foxPro = damagedCopy(bytes, 0, 0x30, 1);
    foxPro = damagedCopy(foxPro, 32 + 32 + 12, 99, 4); // the second field's place in the record
    constexpr int kYear = 32 + 32 * 10; // the descriptor of Year
    const struct {
        const char *name;
        QByteArray content;
        const char *says;
        int readable; // records read
    } cases[] = {
        {"RECLEN.DBF", damagedCopy(bytes, 10, 65535, 2), "record length (65535 bytes)", 0},
        {"LONGREC.DBF", damagedCopy(bytes, 10, length + 1, 2), "record length", 2},
        {"SHORTHDR.DBF", damagedCopy(bytes, 8, header - 32, 2), "header length", 3},
        {"LONGHDR.DBF", damagedCopy(bytes, 8, header + 32, 2), "header length", 2},
        {"COUNT.DBF", damagedCopy(bytes, 4, 9, 4), "counts 9 records but the file holds 3", 3},
        {"FOXPRO.DBF", foxPro, "place of the field", 3},
        // One byte too long: the records would be read, and packed, a byte late.
        {"LONGHDR1.DBF", damagedCopy(bytes, 8, header + 1, 2), "header length", 3},
        {"MEMO.DBF", damagedCopy(bytes, 32 + 11, 'M', 1), "the field TITLE is a memo field", 3},
        {"TYPE.DBF", damagedCopy(bytes, kYear + 11, 'I', 1), "the field YEAR has a type (I)", 3},
        {"DECIMALS.DBF", damagedCopy(bytes, kYear + 17, 200, 1), "the field YEAR has 200 decimals in a width of 11", 3},
    };
    for (const auto &c : cases) {
        const QString path = kvtest::tempPath(QString::fromLatin1(c.name));
        kvtest::writeFile(path, c.content);
        Table t;
        t.setPath(path);
        ASSERT_NO_THROW(t.open()) << c.name;
        EXPECT_TRUE(t.damage().contains(QString::fromLatin1(c.says))) << c.name << ": " << t.damage().toStdString();
        EXPECT_EQ(t.recordCount(), c.readable) << c.name;
        const QString append = refusal([&] { t.append(); });
        EXPECT_TRUE(append.startsWith(t.damage())) << c.name << ": " << append.toStdString();
        if (t.recordCount() > 0) {
            EXPECT_FALSE(refusal([&] { t.deleteRecord(); }).isEmpty()) << c.name;
        }
        t.close();
        for (auto work : {&Table::pack, &Table::regenerateIndexes})
            EXPECT_TRUE(refusal([&] { (t.*work)(); }).contains(QStringLiteral("damaged"))) << c.name;
        EXPECT_FALSE(refusal([&] { t.addIndex(QStringLiteral("T"), QStringLiteral("Title")); }).isEmpty()) << c.name;
        EXPECT_EQ(kvtest::readFile(path), c.content) << c.name;
        EXPECT_FALSE(QFile::exists(kv::mdxPathFor(path))) << c.name;
    }
}

// What other dBASE writers put in a sound header: NULs after the terminator (dBASE III
// left one), a NUL as terminator, memo fields in a table with a memo file. Such tables
// are read from where their header says and written like ours.
TEST(Table, HeadersOfOtherWritersAreSound)
{
    const QString good = newCatalogue(QStringLiteral("GOOD.DBF"));
    {
        Table t;
        t.setPath(good);
        t.open();
        addRecords(t, {{{"Title", QStringLiteral("One")}}, {{"Title", QStringLiteral("Two")}}});
    }
    const QByteArray bytes = kvtest::readFile(good);
    const int header = le16(bytes, 8);
    QByteArray padded = damagedCopy(bytes, 8, std::uint32_t(header + 3), 2);
    padded.insert(header, QByteArray(3, '\0'));
    QByteArray memo = damagedCopy(bytes, 0, 0x83, 1);
    memo = damagedCopy(memo, 32 + 32 + 11, 'M', 1); // Star1
    const struct {
        const char *name;
        QByteArray content;
    } cases[] = {
        {"PADDED.DBF", padded},
        {"NULEND.DBF", damagedCopy(bytes, header - 1, 0, 1)},
        {"MEMO.DBF", memo},
    };
    for (const auto &c : cases) {
        const QString path = kvtest::tempPath(QString::fromLatin1(c.name));
        kvtest::writeFile(path, c.content);
        Table t;
        t.setPath(path);
        ASSERT_NO_THROW(t.open()) << c.name;
        EXPECT_TRUE(t.damage().isEmpty()) << c.name << ": " << t.damage().toStdString();
        EXPECT_EQ(walk(t, "Title"), QStringList({"One", "Two"})) << c.name;
        if (QLatin1String(c.name) == QLatin1String("MEMO.DBF"))
            continue; // Star1 is not the catalogue's any more
        addRecords(t, {{{"Title", QStringLiteral("Three")}}});
        t.close();
        t.open();
        EXPECT_EQ(walk(t, "Title"), QStringList({"One", "Two", "Three"})) << c.name;
    }
}

TEST(Table, ReadOnlyTableRefusesChanges)
{
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.setReadOnly(true);
    t.open();
    EXPECT_THROW(t.append(), DbError);
}

TEST(Table, CreateReplacesAnExistingTableAndItsIndex)
{
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("Old")}}});
    t.close();
    t.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    ASSERT_TRUE(QFile::exists(kvtest::tempPath(QStringLiteral("MASTER.MDX"))));
    createMasterTable(t, kvtest::tempPath(QStringLiteral("master.dbf"))); // other letter case: same file
    EXPECT_FALSE(QFile::exists(kvtest::tempPath(QStringLiteral("master.dbf"))));
    EXPECT_FALSE(QFile::exists(kvtest::tempPath(QStringLiteral("MASTER.MDX"))));
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
}

TEST(Table, RemoveMdxByteOnlyWhenTheIndexIsMissing)
{
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.addIndex(QStringLiteral("NewIndex"), QStringLiteral("DTOS(CheckDate)"));
    EXPECT_EQ(kvtest::readFile(path)[28], '\x01');
    removeMdxByte(path);
    EXPECT_EQ(kvtest::readFile(path)[28], '\x01');
    QFile::remove(kvtest::tempPath(QStringLiteral("MASTER.MDX")));
    removeMdxByte(path);
    EXPECT_EQ(kvtest::readFile(path)[28], '\x00');
    removeMdxByte(kvtest::tempPath(QStringLiteral("NONE.DBF"))); // no file: nothing happens
    EXPECT_FALSE(QFile::exists(kvtest::tempPath(QStringLiteral("NONE.DBF"))));
}

TEST(Table, ATagWishedForBeforeOpeningGivesItsOrderOrPhysicalOrderWithoutIt)
{
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("b")}}, {{"Title", QStringLiteral("c")}}, {{"Title", QStringLiteral("a")}}});
    t.moveTo(1);
    t.deleteRecord();
    t.close();
    t.setIndexNameIfPresent(QStringLiteral("NewIndex"));
    t.open();
    EXPECT_EQ(t.indexName(), QString());
    EXPECT_EQ(column(t, "Title"), (QStringList{"b", "a"}));
    t.close();
    t.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    t.setIndexNameIfPresent(QStringLiteral("NewIndex"));
    t.open();
    EXPECT_EQ(t.indexName(), QStringLiteral("NewIndex"));
    EXPECT_EQ(column(t, "Title"), (QStringList{"a", "b"}));
    t.close();
    // Asked for outright, a missing tag is still an error.
    Table other;
    other.setPath(path);
    other.setIndexName(QStringLiteral("Missing"));
    EXPECT_FALSE(refusal([&] { other.open(); }).isEmpty());
    other.setIndexNameIfPresent(QStringLiteral("Missing"));
    other.setIndexName(QStringLiteral("Missing"));
    EXPECT_FALSE(refusal([&] { other.open(); }).isEmpty());
}

TEST(Table, BulkAppendCountsAndIndexesItsRecordsAtTheEnd)
{
    const QString path = newCatalogue();
    Table writer;
    writer.setPath(path);
    writer.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    writer.setIndexName(QStringLiteral("NewIndex"));
    writer.open();
    Table source;
    source.setPath(newCatalogue(QStringLiteral("SOURCE.DBF")));
    source.open();
    addRecords(source, {{{"Title", QStringLiteral("copied\t")}}});
    source.first();

    // Few records go into the index one by one, many through a rewritten index.
    for (const int count : {3, 2500}) {
        const int before = writer.recordCount();
        {
            Table::BulkAppend bulk(writer);
            for (int i = count; i > 0; --i) {
                writer.append();
                writer.setFieldText(QStringLiteral("Title"), QStringLiteral("t%1").arg(i, 5, 10, QLatin1Char('0')));
                writer.copyField(1, source, 0); // Star1 from a Title of another width: converted as text
                writer.post();
            }
            bulk.commit();
        }
        Table reader;
        reader.setPath(path);
        reader.setReadOnly(true);
        reader.setIndexName(QStringLiteral("NewIndex"));
        reader.open();
        ASSERT_EQ(reader.recordCount(), before + count);
        reader.first();
        EXPECT_EQ(reader.fieldText(QStringLiteral("Title")), QStringLiteral("t00001"));
        EXPECT_EQ(reader.fieldText(QStringLiteral("Star1")), QStringLiteral("copied\t"));
        reader.last();
        EXPECT_EQ(reader.fieldText(QStringLiteral("Title")), QStringLiteral("t%1").arg(count, 5, 10, QLatin1Char('0')));
    }
}

TEST(Table, BulkAppendWithoutCommitLeavesTheTableAsItWas)
{
    const QString path = newCatalogue();
    const QString mdx = kvtest::tempPath(QStringLiteral("MASTER.MDX"));
    Table writer;
    writer.setPath(path);
    writer.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    writer.setIndexName(QStringLiteral("NewIndex"));
    writer.open();
    addRecords(writer, {{{"Title", QStringLiteral("kept")}}});
    const QByteArray table = kvtest::readFile(path), index = kvtest::readFile(mdx);

    // A failure after a few records, and one after several batches reached the file.
    for (const int count : {3, 3000}) {
        try {
            Table::BulkAppend bulk(writer);
            for (int i = 1; i <= count; ++i) {
                writer.append();
                writer.setFieldText(QStringLiteral("Title"), QStringLiteral("t%1").arg(i));
                writer.setFieldText(QStringLiteral("Year"), i < count ? QStringLiteral("1999") : QStringLiteral("19x9"));
                writer.post();
            }
            bulk.commit();
            ADD_FAILURE() << "the last record converted";
        } catch (const DbError &) {
        }
        EXPECT_EQ(writer.recordCount(), 1) << count;
        EXPECT_EQ(writer.physicalCount(), 1u) << count;
        EXPECT_EQ(walk(writer, "Title"), QStringList{QStringLiteral("kept")}) << count;
        EXPECT_EQ(kvtest::readFile(path), table) << count;
        EXPECT_EQ(kvtest::readFile(mdx), index) << count;
    }

    // A table closed in the middle of a bulk append keeps none of it either.
    writer.beginBulkAppend();
    addRecords(writer, {{{"Title", QStringLiteral("lost")}}});
    writer.close();
    EXPECT_EQ(kvtest::readFile(path), table);

    // The table takes records as before.
    writer.open();
    addRecords(writer, {{{"Title", QStringLiteral("added")}}});
    writer.close();
    writer.open();
    EXPECT_EQ(walk(writer, "Title"), QStringList({QStringLiteral("added"), QStringLiteral("kept")}));
}
