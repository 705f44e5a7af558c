// The "List Maintenance" menu of the main window, and the lists the viewer's drop-downs offer.
#include "app/ui/mainwindowfixture.h"
#include "app/ui/viewergrid.h"
#include "edit/listfile.h"
#include "scriptedprompt.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

using kv::Answer;

namespace {

TEST(ListMaintenance, TheDefaultItemsRunAfterTheirQuestions)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    auto *menu = child<QMenu>(main.get(), "ListMaintenanceMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->menuAction()->isEnabled());
    QStringList items;
    for (QAction *a : menu->actions()) {
        if (!a->isSeparator() && a->isEnabled())
            items << a->objectName();
    }
    EXPECT_EQ(items.mid(0, 3), (QStringList{"MenuSaveDefaults", "MenuLoadDefaults", "MenuMaintainStars"}));
    EXPECT_EQ(items.size(), 2 + 17) << "every list item opens the list editor";

    kv::PickLists &lists = main->workspace().pickLists();
    lists.list(13).setEntries({QStringLiteral("Feature")});
    prompt.answer(Answer::Yes);
    child<QAction>(main.get(), "MenuSaveDefaults")->trigger();
    EXPECT_EQ(prompt.shown().back().text, QString::fromLatin1(kv::kSaveDefaultsQuestion));
    EXPECT_EQ(kv::readListFile(kv::defaultListPath(13)), QStringList{QStringLiteral("Feature")});

    lists.list(13).setEntries({});
    prompt.answer(Answer::Yes);
    child<QAction>(main.get(), "MenuLoadDefaults")->trigger();
    EXPECT_EQ(prompt.shown().back().text, QString::fromLatin1(kv::kLoadDefaultsQuestion));
    EXPECT_EQ(lists.entries(13), QStringList{QStringLiteral("Feature")});
    EXPECT_TRUE(prompt.allAnswersUsed());
    main->close();
}

TEST(ListMaintenance, TheViewerOffersTheWorkspacesListsAsTheyStand)
{
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    main->show();
    kv::ViewerGrid *grid = main->viewerGrid();
    kv::PickLists &lists = main->workspace().pickLists();
    EXPECT_EQ(grid->pickList(5), lists.entries(5));
    ASSERT_FALSE(lists.entries(5).isEmpty()) << "the delivered ratings, loaded at start-up";
    lists.list(2).add(QStringLiteral("Someone New"));
    EXPECT_EQ(grid->pickList(2), QStringList{QStringLiteral("Someone New")});
    EXPECT_TRUE(grid->pickList(kv::kOscarList).isEmpty()) << "no viewer combo for the program-wide lists";
    main->close();
}

} // namespace
