#include "app/ui/navigator.h"

#include "scriptedprompt.h"
#include "app/workspace/workspace.h"
#include "store/storetest.h"

#include <QToolButton>

namespace {

using B = kv::RecordNavigator::Button;

class NavigatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = newCatalogue();
        table.setPath(path);
        table.open();
        addRecords(table, {{{"Title", QStringLiteral("Alien")}},
                           {{"Title", QStringLiteral("Brazil")}},
                           {{"Title", QStringLiteral("Chinatown")}}});
        table.first();
        navigator.setTable(&table);
    }

    void click(B which) { navigator.button(which)->click(); }

    // The enabled buttons, in order, as their hints.
    QStringList enabled() const
    {
        QStringList out;
        for (int i = 0; i < kv::RecordNavigator::kButtonCount; ++i)
            if (navigator.button(B(i))->isEnabled())
                out << navigator.button(B(i))->toolTip();
        return out;
    }

    kvtest::ScriptedPrompt prompt;
    kv::Settings settings;
    kv::Workspace workspace{settings, prompt};
    QString path;
    kv::Table table;
    kv::RecordNavigator navigator{workspace};
};

TEST_F(NavigatorTest, HasTenNamedButtonsWithHints)
{
    const std::vector<std::pair<QString, QString>> expected = {
        {"NavFirst", "First record"},   {"NavPrior", "Prior record"},   {"NavNext", "Next record"},
        {"NavLast", "Last record"},     {"NavInsert", "Insert record"}, {"NavDelete", "Delete record"},
        {"NavEdit", "Edit record"},     {"NavPost", "Post edit"},       {"NavCancel", "Cancel edit"},
        {"NavRefresh", "Refresh data"},
    };
    for (int i = 0; i < kv::RecordNavigator::kButtonCount; ++i) {
        QToolButton *b = navigator.button(B(i));
        EXPECT_EQ(b->objectName(), expected[size_t(i)].first);
        EXPECT_EQ(b->toolTip(), expected[size_t(i)].second);
        EXPECT_FALSE(b->icon().isNull());
        EXPECT_EQ(navigator.findChild<QToolButton *>(expected[size_t(i)].first), b);
    }

    navigator.setVisibleButtons(4);
    for (int i = 0; i < kv::RecordNavigator::kButtonCount; ++i)
        EXPECT_EQ(navigator.button(B(i))->isHidden(), i >= 4) << i;
    navigator.setVisibleButtons(kv::RecordNavigator::kButtonCount);
    EXPECT_FALSE(navigator.button(B::Refresh)->isHidden());
}

TEST_F(NavigatorTest, ButtonsFollowTheTable)
{
    const QStringList changes = {"Insert record", "Delete record", "Edit record", "Refresh data"};
    EXPECT_EQ(enabled(), QStringList({"Next record", "Last record"}) + changes);
    click(B::Next);
    EXPECT_EQ(enabled(), QStringList({"First record", "Prior record", "Next record", "Last record"}) + changes);
    click(B::Last);
    EXPECT_EQ(enabled(), QStringList({"First record", "Prior record"}) + changes);
    click(B::Edit);
    EXPECT_EQ(enabled(), QStringList({"First record", "Prior record", "Insert record", "Delete record", "Post edit",
                                      "Cancel edit", "Refresh data"}));
    click(B::Cancel);
    EXPECT_EQ(enabled(), QStringList({"First record", "Prior record"}) + changes);

    // Moves made elsewhere count as well.
    table.first();
    EXPECT_FALSE(navigator.button(B::Prior)->isEnabled());
    EXPECT_TRUE(navigator.button(B::Next)->isEnabled());

    table.close();
    navigator.updateButtons();
    EXPECT_EQ(enabled(), QStringList());
}

TEST_F(NavigatorTest, AnEmptyOrReadOnlyTableOffersLess)
{
    kv::Table empty;
    empty.setPath(newCatalogue(QStringLiteral("EMPTY.DBF")));
    empty.open();
    navigator.setTable(&empty);
    EXPECT_EQ(enabled(), QStringList({"Insert record", "Refresh data"}));

    kv::Table readOnly;
    readOnly.setPath(path);
    readOnly.setReadOnly(true);
    readOnly.open();
    navigator.setTable(&readOnly);
    EXPECT_EQ(enabled(), QStringList({"Next record", "Last record", "Refresh data"}));

    kv::RecordNavigator unbound(workspace);
    for (int i = 0; i < kv::RecordNavigator::kButtonCount; ++i)
        EXPECT_FALSE(unbound.button(B(i))->isEnabled());
}

TEST_F(NavigatorTest, MovesTheTableAndSaysSoAfterEveryButton)
{
    int clicks = 0;
    QObject::connect(&navigator, &kv::RecordNavigator::clicked, [&] { ++clicks; });
    const auto title = [&] { return table.fieldText(QStringLiteral("Title")); };
    click(B::Next);
    EXPECT_EQ(title(), QStringLiteral("Brazil"));
    click(B::Last);
    EXPECT_EQ(title(), QStringLiteral("Chinatown"));
    click(B::Prior);
    EXPECT_EQ(title(), QStringLiteral("Brazil"));
    click(B::First);
    EXPECT_EQ(title(), QStringLiteral("Alien"));
    click(B::Refresh);
    EXPECT_EQ(clicks, 5);
    // A disabled button does nothing.
    click(B::Prior);
    EXPECT_EQ(clicks, 5);
}

TEST_F(NavigatorTest, DeleteAsksFirst)
{
    int clicks = 0;
    QObject::connect(&navigator, &kv::RecordNavigator::clicked, [&] { ++clicks; });
    click(B::Next);
    prompt.answer(kv::Answer::No);
    click(B::Delete);
    EXPECT_EQ(prompt.messages(), QStringList{"Confirm: Delete this record?"});
    EXPECT_EQ(prompt.shown().back().buttons, kv::Buttons::YesNo);
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(clicks, 2); // the count is shown again either way

    prompt.answer(kv::Answer::Yes);
    click(B::Delete);
    EXPECT_EQ(column(table, "Title"), (QStringList{"Alien", "Chinatown"}));
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(prompt.allAnswersUsed());
}

TEST_F(NavigatorTest, InsertEditPostAndCancelChangeRecords)
{
    click(B::Insert);
    EXPECT_EQ(table.state(), kv::Table::State::Insert);
    table.setFieldText(QStringLiteral("Title"), QStringLiteral("Diva"));
    click(B::Post);
    EXPECT_EQ(table.state(), kv::Table::State::Browse);
    EXPECT_EQ(column(table, "Title"), (QStringList{"Alien", "Brazil", "Chinatown", "Diva"}));

    click(B::Insert);
    click(B::Cancel);
    EXPECT_EQ(table.recordCount(), 4);

    click(B::First);
    click(B::Edit);
    table.setFieldText(QStringLiteral("Title"), QStringLiteral("Aliens"));
    click(B::Cancel);
    EXPECT_EQ(table.fieldText(QStringLiteral("Title")), QStringLiteral("Alien"));
    click(B::Edit);
    table.setFieldText(QStringLiteral("Title"), QStringLiteral("Aliens"));
    click(B::Post);
    EXPECT_EQ(column(table, "Title").first(), QStringLiteral("Aliens"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(NavigatorTest, RefreshShowsRecordsAnotherTableAdded)
{
    kv::Table other;
    other.setPath(path);
    other.open();
    addRecords(other, {{{"Title", QStringLiteral("Dune")}}});
    EXPECT_EQ(table.recordCount(), 3);
    click(B::Refresh);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_TRUE(navigator.button(B::Next)->isEnabled());
}

} // namespace
