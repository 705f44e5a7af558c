#include "cupsqueue.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace kvtest {

namespace {
int runTool(const QString &program, const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(10000))
        return -1;
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

bool CupsQueue::schedulerAnswers() const
{
    QByteArray out;
    return runTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) == 0 &&
           out.contains("scheduler is running");
}

CupsQueue::CupsQueue()
{
    // The printers' own environment, whatever a test set before.
    qunsetenv("CUPS_SERVER");
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/cupsd")) && !schedulerAnswers()) {
        problem_ = QStringLiteral("CUPS is not installed (cups, cups-client, printer-driver-cups-pdf)");
        return;
    }
    if (!schedulerAnswers()) {
        if (geteuid() != 0) {
            problem_ = QStringLiteral("no CUPS scheduler runs and only root can start one");
            return;
        }
        QDir().mkpath(QStringLiteral("/run/cups"));
        if (!QProcess::startDetached(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f")}, QString(),
                                     &startedPid_)) {
            problem_ = QStringLiteral("the CUPS scheduler did not start");
            return;
        }
        for (int i = 0; i < 100 && !schedulerAnswers(); ++i)
            QThread::msleep(50);
        if (!schedulerAnswers()) {
            problem_ = QStringLiteral("the CUPS scheduler started but does not answer");
            return;
        }
    }
    if (runTool(QStringLiteral("lpadmin"), {"-p", kName, "-E", "-v", "cups-pdf:/", "-m",
                                            "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}) != 0) {
        problem_ = QStringLiteral("the PDF queue could not be made (printer-driver-cups-pdf)");
        return;
    }
    madeQueue_ = true;
    outDir_ = QDir::homePath() + QStringLiteral("/PDF");
    // Jobs run for root write to root's home, whatever HOME the test has.
    if (geteuid() == 0)
        outDir_ = QStringLiteral("/root/PDF");
}

CupsQueue::~CupsQueue()
{
    if (madeQueue_)
        runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), QString::fromLatin1(kName)});
    if (startedPid_ > 0) {
        ::kill(pid_t(startedPid_), SIGTERM);
        for (int i = 0; i < 100 && ::kill(pid_t(startedPid_), 0) == 0; ++i)
            QThread::msleep(20);
    }
}

QString CupsQueue::waitForPdf(const QDateTime &since, int timeoutMs) const
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        const QFileInfoList files =
            QDir(outDir_).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        for (const QFileInfo &f : files) {
            // Written whole: newer than the job and no longer growing.
            if (f.lastModified() >= since.addSecs(-1) && f.size() > 0) {
                const qint64 size = f.size();
                QThread::msleep(200);
                if (QFileInfo(f.filePath()).size() == size)
                    return f.filePath();
            }
        }
        QThread::msleep(100);
    }
    return QString();
}

} // namespace kvtest
