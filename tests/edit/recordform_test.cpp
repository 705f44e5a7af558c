#include "edit/recordform.h"

#include "base/dateformat.h"
#include "base/numberformat.h"
#include "edit/editsteps.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <gtest/gtest.h>

using kv::EditMode;
using kv::RecordForm;
namespace f = kv::fields;

namespace {

const kv::DateFormat kMdy{QStringLiteral("mm/dd/yyyy"), QLatin1Char('/')};

RecordForm formWith(std::initializer_list<std::pair<int, QString>> values)
{
    RecordForm form = kv::blankForm();
    for (const auto &[field, text] : values)
        form.text[size_t(field)] = text;
    return form;
}

struct CheckCase {
    const char *what;
    RecordForm form;
    const char *message; // null: passes
    int page;
    int field;
};

TEST(RecordChecks, SixChecksInOrderWithTheirPageAndBox)
{
    kv::ScopedDateFormat dates(kMdy);
    kv::ScopedNumberFormats us({kv::kUsFormat, kv::kUsFormat});
    const CheckCase cases[] = {
        {"a blank form", kv::blankForm(), nullptr, 0, 0},
        {"empty masks of each separator",
         formWith({{f::CheckDate, "  /  /    "}, {f::PurchDate, "  .  .    "}}), nullptr, 0, 0},
        {"check-out date", formWith({{f::CheckDate, "13/45/1997"}}), kv::kCheckDateMessage, 3, f::CheckDate},
        {"purchase date", formWith({{f::PurchDate, "13/45/1997"}}), kv::kPurchDateMessage, 4, f::PurchDate},
        {"dates come before prices", formWith({{f::PurchDate, "02/30/1997"}, {f::ListPrice, "x"}}),
         kv::kPurchDateMessage, 4, f::PurchDate},
        {"a currency symbol", formWith({{f::ListPrice, "$5.00"}}), kv::kListPriceMessage, 4, f::ListPrice},
        {"purchase price", formWith({{f::PurchPrice, "1.2.3"}}), kv::kPurchPriceMessage, 4, f::PurchPrice},
        {"play time is whole", formWith({{f::RunTime, "1.5"}}), kv::kPlayTimeMessage, 3, f::RunTime},
        {"year", formWith({{f::Year, "19x7"}}), kv::kYearMessage, 1, f::Year},
        {"play time before year", formWith({{f::Year, "?"}, {f::RunTime, "?"}}), kv::kPlayTimeMessage, 3, f::RunTime},
        {"no range limits", formWith({{f::Year, "-5"}, {f::RunTime, " 0 "}, {f::ListPrice, "-1e3"}}), nullptr, 0, 0},
        {"a blank year", formWith({{f::Year, ""}}), nullptr, 0, 0},
    };
    for (const CheckCase &c : cases) {
        const auto failure = kv::checkForm(c.form);
        if (!c.message) {
            EXPECT_FALSE(failure.has_value()) << c.what;
            continue;
        }
        ASSERT_TRUE(failure.has_value()) << c.what;
        EXPECT_EQ(failure->message, QString::fromLatin1(c.message)) << c.what;
        EXPECT_EQ(failure->page, c.page) << c.what;
        EXPECT_EQ(failure->field, c.field) << c.what;
    }
}

TEST(RecordChecks, ACharacterTheCatalogueCannotHoldNamesItsBoxInTabOrder)
{
    kv::RecordForm form = kv::blankForm();
    EXPECT_FALSE(kv::checkCharacters(form));
    form.text[size_t(kv::fields::Title)] = QString::fromUtf8("Amélie, Cœur €");
    EXPECT_FALSE(kv::checkCharacters(form));
    // Both boxes hold one; the user meets the one on the earlier page first.
    form.text[size_t(kv::fields::CheckName)] = QString::fromUtf8("Кино");
    form.text[size_t(kv::fields::Star1)] = QString::fromUtf8("Łódź");
    std::optional<kv::CheckFailure> failure = kv::checkCharacters(form);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message,
              QString::fromUtf8("The character \"Ł\" (U+0141) in Star 1 cannot be stored in the catalogue.  Please correct."));
    EXPECT_EQ(failure->page, 1);
    EXPECT_EQ(failure->field, kv::fields::Star1);
    form.text[size_t(kv::fields::Star1)].clear();
    failure = kv::checkCharacters(form);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->field, kv::fields::CheckName);
    EXPECT_EQ(failure->page, 3);
    // A code page that holds them passes: "œ" and "€" are in 1252 only.
    form.text[size_t(kv::fields::CheckName)] = QString::fromUtf8("Müller");
    EXPECT_EQ(kv::checkCharacters(form, kv::Codepage::Cp850)->field, kv::fields::Title);
    form.text[size_t(kv::fields::Title)] = QString::fromUtf8("Amélie");
    EXPECT_FALSE(kv::checkCharacters(form, kv::Codepage::Cp850));
}

