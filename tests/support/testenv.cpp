#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace kvtest {

namespace {
std::unique_ptr<QTemporaryDir> current;

class TempHomeListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        current = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kvtest-XXXXXX"));
        const QString root = current->path();
        for (const char *sub : {"home", "config", "data", "cache", "work"})
            QDir(root).mkpath(QString::fromLatin1(sub));
        qputenv("HOME", (root + QStringLiteral("/home")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
        qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toLocal8Bit());
        QDir::setCurrent(root + QStringLiteral("/work"));
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        QDir::setCurrent(QDir::tempPath());
        current.reset();
    }
};
} // namespace

void installTempHomeListener()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new TempHomeListener);
}

QString tempDir() { return current ? current->path() + QStringLiteral("/work") : QDir::tempPath(); }
QString tempPath(const QString &name) { return tempDir() + QLatin1Char('/') + name; }
QString fixture(const QString &name) { return QStringLiteral(KV_TEST_FIXTURES) + QLatin1Char('/') + name; }

QString copyFixture(const QString &name, const QString &as)
{
    const QString target = tempPath(as.isEmpty() ? QFileInfo(name).fileName() : as);
    QFile::remove(target);
    if (!QFile::copy(fixture(name), target))
        ADD_FAILURE() << "cannot copy fixture " << name.toStdString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

ProcessResult run(const QString &program, const QStringList &args, const QByteArray &input, const QByteArray &locale)
{
    QProcess p;
    p.setWorkingDirectory(tempDir());
    if (!locale.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        p.setProcessEnvironment(env);
    }
    p.start(program, args);
    ProcessResult r;
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << "cannot start " << program.toStdString();
        return r;
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        ADD_FAILURE() << program.toStdString() << " did not finish";
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

ProcessResult runCli(const QStringList &args, const QByteArray &locale)
{
    return run(QStringLiteral(KV_CLI_PATH), args, QByteArray(), locale);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return;
    }
    f.write(bytes);
}

} // namespace kvtest
