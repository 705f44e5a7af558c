// The list editor's working copy: Add, Delete and Sort with their selection rules, the
// alphabetical order, and what confirming changes in memory and on disk.
#include "edit/listeditor.h"

#include "base/paths.h"
#include "edit/listfile.h"
#include "edit/listorder.h"
#include "resources/defaults.h"
#include "testenv.h"
#include "workspacefixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using kv::Answer;
using kv::ListEdit;

namespace {

QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char('|')); }

TEST(ListEditor, CaptionsNameTheList)
{
    EXPECT_EQ(kv::listEditorCaption(1), QStringLiteral("Edit \"Producer\" List"));
    EXPECT_EQ(kv::listEditorCaption(2), QStringLiteral("Edit \"Stars\" List"));
    EXPECT_EQ(kv::listEditorCaption(14), QStringLiteral("Edit \"Oscar Names\" List"));
    EXPECT_EQ(kv::listEditorCaption(16), QStringLiteral("Edit \"Where Purchase\" List"));
}

TEST(ListEditor, AddTrimsSpacesAppendsAtTheEndAndKeepsDuplicates)
{
    ListEdit edit(1, words("Zanuck|Goldwyn"));
    edit.select(0);
    EXPECT_TRUE(edit.add(QStringLiteral("  Selznick  ")));
    EXPECT_TRUE(edit.add(QStringLiteral("Goldwyn")));
    EXPECT_FALSE(edit.add(QStringLiteral("    ")));
    EXPECT_FALSE(edit.add(QString()));
    EXPECT_TRUE(edit.add(QStringLiteral("\tTab")));
    EXPECT_EQ(edit.entries(), words("Zanuck|Goldwyn|Selznick|Goldwyn|\tTab")) << "only spaces count as blank";
    EXPECT_EQ(edit.selected(), 0) << "adding leaves the selection";
}

TEST(ListEditor, DeleteSelectsTheEntryInItsPlaceOrTheOneBefore)
{
    const struct {
        const char *start;
        int selected;
        const char *left;
        int selectedAfter;
    } cases[] = {
        {"A|B|C", 0, "B|C", 0},
        {"A|B|C", 1, "A|C", 1},
        {"A|B|C", 2, "A|B", 1}, // the last: the one before
        {"A", 0, "", -1},       // the only one: nothing
    };
    for (const auto &c : cases) {
        ListEdit edit(3, words(c.start));
        edit.select(c.selected);
        EXPECT_TRUE(edit.deleteSelected()) << c.start << " " << c.selected;
        EXPECT_EQ(edit.entries(), *c.left ? words(c.left) : QStringList()) << c.start << " " << c.selected;
        EXPECT_EQ(edit.selected(), c.selectedAfter) << c.start << " " << c.selected;
    }
    ListEdit edit(3, words("A|B"));
    edit.select(-1);
    EXPECT_FALSE(edit.deleteSelected()) << "no selection, nothing happens";
    EXPECT_EQ(edit.entries(), words("A|B"));
    ListEdit empty(3, {});
    empty.select(0);
    EXPECT_EQ(empty.selected(), -1);
    EXPECT_FALSE(empty.deleteSelected());
}

TEST(ListEditor, SortAsksFirstAndPutsLettersWhereAReaderLooksForThem)
{
    kvtest::ScriptedPrompt prompt;
    ListEdit edit(2, words("Zoë|émile|Eve|Édith|apple|Banana|Ève"));
    edit.select(2); // Eve
    prompt.answer(Answer::No);
    EXPECT_FALSE(edit.sort(prompt));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Confirm"));
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("Are you sure you want to sort the data?  Sorting cannot be undone."));
    EXPECT_EQ(prompt.shown()[0].buttons, kv::Buttons::YesNo);
    EXPECT_EQ(prompt.shown()[0].defaultAnswer, Answer::Yes);
    EXPECT_EQ(edit.entries(), words("Zoë|émile|Eve|Édith|apple|Banana|Ève")) << "No leaves the order";

    prompt.answer(Answer::Yes);
    EXPECT_TRUE(edit.sort(prompt));
    EXPECT_EQ(edit.entries(), words("apple|Banana|Édith|émile|Eve|Ève|Zoë"));
    EXPECT_EQ(edit.entries().at(edit.selected()), QStringLiteral("Eve")) << "the selection follows its entry";

    edit.add(QStringLiteral("Aaron"));
    EXPECT_EQ(edit.entries().constLast(), QStringLiteral("Aaron")) << "sorting is once; additions go to the end";
    EXPECT_TRUE(prompt.allAnswersUsed());
}