TEST(RecordChecks, PricesAreNormalisedInBothCurrencySettings)
{
    kv::CheckedValues values;
    {
        kv::ScopedNumberFormats us({kv::kUsFormat, kv::kUsFormat});
        ASSERT_FALSE(kv::checkForm(formWith({{f::ListPrice, "1,234.50"}, {f::PurchPrice, " "}}), &values));
        EXPECT_EQ(values.listPrice, 1234.5);
        EXPECT_EQ(values.purchPrice, 0) << "blank is 0";
        EXPECT_EQ(kv::reformattedPrice(QStringLiteral("1234.5")), QStringLiteral("1,234.50"));
        EXPECT_EQ(kv::reformattedPrice(QStringLiteral("-1234.5")), QStringLiteral("-1,234.50"));
        EXPECT_EQ(kv::reformattedPrice(QStringLiteral("$12")), QStringLiteral("$12")) << "left for the update";
        EXPECT_EQ(kv::reformattedPrice(QStringLiteral("  ")), QStringLiteral("  "));
    }
    kv::RegionalValues region;
    region.decimalMark = QLatin1Char(',');
    region.thousands = QLatin1Char('.');
    kv::ScopedNumberFormats regional({kv::kUsFormat, kv::kRegionalFormat}, region);
    ASSERT_FALSE(kv::checkForm(formWith({{f::ListPrice, "1.234,50"}}), &values));
    EXPECT_EQ(values.listPrice, 1234.5);
    EXPECT_EQ(kv::reformattedPrice(QStringLiteral("1234,5")), QStringLiteral("1.234,50"));
    ASSERT_FALSE(kv::checkForm(formWith({{f::ListPrice, "1,234.50"}}), &values));
    EXPECT_EQ(values.listPrice, 1.2345) << "the U.S. marks mean something else here";
}

TEST(RecordForm, SnapshotAndChangeTest)
{
    RecordForm form = kv::blankForm();
    form.text[f::Title] = QString(70, QLatin1Char('t'));
    form.text[f::PurchDate] = QStringLiteral("  /  /    ");
    const RecordForm snapshot = kv::snapshotOf(form);
    EXPECT_EQ(snapshot.text[f::Title].size(), 60);
    RecordForm now = form;
    now.text[f::Title].truncate(60);
    now.text[f::PurchDate] = QStringLiteral("/  /");
    EXPECT_FALSE(kv::valuesChanged(snapshot, now)) << "dates compare without the spaces around them";
    now.text[14] = QStringLiteral("Drama");
    EXPECT_TRUE(kv::valuesChanged(snapshot, now));
    now = kv::snapshotOf(form);
    now.viewed = true;
    EXPECT_TRUE(kv::valuesChanged(snapshot, now));
    now.viewed = false;
    now.text[f::Title][0] = QLatin1Char('T');
    EXPECT_TRUE(kv::valuesChanged(snapshot, now)) << "case counts";
}

TEST(RecordForm, CheckOutStashKeepsTheLoadedDateAndPerson)
{
    kv::CheckOutStash stash;
    RecordForm lent = formWith({{f::CheckDate, "01/02/1997"}, {f::CheckName, "Ann"}});
    lent.checkOut = true;
    stash.fillFrom(lent);
    RecordForm form = lent;
    stash.untick(form);
    EXPECT_FALSE(form.checkOut);
    EXPECT_TRUE(form.text[f::CheckDate].isEmpty());
    EXPECT_TRUE(form.text[f::CheckName].isEmpty());
    stash.tick(form);
    EXPECT_EQ(form, lent);
    // After a clear, ticking fills in what the stash keeps.
    RecordForm blank = kv::blankForm();
    stash.tick(blank);
    EXPECT_EQ(blank.text[f::CheckName], QStringLiteral("Ann"));
}

