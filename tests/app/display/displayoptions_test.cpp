// The Options menu's display choices, without a window.
#include "app/display/displayoptions.h"

#include "base/dateformat.h"
#include "scriptedprompt.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayOptions, AScreenSizeTheScreenCannotHoldIsRefusedAndChangesNothing)
{
    kvtest::ScriptedPrompt prompt;
    kv::Settings s;
    EXPECT_FALSE(kv::chooseScreenSize(s, prompt, 1024, QSize(800, 600)));
    EXPECT_EQ(s.windowSize, 640);
    EXPECT_EQ(prompt.messages(),
              QStringList{QStringLiteral("Error: Your current screen resolution does not support 1024 x 768 pixels.")});

    prompt.clear();
    EXPECT_TRUE(kv::chooseScreenSize(s, prompt, 800, QSize(800, 600)));
    EXPECT_EQ(s.windowSize, 800);
    EXPECT_FALSE(kv::chooseScreenSize(s, prompt, 800, QSize(800, 600))) << "the mode in use";
    EXPECT_TRUE(kv::chooseScreenSize(s, prompt, 640, QSize(320, 200))) << "640 needs no particular screen";
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST(DisplayOptions, AChosenFontGivesItsFaceAndStyleButNotItsSize)
{
    kvtest::ScriptedPrompt prompt;
    kv::Settings s;
    const int size = s.font(kv::FontRole::Label).font.pointSize();
    QFont chosen(QStringLiteral("Courier New"), 20);
    chosen.setBold(true);
    chosen.setItalic(true);
    prompt.answerFont(chosen);
    EXPECT_TRUE(kv::chooseFont(s, prompt, kv::FontRole::Label, QStringLiteral("Label Font")));
    const QFont &f = s.font(kv::FontRole::Label).font;
    EXPECT_EQ(f.family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.italic());
    EXPECT_EQ(f.pointSize(), size);
    ASSERT_FALSE(prompt.shown().empty());
    EXPECT_EQ(prompt.shown().back().caption, QStringLiteral("Label Font"));

    const kv::Settings before = s;
    prompt.answerFont(std::nullopt); // cancelled
    EXPECT_FALSE(kv::chooseFont(s, prompt, kv::FontRole::Label, QStringLiteral("Label Font")));
    EXPECT_EQ(s, before);
}

TEST(DisplayOptions, TheViewersFontsTakeTheWholeChosenFont)
{
    kvtest::ScriptedPrompt prompt;
    kv::Settings s;
    QFont chosen(QStringLiteral("Courier New"), 20);
    chosen.setUnderline(true);
    for (kv::FontRole role : {kv::FontRole::GridTitle, kv::FontRole::Grid}) {
        prompt.answerFont(chosen);
        EXPECT_TRUE(kv::chooseFont(s, prompt, role, QStringLiteral("Cell Font")));
        EXPECT_EQ(s.font(role).font, chosen);
    }
}

TEST(DisplayOptions, AChosenColourReplacesTheOneGivenAndCancelKeepsIt)
{
    kvtest::ScriptedPrompt prompt;
    QColor color(1, 2, 3);
    prompt.answerColor(QColor(200, 100, 50));
    EXPECT_TRUE(kv::chooseColor(color, prompt, QStringLiteral("Cell Color")));
    EXPECT_EQ(color, QColor(200, 100, 50));
    ASSERT_FALSE(prompt.shown().empty());
    EXPECT_EQ(prompt.shown().back().kind, QStringLiteral("color"));
    EXPECT_EQ(prompt.shown().back().caption, QStringLiteral("Cell Color"));
    prompt.answerColor(std::nullopt);
    EXPECT_FALSE(kv::chooseColor(color, prompt, QStringLiteral("Cell Color")));
    EXPECT_EQ(color, QColor(200, 100, 50));
}

TEST(DisplayOptions, DateChoicesSayWhenTheViewerMustReadAgain)
{
    kv::Settings s;
    kv::setCurrentDateFormat(s.dateFormat, s.dateLeadingZeros);
    EXPECT_FALSE(kv::chooseDateFormat(s, 1)) << "the format in use";
    EXPECT_TRUE(kv::chooseDateFormat(s, 5));
    EXPECT_EQ(kv::formatDate(QDate(1997, 3, 5)), QStringLiteral("5-3-97"));
    EXPECT_TRUE(kv::toggleLeadingZeros(s));
    EXPECT_TRUE(s.dateLeadingZeros);
    EXPECT_EQ(kv::formatDate(QDate(1997, 3, 5)), QStringLiteral("05-03-97"));
}

} // namespace
