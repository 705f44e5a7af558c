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
    : QDialog(parent), table_(table), setup_(std::move(setup)), engine_(output), prompt_(prompt)
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

bool TReportForm::run()
{
    if (started_)
        return completed_;
    started_ = running_ = true;
    ReportRun report(table_, setup_, engine_);
    bool ok = false;
    QString failure;
    try {
        ok = report.run([this](const QString &status) {
            // The engine's status text, its line breaks shown as such.
            StatusLabel->setText(QString(status).replace(QLatin1Char('\r'), QLatin1Char('\n')));
            if (onPageDone && engine_.pageNumber() > 1)
                onPageDone(engine_.pageNumber() - 1);
            QCoreApplication::processEvents();
        });
        if (!ok)
            failure = report.errorString();
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