TEST(RecordForm, TitleEchoCutsTheCaptionPart)
{
    EXPECT_EQ(kv::titleEcho(QStringLiteral("Title"), QStringLiteral("Alien")), QStringLiteral("Title: Alien"));
    EXPECT_EQ(kv::titleEcho(QStringLiteral("A Very Long Caption X"), QStringLiteral("Alien")),
              QStringLiteral("A Very Long Caption X:Alien"));
}

TEST(RecordSteps, QuestionsBeforeMoving)
{
    using kv::Step;
    EXPECT_EQ(kv::stepQuestion(Step::Next, EditMode::Add, false, false),
              QStringLiteral("This record has not been updated yet.  Update this record before moving to the next "
                             "record?"));
    EXPECT_EQ(kv::stepQuestion(Step::Previous, EditMode::Copy, false, false),
              QStringLiteral("This record has not been updated yet.  Update this record before moving to the "
                             "previous record?"));
    EXPECT_EQ(kv::stepQuestion(Step::Previous, EditMode::Edit, true, false),
              QStringLiteral("Data has changed.  Update this record before moving to the previous record?"));
    EXPECT_TRUE(kv::stepQuestion(Step::Next, EditMode::Edit, false, false).isEmpty());
    EXPECT_TRUE(kv::stepQuestion(Step::Next, EditMode::Add, true, true).isEmpty()) << "browse-only asks nothing";
}

// An update on a real catalogue.
struct Update : kvtest::WorkspaceFixture {
    kv::Table &table = workspace.master();
    kv::PickLists &lists = workspace.pickLists();
    Update()
    {
        table.setPath(newCatalogue(QStringLiteral("U.DBF")));
        table.open();
    }
    QString value(int row, const char *field) { return table.fieldTextAt(row, table.fieldIndex(QLatin1String(field))); }
};

TEST(RecordUpdate, AddingATitleOnlyWritesTheBlankValues)
{
    Update u;
    kv::ScopedDateFormat dates(kMdy);
    EditMode mode = EditMode::Add;
    const auto outcome = kv::updateRecord(u.table, u.lists, u.prompt, mode, formWith({{f::Title, "Alien"}}));
    ASSERT_EQ(outcome.result, kv::UpdateResult::Written);
    EXPECT_EQ(mode, EditMode::Edit);
    ASSERT_EQ(u.table.recordCount(), 1);
    EXPECT_EQ(u.value(0, "Title"), QStringLiteral("Alien"));
    EXPECT_EQ(u.value(0, "RunTime"), QStringLiteral("0"));
    EXPECT_EQ(u.table.fieldNumber(u.table.fieldIndex(QStringLiteral("ListPrice"))), 0);
    EXPECT_EQ(u.value(0, "CheckDate"), QString());
    EXPECT_EQ(u.value(0, "CheckOut"), QStringLiteral("No"));
    EXPECT_EQ(u.value(0, "Viewed"), QStringLiteral("No"));
    EXPECT_EQ(u.value(0, "Year"), QString()) << "a blank year leaves the field empty";
}

TEST(RecordUpdate, CopyThenUpdateTwiceWritesOneNewRecordAndLeavesTheOriginal)
{
    Update u;
    addRecords(u.table, {{{"Title", "Original"}, {"CheckOut", "yes"}}});
    u.table.first();
    RecordForm form = kv::loadForm(u.table);
    EXPECT_FALSE(form.checkOut) << "only exactly \"Yes\" ticks the box";
    EditMode mode = EditMode::Copy;
    ASSERT_EQ(kv::updateRecord(u.table, u.lists, u.prompt, mode, form).result, kv::UpdateResult::Written);
    form.text[f::Title] = QStringLiteral("Copy");
    ASSERT_EQ(kv::updateRecord(u.table, u.lists, u.prompt, mode, form).result, kv::UpdateResult::Written);
    EXPECT_EQ(column(u.table, "Title"), (QStringList{"Original", "Copy"}));
    EXPECT_EQ(column(u.table, "CheckOut"), (QStringList{"yes", "No"}));
}

