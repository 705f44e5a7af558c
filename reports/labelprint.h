#pragma once
// A label sheet on paper: its laid-out labels drawn through the report engine on one page
// of any page output (the preview's page stream, a PDF file, a printer), on the paper the
// stock comes on. Header and footer print nothing; the page is portrait.
#include "app/settings/settings.h"
#include "report_engine/pageoutput.h"
#include "report_engine/pagestream.h"
#include "report_engine/reportengine.h"
#include "reports/labellayout.h"

#include <QSizeF>
#include <functional>

namespace kv {

// One sheet of a label run.
struct LabelSheet {
    LabelKind kind = LabelKind::Face;
    LabelStock stock = LabelStock::Avery5199;
    TLabelStockRec geometry;
    QList<LabelPosition> positions; // 1 ... the stock's labels per page
    QList<LaidOutLabel> labels;     // the positions that found recordings
    QString title;                  // of the print job and of a PDF file (labelSheetTitle)
};

// "Face Labels" or "Spine Labels", a dash and the catalogue's file name.
QString labelSheetTitle(LabelKind kind, const QString &cataloguePath);

// The stock's paper in inches, portrait: A4 or Letter.
QSizeF labelPaperSize(LabelStock stock);

// The label font as the engine draws it; each line sets its own size.
PageFont labelPageFont(const UserFont &font);

inline constexpr char kScanningStatus[] = "Scanning database for media numbers.";
inline constexpr char kFormattingStatus[] = "Formating Label "; // and the position

// Fills a sheet inside its run, before the page: the scan of the catalogue and the
// layout. keepGoing, asked now and then, says false once the run is cancelled; false
// when the sheet was not filled.
using LabelSheetFill = std::function<bool(LabelSheet &sheet, const std::function<bool()> &keepGoing)>;

// Draws the sheet's labels on one page of output, which should be on the stock's paper.
// False, with the output's message in error, when the output fails.
bool printLabelSheet(const LabelSheet &sheet, const UserFont &font, PageOutput &output, QString *error = nullptr);
// The same on an engine over such an output, filling the sheet first when fill is given.
// status, when given, is told the engine's status text as it changes: "Scanning database
// for media numbers." before the page, then "Printing Page 1" with "Formating Label " and
// the position of each label drawn. A run cancelled during the scan draws no label.
bool printLabelSheet(LabelSheet &sheet, const UserFont &font, ReportEngine &engine,
                     const std::function<void(const QString &)> &status, QString *error = nullptr,
                     const LabelSheetFill &fill = {});

} // namespace kv
