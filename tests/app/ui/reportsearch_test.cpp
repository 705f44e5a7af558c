// "Entire Database" printed while a search is on: the main window's "SEARCH ON" is back
// as soon as the run is over, while its pages are still being looked at.
#include "app/ui/mainwindowfixture.h"
#include "scriptedprompt.h"
#include "scriptedrunner.h"

#include "reports/ui/mypreview.h"
#include "reports/ui/myreport.h"
#include "reports/ui/reportform.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

TEST(ReportsFromTheMainWindow, SearchOnIsShownAgainRightAfterAnEntireDatabaseRun)
{
    kvtest::ScriptedPrompt prompt;
    setProgramValue("Last Database", catalogueWith(QStringLiteral("A.DBF"), {QStringLiteral("Alien"),
                                                                             QStringLiteral("Brazil")}));
    auto main = startMain(prompt);
    ASSERT_TRUE(main->started());
    main->show();
    auto *searchOn = child<QLabel>(main.get(), "SearchOnLabel");
    main->workspace().search().start(
        [](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")) == QLatin1String("Alien"); });
    ASSERT_TRUE(searchOn->isVisible());

    QStringList seen;
    whenShown<kv::TMyReport>([&](kv::TMyReport &reports) {
        reports.ExportEntire->click();
        reports.ReportBox->setCurrentRow(0);
        kvtest::ScriptedRunner runner(reports);
        runner.onExec = [&](QDialog &d) {
            if (auto *form = qobject_cast<kv::TReportForm *>(&d)) {
                form->run();
                seen << QStringLiteral("run: ") + (searchOn->isVisible() ? "SEARCH ON" : "no label");
            } else if (qobject_cast<kv::TMyPreview *>(&d)) {
                seen << QStringLiteral("preview: ") + (searchOn->isVisible() ? "SEARCH ON" : "no label") + " " +
                            countText(*main);
            }
            return int(QDialog::Accepted);
        };
        reports.ViewButton->click();
        reports.reject();
    });
    child<QAction>(main.get(), "MenuReports")->trigger();
    EXPECT_EQ(seen.join(QStringLiteral(" | ")).toStdString(), "run: no label | preview: SEARCH ON 1");
    EXPECT_TRUE(searchOn->isVisible());
}
