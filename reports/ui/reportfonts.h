#pragma once
// The font editor: the title, column header, body and footnote fonts of the current
// definition, each changed in place through the font dialog.
#include "base/prompt.h"
#include "reports/reportdef.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace kv {

class TReportFonts : public QDialog {
    Q_OBJECT
public:
    TReportFonts(TReportDefRec &def, Prompt &prompt, QWidget *parent = nullptr);

    using Styler = std::function<void(QWidget *window)>;
    void setStyler(Styler styler) { styler_ = std::move(styler); }

    // Font 0 title, 1 column header, 2 body, 3 footnote.
    void NewFontClick(int font);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFontRec &fontRec(int font);
    void showCaptions();

    TReportDefRec &def_;
    Prompt &prompt_;
    Styler styler_;
    QLabel *captions_[4] = {};
    QPushButton *OkButton = nullptr;
};

} // namespace kv
