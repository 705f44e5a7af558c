// A label sheet prepared from the workspace: the refusals, the whole catalogue scanned
// while a search is on, and the search back on afterwards.
#include "reports/commands/labelsheet.h"

#include "store/storetest.h"
#include "workspacefixture.h"

#include <gtest/gtest.h>

namespace {

double tenthPerChar(const QString &text, double) { return 0.1 * double(text.size()); }

struct OpenCatalogue : kvtest::WorkspaceFixture {
    OpenCatalogue()
    {
        kv::Table &master = workspace.master();
        master.setPath(newCatalogue());
        master.open();
        addRecords(master, {{{"MediaNum", "V1"}, {"Title", "Casablanca"}, {"CounterSta", "0100"}},
                            {{"MediaNum", "V2"}, {"Title", "Vertigo"}, {"CounterSta", "0020"}},
                            {{"MediaNum", "V1"}, {"Title", "Brazil"}, {"CounterSta", "0350"}}});
    }
};

TEST(LabelSheet, ASearchDoesNotLimitTheLabelsAndIsOnAgainAfter)
{
    OpenCatalogue c;
    c.settings.labelItems[0][0] = QStringLiteral("V1");
    c.settings.labelItems[1][0] = QStringLiteral("V2");
    c.workspace.search().start([](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")) == QLatin1String("Vertigo"); });
    ASSERT_EQ(c.workspace.recordCount(), 1);

    const std::optional<kv::LabelSheet> sheet =
        kv::prepareLabelSheet(c.workspace, kv::LabelKind::Spine, kv::LabelStock::Avery5199, tenthPerChar);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->positions.size(), 15);
    ASSERT_EQ(sheet->labels.size(), 2);
    ASSERT_EQ(sheet->positions[0].contents.size(), 2);
    EXPECT_EQ(sheet->positions[0].contents[0].title, QStringLiteral("Brazil"));
    EXPECT_EQ(sheet->positions[1].contents[0].title, QStringLiteral("Vertigo"));
    EXPECT_TRUE(c.workspace.search().isOn());
    EXPECT_EQ(c.workspace.recordCount(), 1);
    EXPECT_TRUE(c.prompt.messages().isEmpty());
}

TEST(LabelSheet, RefusedRunLeavesTheSearchAlone)
{
    OpenCatalogue c;
    c.workspace.search().start([](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")) == QLatin1String("Vertigo"); });
    EXPECT_FALSE(kv::prepareLabelSheet(c.workspace, kv::LabelKind::Face, kv::LabelStock::Avery5199, tenthPerChar));
    EXPECT_EQ(c.prompt.messages(),
              QStringList{QStringLiteral(
                  "Error: No media numbers have been entered.  Please enter/choose some media numbers.")});
    EXPECT_TRUE(c.workspace.search().isOn());
}

} // namespace