TEST(ListEditor, SortKeepsTheChosenCopyOfADuplicateSelected)
{
    kv::SilentPrompt yes; // the question's default is Yes
    ListEdit edit(6, words("Drama|Comedy|Drama|Action"));
    edit.select(2); // the second "Drama"
    ASSERT_TRUE(edit.sort(yes));
    EXPECT_EQ(edit.entries(), words("Action|Comedy|Drama|Drama"));
    EXPECT_EQ(edit.selected(), 3);
}

TEST(ListOrder, CaseIgnoredAccentsWithTheirLetterBlanksFirst)
{
    const struct {
        const char *a;
        const char *b;
    } before[] = {
        {"apple", "Banana"},  {"Banana", "cherry"}, {"Ann", "Ann Lee"}, {"Ann Lee", "Anna"},
        {"Édith", "Eve"},     {"Eve", "Ève"},       {"Øst", "Peter"},   {"Zoë", "Þór"},
        {"Ångström", "Anz"},  {"ZZ Top", "Zz Top"}, {"R2", "Ra"},       {"Ça", "Cb"},
    };
    for (const auto &c : before) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_LT(kv::compareAlphabetically(a, b), 0) << c.a << " < " << c.b;
        EXPECT_GT(kv::compareAlphabetically(b, a), 0) << c.b << " > " << c.a;
    }
    EXPECT_EQ(kv::compareAlphabetically(QStringLiteral("Same"), QStringLiteral("Same")), 0);
    EXPECT_NE(kv::compareAlphabetically(QStringLiteral("Same"), QStringLiteral("Same ")), 0);

    const QStringList sorted = words("a|B|c|D");
    for (const char *entry : {"0", "A", "b", "C", "d", "e"}) {
        const qsizetype at = kv::alphabeticalPlace(sorted, QString::fromLatin1(entry));
        QStringList with = sorted;
        with.insert(at, QString::fromLatin1(entry));
        QStringList check = with;
        kv::sortAlphabetically(check);
        EXPECT_EQ(with, check) << entry;
    }
    EXPECT_EQ(kv::alphabeticalPlace(words("a|B|c"), QStringLiteral("B")), 2) << "after an equal entry";
}

struct Confirm : kvtest::WorkspaceFixture {
    kv::PickLists &lists = workspace.pickLists();
    QString base = kvtest::tempPath(QStringLiteral("CAT"));
    Confirm()
    {
        kv::installDefaultLists(kv::programDir());
        lists.LoadDefaultList();
    }
    QStringList file(int n) { return kv::readListFile(kv::catalogueListPath(base, n)); }
};

TEST(ListEditor, ConfirmingACatalogueListReplacesItAndWritesTheCatalogueLists)
{
    Confirm t;
    t.lists.list(6).setEntries(words("Drama|Comedy"));
    t.lists.list(1).add(QStringLiteral("Added Earlier"));
    int replaced = 0;
    QObject::connect(&t.lists.list(6), &kv::PickList::changed, [&] { ++replaced; });
    const QByteArray oscars = kvtest::readFile(kv::defaultListPath(kv::kOscarList));
    ListEdit edit(6, t.lists.entries(6));
    edit.add(QStringLiteral("Western"));
    edit.add(QStringLiteral("Western"));
    kv::confirmListEdit(t.lists, t.base, edit);
    EXPECT_EQ(t.lists.entries(6), words("Drama|Comedy|Western|Western"));
    EXPECT_EQ(replaced, 1) << "the edit window and the viewer follow the list";
    EXPECT_EQ(t.file(6), words("Drama|Comedy|Western|Western")) << "both equal entries are written";
    EXPECT_EQ(t.file(1).constLast(), QStringLiteral("Added Earlier")) << "all fifteen lists are written";
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(QFileInfo::exists(kv::catalogueListPath(t.base, n)), kv::isCatalogueList(n)) << n;
    EXPECT_EQ(kvtest::readFile(kv::defaultListPath(kv::kOscarList)), oscars);
}

TEST(ListEditor, ConfirmingAProgramWideListWritesItsFileAndTheCatalogueLists)
{
    for (int n : {kv::kOscarList, kv::kMiscList}) {
        Confirm t;
        ListEdit edit(n, {});
        edit.add(QStringLiteral("Best Picture"));
        edit.add(QStringLiteral("Best Sound"));
        kv::confirmListEdit(t.lists, t.base, edit);
        EXPECT_EQ(kvtest::readFile(kv::defaultListPath(n)), QByteArray("Best Picture\r\nBest Sound\r\n")) << n;
        EXPECT_EQ(t.file(5), t.lists.entries(5)) << n;
        EXPECT_FALSE(t.file(5).isEmpty()) << "the delivered ratings";
    }
}

} // namespace