TEST(RecordUpdate, AFailedCheckWritesNothingAndLearnsNothing)
{
    Update u;
    kv::ScopedDateFormat dates(kMdy);
    EditMode mode = EditMode::Add;
    const RecordForm form = formWith({{f::Title, "X"}, {14, "New"}, {f::PurchDate, "13/45/1997"}});
    const auto outcome = kv::updateRecord(u.table, u.lists, u.prompt, mode, form);
    EXPECT_EQ(outcome.result, kv::UpdateResult::CheckFailed);
    EXPECT_EQ(mode, EditMode::Add);
    EXPECT_EQ(u.table.recordCount(), 0);
    EXPECT_TRUE(u.lists.entries(6).isEmpty());
    EXPECT_TRUE(u.prompt.shown().empty()) << "the window shows the message";
}

TEST(RecordUpdate, AStoreRefusalIsToldAndTheNewRecordIsNotLeftHalfMade)
{
    Update u;
    addRecords(u.table, {{{"Title", "Kept"}}});
    // A catalogue on a read-only medium: the table refuses the new record.
    u.table.close();
    u.table.setReadOnly(true);
    u.table.open();
    EditMode mode = EditMode::Add;
    const RecordForm form = formWith({{f::Title, QStringLiteral("New")}, {8, "Learned"}});
    EXPECT_EQ(kv::updateRecord(u.table, u.lists, u.prompt, mode, form).result, kv::UpdateResult::StoreFailed);
    EXPECT_EQ(u.prompt.shown().size(), 1u);
    EXPECT_EQ(mode, EditMode::Add) << "the next update still adds rather than overwriting the current record";
    EXPECT_EQ(u.table.state(), kv::Table::State::Browse);
    EXPECT_EQ(column(u.table, "Title"), QStringList{"Kept"});
    EXPECT_EQ(u.lists.entries(1), QStringList{"Learned"}) << "the additions stay";
}

TEST(RecordUpdate, ClearOnALoadedRecordOverwritesIt)
{
    Update u;
    addRecords(u.table, {{{"Title", "Full"}, {"RunTime", "120"}, {"Viewed", "Yes"}, {"ListPrice", "9.5"}}});
    u.table.first();
    EditMode mode = EditMode::Edit;
    ASSERT_EQ(kv::updateRecord(u.table, u.lists, u.prompt, mode, kv::blankForm()).result, kv::UpdateResult::Written);
    EXPECT_EQ(u.table.recordCount(), 1);
    EXPECT_EQ(u.value(0, "Title"), QString());
    EXPECT_EQ(u.value(0, "RunTime"), QStringLiteral("0"));
    EXPECT_EQ(u.value(0, "Viewed"), QStringLiteral("No"));
    EXPECT_EQ(u.table.fieldNumber(u.table.fieldIndex(QStringLiteral("ListPrice"))), 0);
}

TEST(RecordForm, LoadShowsDatesInTheBoxFormAndPricesInTheCurrencyStyle)
{
    Update u;
    kv::ScopedDateFormat dates({QStringLiteral("d/m/yy"), QLatin1Char('-')});
    kv::ScopedNumberFormats us({kv::kUsFormat, kv::kUsFormat});
    addRecords(u.table, {{{"PurchDate", "5-1-1997"}, {"PurchPrice", "1234.5"}, {"Viewed", "Yes"}}});
    u.table.first();
    const RecordForm form = kv::loadForm(u.table);
    EXPECT_EQ(form.text[f::PurchDate], QStringLiteral("05-01-1997"));
    EXPECT_EQ(form.text[f::PurchPrice], QStringLiteral("1,234.50"));
    EXPECT_EQ(form.text[f::ListPrice], QString());
    EXPECT_TRUE(form.viewed);
    EXPECT_EQ(kv::dateBoxMask(), QStringLiteral("99-99-9999; "));
}

} // namespace
