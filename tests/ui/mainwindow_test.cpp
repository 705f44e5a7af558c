#include "app/ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>

TEST(MainWindow, OpensAndClosesFromTheFileMenu)
{
    kv::TMain main;
    main.show();
    ASSERT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Kestrova Videos 97"));
    EXPECT_EQ(main.geometry().size(), QSize(640, 480));
    auto *exit = main.findChild<QAction *>(QStringLiteral("MenuExit"));
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(main.isVisible());
}
