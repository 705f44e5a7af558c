#include "reports/labelprint.h"

#include "report_engine/reportengine.h"
#include "reports/reportrun.h"

#include <QFileInfo>
#include <QPageSize>
#include <algorithm>

namespace kv {

QSizeF labelPaperSize(LabelStock stock)
{
    return QPageSize(labelPaper(stock)).size(QPageSize::Inch);
}

QString labelSheetTitle(LabelKind kind, const QString &cataloguePath)
{
    const QString what = kind == LabelKind::Face ? QStringLiteral("Face Labels") : QStringLiteral("Spine Labels");
    const QString catalogue = QFileInfo(cataloguePath).fileName();
    return catalogue.isEmpty() ? what : what + QStringLiteral(" - ") + catalogue;
}

PageFont labelPageFont(const UserFont &font)
{
    const QFont &f = font.font;
    return PageFont{f.family(), double(kLabelFontSize), f.bold(), f.italic(), f.underline(), f.strikeOut(),
                    font.color.rgb()};
}

namespace {

void drawLabels(ReportEngine &engine, const LabelSheet &sheet, const PageFont &base,
                const std::function<void(const QString &)> &status)
{
    // A sheet is one page: the band reaches below the lowest line, so that a user-defined
    // stock taller than the paper is cut off at its edge rather than continued on a
    // second page.
    double lowest = engine.pageHeight();
    for (const LaidOutLabel &label : sheet.labels)
        for (const LabelLine &line : label.lines)
            lowest = std::max(lowest, line.top + labelLineHeight(line.pointSize));
    engine.setMargins(0, 0, 0, 0);
    engine.setBandTop(0);
    engine.setBandBottom(lowest);

    PageFont font = base;
    for (const LaidOutLabel &label : sheet.labels) {
        engine.setStatusText(0, QString::fromLatin1(kFormattingStatus) + QString::number(label.position));
        if (status)
            status(engine.statusLine());
        for (const LabelLine &line : label.lines) {
            font.points = line.pointSize;
            engine.setFont(font);
            engine.clearTabs();
            QString text;
            for (const LabelStop &stop : line.stops) {
                engine.addTab(
                    TabStop{Justify(int(stop.justify)), 0, 0, kLabelStopMargin, stop.width, stop.x, stop.whole});
                text += QLatin1Char('\t') + QString(stop.text).replace(QLatin1Char('\t'), QLatin1Char(' '));
            }
            engine.moveTo(line.stops.first().x, line.top);
            engine.print(text);
        }
    }
}

} // namespace

bool printLabelSheet(const LabelSheet &sheet, const UserFont &font, PageOutput &output, QString *error)
{
    ReportEngine engine(output);
    LabelSheet filled = sheet;
    return printLabelSheet(filled, font, engine, {}, error);
}

bool printLabelSheet(LabelSheet &sheet, const UserFont &font, ReportEngine &engine,
                     const std::function<void(const QString &)> &status, QString *error, const LabelSheetFill &fill)
{
    engine.setOrientation(QPageLayout::Portrait);
    if (!sheet.title.isEmpty())
        engine.setJobTitle(sheet.title);
    const PageFont base = labelPageFont(font);
    const auto tell = [&] {
        if (status)
            status(engine.statusLine());
    };
    ReportEngine::Callbacks callbacks;
    callbacks.onBeforePrint = [&] {
        engine.setStatusFormat(QStringLiteral("%0"));
        engine.setStatusText(0, QString::fromLatin1(kScanningStatus));
        engine.setStatusText(1, QString());
        tell();
        if (fill && !fill(sheet, [&] {
                tell();
                return !engine.aborted();
            }))
            engine.cancel();
        engine.setStatusFormat(QString::fromLatin1(ReportRun::kStatusFormat));
        engine.setStatusText(0, QString());
    };
    callbacks.onPrintPage = [&] {
        if (!engine.aborted())
            drawLabels(engine, sheet, base, status);
        return false;
    };
    callbacks.onStatus = status;
    engine.setCallbacks(std::move(callbacks));
    const bool ok = engine.start();
    if (!ok && error)
        *error = engine.errorString();
    return ok;
}

} // namespace kv
