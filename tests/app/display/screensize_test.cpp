#include "app/display/screensize.h"

#include <gtest/gtest.h>

TEST(ScreenSize, ModesHaveTheirFactorsAndNeeds)
{
    const struct {
        int mode;
        double factor;
        QSize needs;
    } cases[] = {
        {640, 1.0, QSize()},
        {800, 1.25, QSize(800, 600)},
        {1024, 1.6, QSize(1024, 768)},
        {1280, 2.0, QSize(1280, 1024)},
        {0, 1.0, QSize()},
        {1600, 1.0, QSize()},
        {-800, 1.0, QSize()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_DOUBLE_EQ(kv::screenFactor(c.mode), c.factor);
        EXPECT_EQ(kv::minimumScreenSize(c.mode), c.needs);
    }
}

TEST(ScreenSize, StartupFallsBackTo640WhenTheScreenIsTooSmallOrTheModeUnknown)
{
    const struct {
        int stored;
        QSize screen;
        bool supported;
        int startWith;
    } cases[] = {
        {640, QSize(640, 480), true, 640},
        {640, QSize(320, 200), true, 640},
        {800, QSize(800, 600), true, 800},
        {800, QSize(799, 600), false, 640},
        {800, QSize(800, 599), false, 640},
        {1024, QSize(1024, 768), true, 1024},
        {1024, QSize(1280, 720), false, 640}, // wide enough, not tall enough
        {1024, QSize(800, 600), false, 640},
        {1280, QSize(1280, 1024), true, 1280},
        {1280, QSize(1920, 1080), true, 1280},
        {1280, QSize(1280, 1023), false, 640},
        {0, QSize(1920, 1080), false, 640},
        {1000, QSize(1920, 1080), false, 640},
        {-1, QSize(1920, 1080), false, 640},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " on " << c.screen.width() << "x" << c.screen.height());
        EXPECT_EQ(kv::screenSupports(c.stored, c.screen), c.supported);
        EXPECT_EQ(kv::startupWindowSize(c.stored, c.screen), c.startWith);
    }
}

TEST(ScreenSize, RefusalNamesTheScreenTheModeNeeds)
{
    EXPECT_EQ(kv::screenSizeRefusedMessage(800),
              QStringLiteral("Your current screen resolution does not support 800 x 600 pixels."));
    EXPECT_EQ(kv::screenSizeRefusedMessage(1024),
              QStringLiteral("Your current screen resolution does not support 1024 x 768 pixels."));
    EXPECT_EQ(kv::screenSizeRefusedMessage(1280),
              QStringLiteral("Your current screen resolution does not support 1280 x 1024 pixels."));
    EXPECT_TRUE(kv::screenSizeRefusedMessage(640).isEmpty());
    EXPECT_TRUE(kv::screenSizeRefusedMessage(1000).isEmpty());
}

TEST(ScreenSize, LengthsScaleByWholePercentRounded)
{
    const struct {
        int length;
        double factor;
        int scaled;
    } cases[] = {
        {100, 1.0, 100}, {100, 1.25, 125}, {100, 1.6, 160}, {100, 2.0, 200},
        {3, 1.25, 4},     // 3.75
        {2, 1.25, 3},     // 2.5 rounds up
        {7, 1.6, 11},     // 11.2
        {333, 1.6, 533},  // 532.8
        {0, 2.0, 0},      {-10, 1.25, -13},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " x " << c.factor);
        EXPECT_EQ(kv::scaleLength(c.length, c.factor), c.scaled);
    }
    EXPECT_EQ(kv::scaleSize(QSize(320, 240), 1.25), QSize(400, 300));
}
