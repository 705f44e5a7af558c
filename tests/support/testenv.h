#pragma once
// Every test runs with its own temporary home: HOME and the XDG configuration,
// data and cache folders point into a fresh folder that is removed afterwards,
// so nothing touches the real home directory.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace kvtest {

// The current test's temporary folder (exists for the duration of the test).
QString tempDir();
// A path inside tempDir().
QString tempPath(const QString &name);
// A file in tests/fixtures.
QString fixture(const QString &name);
// Copies a fixture into tempDir() and returns the copy's path.
QString copyFixture(const QString &name, const QString &as = QString());

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Runs a program (usually kestrova-cli) with the test's environment, in tempDir();
// locale, when given, becomes LC_ALL.
ProcessResult run(const QString &program, const QStringList &args, const QByteArray &input = QByteArray(),
                  const QByteArray &locale = QByteArray());
// kestrova-cli in the C locale, so that listings are code page 1252 on any machine, or
// in the locale given.
ProcessResult runCli(const QStringList &args, const QByteArray &locale = QByteArrayLiteral("C"));

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace kvtest
