#pragma once
// The layout editor: the body lines and the totals line drawn to scale, each part a box;
// a click on a box opens the part editor for it. Works on its own copy of the definition;
// Ok hands the copy back.
#include "app/style/styleddialog.h"
#include "base/prompt.h"
#include "reports/reportdef.h"
#include "reports/reportlayout.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace kv {

class TRepLayout : public StyledDialog {
    Q_OBJECT
public:
    // lineCount and useTotals: as the definition window shows them. factor: the screen
    // size mode's scale, by which the drawing grows with the window.
    TRepLayout(const TReportDefRec &def, int lineCount, bool useTotals, const QStringList &captions, double factor,
               Prompt &prompt, QWidget *parent = nullptr);


    // The copy being edited; the definition window takes it after Ok.
    const TReportDefRec &layout() const { return copy_; }
    const LayoutArea &area() const { return area_; }

    // Opens the part editor on a part of a line (1 ... 12 or kTotalsLineNumber).
    void editPart(int line, int part);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TReportDefRec copy_;
    QStringList captions_;
    double factor_;
    Prompt &prompt_;
    LayoutArea area_;
    std::optional<PartRef> pressed_;
    QLabel *ReportLabel = nullptr;
    QLabel *BodyLabel = nullptr;
    QLabel *TotalsLabel = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
