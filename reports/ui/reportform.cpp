#include "reportform.h"

#include "base/dberror.h"
#include "help/help.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kv {

TReportForm::TReportForm(Table &table, ReportRunSetup setup, PageOutput &output, Prompt &prompt, QWidget *parent)
    : TReportForm(
          output,
          [&table, setup = std::move(setup)](ReportEngine &engine, const Status &status, QString &error) {
              ReportRun report(table, setup, engine);
              const bool ok = report.run(status);
              if (!ok)
                  error = report.errorString();
              return ok;
          },
          prompt, parent)
{
}

TReportForm::TReportForm(PageOutput &output, Job job, Prompt &prompt, QWidget *parent)
    : QDialog(parent), engine_(output), job_(std::move(job)), prompt_(prompt)
{
    setObjectName(QStringLiteral("TReportForm"));
    setWindowTitle(QStringLiteral("Report Status Screen"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumSize(260, 70);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelButton, 0, Qt::AlignCenter);
    connect(CancelButton, &QPushButton::clicked, this, &TReportForm::CancelButtonClick);
    setHelpKeyword(this, QStringLiteral("Report Window"));
}

void TReportForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!started_)
        QTimer::singleShot(0, this, [this] { run(); });
}

// The engine's status text, its line breaks shown as such.
void TReportForm::showStatus(const QString &status)
{
    StatusLabel->setText(QString(status).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    if (onPageDone && engine_.pageNumber() > 1)
        onPageDone(engine_.pageNumber() - 1);
    QCoreApplication::processEvents();
}

bool TReportForm::run()
{
    if (started_)
        return completed_;
    started_ = running_ = true;
    bool ok = false;
    QString failure;
    try {
        ok = job_(engine_, [this](const QString &status) { showStatus(status); }, failure);
    } catch (const DbError &error) {
        failure = error.message();
    }
    running_ = false;
    completed_ = ok && !engine_.aborted();
    if (!failure.isEmpty())
        prompt_.showError(failure);
    StatusLabel->setText(QString::fromLatin1(completed_ ? kCompleted : kCanceled));
    CancelButton->setText(QStringLiteral("OK"));
    if (closeWhenDone_)
        accept();
    return completed_;
}

void TReportForm::cancel()
{
    if (running_)
        engine_.cancel();
}

void TReportForm::CancelButtonClick()
{
    if (running_)
        engine_.cancel();
    else if (started_)
        accept();
}

} // namespace kv
