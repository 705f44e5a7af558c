#include "app/style/speedicons.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <vector>

using kv::SpeedIcon;

namespace {

QImage imageOf(const QIcon &icon, int size)
{
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Share of the pixels that are at least partly painted.
double paintedShare(const QImage &image)
{
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return double(painted) / (image.width() * image.height());
}

TEST(SpeedIconsTest, EveryCommandHasAPictureAtBothSizesDrawnOnce)
{
    for (int k = 0; k < kv::kSpeedIconCount; ++k) {
        SCOPED_TRACE(k);
        const QIcon icon = kv::speedIcon(SpeedIcon(k));
        ASSERT_FALSE(icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(32, 32)));
        for (const int size : {16, 32}) {
            const QImage image = imageOf(icon, size);
            ASSERT_EQ(image.size(), QSize(size, size));
            // A picture, on a transparent ground: neither empty nor a filled square.
            const double share = paintedShare(image);
            EXPECT_GT(share, 0.15) << size;
            EXPECT_LT(share, 0.95) << size;
            const auto clear = [&image](int x, int y) { return qAlpha(image.pixel(x, y)) == 0; };
            EXPECT_TRUE(clear(0, 0) || clear(size - 1, 0) || clear(0, size - 1) || clear(size - 1, size - 1))
                << size;
        }
        EXPECT_EQ(kv::speedIcon(SpeedIcon(k)).cacheKey(), icon.cacheKey());
    }
}

TEST(SpeedIconsTest, NoTwoCommandsShareAPicture)
{
    std::vector<QImage> images;
    for (int k = 0; k < kv::kSpeedIconCount; ++k)
        images.push_back(imageOf(kv::speedIcon(SpeedIcon(k)), 16));
    for (size_t a = 0; a < images.size(); ++a)
        for (size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a], images[b]) << a << " and " << b;
}

} // namespace
