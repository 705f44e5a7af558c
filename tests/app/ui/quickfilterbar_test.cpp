// The filter box above the viewer grid: Ctrl+K puts the cursor in it, typing narrows the
// grid and the count, Escape empties it; the Tools menu offers the collection windows.
#include "app/ui/quickfilterbar.h"
#include "app/ui/viewergrid.h"
#include "app/workspace/quickfilter.h"
#include "mainwindowfixture.h"
#include "scriptedprompt.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

TEST(QuickFilterBar, CtrlKTypingAndEscapeAboveTheGrid)
{
    const QString path = catalogueWith(QStringLiteral("FILMS.DBF"), {"Casablanca", "The Big Sleep", "Heat"});
    setProgramValue("Last Database", path);
    kvtest::ScriptedPrompt prompt;
    auto main = startMain(prompt);
    ASSERT_TRUE(main->started());
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    kv::QuickFilterBar *bar = main->quickFilterBar();
    kv::ViewerGrid *grid = main->viewerGrid();
    // Above the grid, beside the heading, the grid where it always was.
    EXPECT_LE(bar->geometry().bottom(), grid->geometry().top());
    EXPECT_LT(bar->geometry().right(), child<QLabel>(main.get(), "ViewerLabel")->geometry().left());
    EXPECT_GT(bar->geometry().left(), child<QLabel>(main.get(), "CountLabel")->geometry().right());
    EXPECT_GE(bar->width(), 100);

    grid->setFocus();
    QTest::keyClick(main.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(bar->edit()->hasFocus());

    QSignalSpy applied(&bar->filter(), &kv::QuickFilter::applied);
    QTest::keyClicks(bar->edit(), "SLEEP");
    EXPECT_TRUE(applied.wait(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->filter().busy(); }, 5000));
    EXPECT_EQ(countText(*main), QStringLiteral("1"));
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_FALSE(child<QLabel>(main.get(), "SearchOnLabel")->isVisible());

    QTest::keyClick(bar->edit(), Qt::Key_Escape);
    EXPECT_TRUE(bar->edit()->text().isEmpty());
    EXPECT_EQ(countText(*main), QStringLiteral("3"));
    EXPECT_TRUE(main->isVisible()); // Escape in the box closes nothing

    // A command that walks the whole catalogue empties the box first.
    QTest::keyClicks(bar->edit(), "heat");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->filter().busy(); }, 5000));
    EXPECT_EQ(countText(*main), QStringLiteral("1"));
    prompt.answer(kv::Answer::No);
    child<QAction>(main.get(), "MenuRebuild")->trigger();
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(bar->edit()->text().isEmpty());
    EXPECT_EQ(countText(*main), QStringLiteral("3"));

    EXPECT_EQ(child<QAction>(main.get(), "MenuStatistics")->text(), "S&tatistics");
    EXPECT_EQ(child<QAction>(main.get(), "MenuDuplicates")->text(), "&Duplicates");
}

} // namespace
