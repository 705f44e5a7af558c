// What "cmake --install" puts where, for the delivered files of this build tree.
#include "resources/defaults.h"
#include "testenv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(Install, DeliveredFilesLandWhereDesktopsAndTheProgramLookForThem)
{
    const QString prefix = kvtest::tempPath(QStringLiteral("prefix"));
    const kvtest::ProcessResult r = kvtest::run(QStringLiteral(KV_CMAKE_COMMAND),
                                                {QStringLiteral("--install"), QStringLiteral(KV_BUILD_DIR),
                                                 QStringLiteral("--prefix"), prefix,
                                                 QStringLiteral("--component"), QStringLiteral("resources")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QString share = prefix + QLatin1Char('/') + QStringLiteral(KV_INSTALL_DATADIR);
    for (const char *file : {
             "kestrova-videos/help/index.html",
             "kestrova-videos/help/keywords.txt",
             "kestrova-videos/help/help.css",
             "kestrova-videos/tips.txt",
             "applications/kestrova-videos.desktop",
             "icons/hicolor/scalable/apps/kestrova-videos.svg",
             "icons/hicolor/48x48/apps/kestrova-videos.png",
             "icons/hicolor/64x64/apps/kestrova-videos.png",
             "icons/hicolor/128x128/apps/kestrova-videos.png",
         })
        EXPECT_TRUE(QFileInfo(share + QLatin1Char('/') + QLatin1String(file)).isFile()) << file;

    for (const QString &name : kv::defaultListFileNames()) {
        const QString path = share + QStringLiteral("/kestrova-videos/lists/") + name;
        ASSERT_TRUE(QFileInfo(path).isFile()) << name.toStdString();
        EXPECT_EQ(kvtest::readFile(path), kv::defaultListContents(name)) << name.toStdString();
    }

    const QByteArray desktop = kvtest::readFile(share + QStringLiteral("/applications/kestrova-videos.desktop"));
    EXPECT_TRUE(desktop.contains("\nExec=kestrova-videos %f\n"));
    EXPECT_TRUE(desktop.contains("\nIcon=kestrova-videos\n"));
}

} // namespace
