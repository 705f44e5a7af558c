#pragma once
// The status window of a report run ("Report Status Screen"): it starts the run when it
// first becomes active, shows the page being produced, and its Cancel button stops the
// run at the end of the page; then the button reads OK and closes the window.
#include "base/prompt.h"
#include "reports/reportrun.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace kv {

class TReportForm : public QDialog {
    Q_OBJECT
public:
    static constexpr char kCompleted[] = "Report Completed!";
    static constexpr char kCanceled[] = "Report Canceled!";

    // Another run on the window's engine (a label sheet), which tells the engine's status
    // text to status at each page: false with the reason in error.
    using Status = std::function<void(const QString &status)>;
    using Job = std::function<bool(ReportEngine &engine, const Status &status, QString &error)>;

    TReportForm(Table &table, ReportRunSetup setup, PageOutput &output, Prompt &prompt, QWidget *parent = nullptr);
    TReportForm(PageOutput &output, Job job, Prompt &prompt, QWidget *parent = nullptr);

    // Runs the report once; true when it ran to its end. A failure (no printer, the text
    // file) is told through the prompt.
    bool run();
    bool completed() const { return completed_; }
    // Stops the run at the end of the page being produced.
    void cancel();
    // Called as each page is finished, with the number of finished pages.
    std::function<void(int pages)> onPageDone;
    // The window closes by itself when the run ends (the preview already shows it).
    void closeWhenDone() { closeWhenDone_ = true; }

    QLabel *StatusLabel;
    QPushButton *CancelButton;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CancelButtonClick();
    void showStatus(const QString &status);

    ReportEngine engine_;
    Job job_;
    Prompt &prompt_;
    bool started_ = false;
    bool running_ = false;
    bool completed_ = false;
    bool closeWhenDone_ = false;
};

} // namespace kv
