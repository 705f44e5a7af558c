#pragma once
// The report definition window: a new definition or one of the definitions file, with
// its name, width, fonts, titles, options, line count and margins; Update saves it
// through the definitions file, Delete removes it, Specify opens the layout editor.
// The Reports window opens it and, when it was accepted, reloads its list and selects
// writtenIndex() (nothing to select after a delete).
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "reports/reportfile.h"
#include "reports/userreport.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv {

class TUserReport : public StyledDialog {
    Q_OBJECT
public:
    static constexpr int kNewReport = -1;

    // current: the program's current definition, which the window edits in place. index:
    // the record to modify, or kNewReport for a new definition.
    TUserReport(Workspace &workspace, ReportFile &file, TReportDefRec &current, int index = kNewReport,
                QWidget *parent = nullptr);
    ~TUserReport() override;


    enum class Change { None, Written, Deleted };
    Change change() const { return change_; }
    int writtenIndex() const { return edit_.writtenIndex(); }
    const ReportDefinitionEdit &edit() const { return edit_; }

    void UpdateButtonClick();
    void DeleteButtonClick();
    void SpecifyButtonClick();
    void SetFontsClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void FormShow();
    void widthClicked(int width);
    void lineCountLeft();
    void marginLeft(QLineEdit *box);
    void nameLeft();
    void showFontCaptions();
    void showLevel2();
    QRadioButton *widthButton(int width) const;
    DefinitionForm form() const;

    Workspace &ws_;
    ReportFile &file_;
    ReportDefinitionEdit edit_;
    Change change_ = Change::None;

    QLineEdit *ReportName = nullptr;
    QRadioButton *Chars90 = nullptr;
    QRadioButton *Chars120 = nullptr;
    QRadioButton *Chars150 = nullptr;
    QLabel *TitleLineFont = nullptr;
    QLabel *ColumnHeaderFont = nullptr;
    QLabel *RepBodyDataFont = nullptr;
    QLabel *FootnoteFont = nullptr;
    QPushButton *SetFonts = nullptr;
    QLineEdit *Title1 = nullptr;
    QLineEdit *Title2 = nullptr;
    QLineEdit *Title3 = nullptr;
    QCheckBox *Level1Group = nullptr;
    QCheckBox *Level2Group = nullptr;
    QCheckBox *ColumnHeaders = nullptr;
    QCheckBox *HorzLines = nullptr;
    QCheckBox *VertLines = nullptr;
    QCheckBox *DateOnPage = nullptr;
    QCheckBox *PageNumbers = nullptr;
    QCheckBox *LandOrient = nullptr;
    QLineEdit *NumLines = nullptr;
    QCheckBox *UseTotals = nullptr;
    QPushButton *SpecifyButton = nullptr;
    QLineEdit *TopMargin = nullptr;
    QLineEdit *BottomMargin = nullptr;
    QLineEdit *LeftMargin = nullptr;
    QLineEdit *RightMargin = nullptr;
    QPushButton *UpdateButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
