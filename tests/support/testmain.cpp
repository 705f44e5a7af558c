// Test entry: a QApplication on the offscreen platform, a private runtime folder and
// a fresh temporary home for every test.
#include "base/paths.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kvtest {
void installTempHomeListener();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/kvtest-runtime-XXXXXX"));
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());

    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    kv::initApplicationIdentity();
    kvtest::installTempHomeListener();
    return RUN_ALL_TESTS();
}
