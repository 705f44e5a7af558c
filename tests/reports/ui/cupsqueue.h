#pragma once
// A CUPS queue that writes PDF files, for tests that print for real: the scheduler that
// runs, or one started here (as root) and stopped again by its process id; a queue of
// our own on it, removed again afterwards.
#include <QDateTime>
#include <QString>

namespace kvtest {

class CupsQueue {
public:
    static constexpr char kName[] = "KVTESTPDF";

    CupsQueue();
    ~CupsQueue();
    // Empty when the queue is ready, else why not (the test is skipped with it).
    QString problem() const { return problem_; }

    // The PDF of the next job that arrives in the queue's folder after `since`, once it
    // is written whole; empty after timeoutMs.
    QString waitForPdf(const QDateTime &since, int timeoutMs = 20000) const;

private:
    bool schedulerAnswers() const;
    QString problem_;
    qint64 startedPid_ = 0;
    bool madeQueue_ = false;
    QString outDir_;
};

} // namespace kvtest
