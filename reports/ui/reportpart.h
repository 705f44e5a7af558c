#pragma once
// The part editor: one part of a line of the layout editor's copy, as a filler, a label
// or a field (a totals entry on the totals line), with its width. Ok re-fits the line.
#include "app/style/styleddialog.h"
#include "base/prompt.h"
#include "reports/reportdef.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kv {

class TReportPart : public StyledDialog {
    Q_OBJECT
public:
    // line: the layout editor's copy of line lineNumber (1 ... 12, or kTotalsLineNumber),
    // changed only by Ok. captions: the 40 field captions. lineWidth: the width chosen in
    // the definition window.
    TReportPart(TLineRec &line, int lineNumber, int part, int lineWidth, const QStringList &captions, Prompt &prompt,
                QWidget *parent = nullptr);


    void OkButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void kindChosen();

    TLineRec &line_;
    int lineNumber_;
    int part_;
    int lineWidth_;
    Prompt &prompt_;
    QLabel *SelectedPart = nullptr;
    QRadioButton *RadioFiller = nullptr;
    QRadioButton *RadioLabel = nullptr;
    QRadioButton *RadioField = nullptr;
    QListWidget *FieldList = nullptr;
    QLineEdit *FieldWidth = nullptr;
    QLineEdit *LabelName = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
