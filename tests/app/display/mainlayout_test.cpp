#include "app/display/mainlayout.h"

#include <gtest/gtest.h>

using kv::ButtonBarMode;

TEST(MainLayout, EachModePlacesTheControlsOfItsRow)
{
    const int w = 632, h = 434;
    const struct {
        ButtonBarMode mode;
        QRect navigator;
        int searchOn, count, count2, bevelTop, bevelHeight, label, gridTop, gridHeight;
    } rows[] = {
        {ButtonBarMode::SpeedButtons, {424, 3, w - 424 - 3, 0}, 44, 38, 52, 34, h - 37, 38, 70, h - 77},
        {ButtonBarMode::LetteredButtons, {400, 47, 221, 0}, 96, 90, 105, 86, h - 89, 90, 122, h - 129},
        {ButtonBarMode::None, {w - 207, 8, 201, 0}, 14, 8, 23, 4, h - 7, 8, 40, h - 47},
    };
    for (const auto &r : rows) {
        const kv::MainLayout l = kv::mainLayout(r.mode, w, h);
        SCOPED_TRACE(int(r.mode));
        EXPECT_EQ(l.speedPanel, r.mode == ButtonBarMode::SpeedButtons);
        EXPECT_EQ(l.letteredButtons, r.mode == ButtonBarMode::LetteredButtons);
        EXPECT_EQ(l.navigatorLabel, r.mode == ButtonBarMode::LetteredButtons);
        EXPECT_EQ(l.navigator, r.navigator);
        EXPECT_EQ(l.searchOnLabelTop, r.searchOn);
        EXPECT_EQ(l.countLabelTop, r.count);
        EXPECT_EQ(l.count2LabelTop, r.count2);
        EXPECT_EQ(l.viewerBevelTop, r.bevelTop);
        EXPECT_EQ(l.viewerBevelHeight, r.bevelHeight);
        EXPECT_EQ(l.viewerLabelTop, r.label);
        EXPECT_EQ(l.viewerGridTop, r.gridTop);
        EXPECT_EQ(l.viewerGridHeight, r.gridHeight);
        EXPECT_EQ(l.viewerBevelWidth, w - 6);
        EXPECT_EQ(l.viewerGridWidth, w - 14);
    }
    // The navigator stays inside the window at 640 x 480 and keeps its designed width
    // where there is room.
    const std::pair<ButtonBarMode, int> designed[] = {
        {ButtonBarMode::SpeedButtons, 241}, {ButtonBarMode::LetteredButtons, 221}, {ButtonBarMode::None, 201}};
    for (const auto &[mode, width] : designed) {
        EXPECT_LE(kv::mainLayout(mode, w, h).navigator.right(), w - 1) << int(mode);
        EXPECT_EQ(kv::mainLayout(mode, 1000, h).navigator.width(), width) << int(mode);
    }
    EXPECT_EQ(kv::buttonBarMode(7), ButtonBarMode::SpeedButtons);
    EXPECT_EQ(kv::centredLeft(633, 100), 266);
}

TEST(MainLayout, OnlyTheExactFirstArgumentSelectsBrowseOnly)
{
    EXPECT_TRUE(kv::isBrowseOnlyArgument({QStringLiteral("/browse")}));
    EXPECT_TRUE(kv::isBrowseOnlyArgument({QStringLiteral("/BrOwSe"), QStringLiteral("x")}));
    EXPECT_FALSE(kv::isBrowseOnlyArgument({QStringLiteral("/browser")}));
    EXPECT_FALSE(kv::isBrowseOnlyArgument({QStringLiteral("x"), QStringLiteral("/browse")}));
    EXPECT_FALSE(kv::isBrowseOnlyArgument({}));
}
