#pragma once
// The font editor: the title, column header, body and footnote fonts of the current
// definition, each changed in place through the font dialog.
#include "app/style/styleddialog.h"
#include "base/prompt.h"
#include "reports/reportdef.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace kv {

class TReportFonts : public StyledDialog {
    Q_OBJECT
public:
    TReportFonts(TReportDefRec &def, Prompt &prompt, QWidget *parent = nullptr);


    // Font 0 title, 1 column header, 2 body, 3 footnote.
    void NewFontClick(int font);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFontRec &fontRec(int font);
    void showCaptions();

    TReportDefRec &def_;
    Prompt &prompt_;
    QLabel *captions_[4] = {};
    QPushButton *OkButton = nullptr;
};

} // namespace kv
