#pragma once
// The Viewer Configuration dialog: six pages of the catalogue's viewer look (title row,
// grid options, shown fields, widths, order, captions). The options change at once;
// the four field pages are taken over when the dialog closes, which it refuses while two
// fields would have the same caption.
#include "app/workspace/workspace.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace kv {

class TViewConfig : public QDialog {
    Q_OBJECT
public:
    explicit TViewConfig(Workspace &workspace, QWidget *parent = nullptr);

    // Exit, Escape and the window's close button: the closing rules, or the refusal.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void DisplayGridDblClick(int row, int column);
    void UpButtonClick();
    void DownButtonClick();
    void DefaultsButtonClick();
    void HelpButtonClick();

private:
    void buildTitlePage();
    void buildLookPage();
    void buildShowPage();
    void buildWidthsPage();
    void buildOrderPage();
    void buildNamesPage();
    // A font's title, the text naming it and "New &Font"; a colour's title, its sample
    // and "New &Color": two rows of a page's grid from the given row on.
    QLineEdit *addFontRow(QGridLayout *grid, int row, const char *prefix, const char *title, FontRole role);
    QFrame *addColorRow(QGridLayout *grid, int row, const char *prefix, const char *title, const char *dialogTitle,
                        QColor Settings::*color);
    void FormShow();
    void showFonts();
    void showColors();
    void fillGrids();
    void sizeGrids(double factor);
    void moveOrderRow(int step);
    void fillOrderList(const QStringList &rows);
    bool FormCloseQuery();

    Workspace &ws_;
    Settings &settings_;
    int designRowHeight_ = 0;

    QTabWidget *PageControl = nullptr;
    QWidget *TitlePage = nullptr;
    QWidget *LookPage = nullptr;
    QWidget *ShowPage = nullptr;
    QWidget *WidthsPage = nullptr;
    QWidget *OrderPage = nullptr;
    QWidget *NamesPage = nullptr;

    QCheckBox *ShowTitlesBox = nullptr;
    QLineEdit *TitleFontText = nullptr;
    QFrame *TitleColorSample = nullptr;
    QRadioButton *LeftJustifyButton = nullptr;
    QRadioButton *CenterButton = nullptr;
    QRadioButton *RightJustifyButton = nullptr;

    QCheckBox *ColumnLinesBox = nullptr;
    QCheckBox *RowLinesBox = nullptr;
    QCheckBox *RowIndicatorBox = nullptr;
    QCheckBox *FieldEditingBox = nullptr;
    QFrame *CellColorSample = nullptr;
    QLineEdit *CellFontText = nullptr;

    QTableWidget *DisplayGrid = nullptr;
    QTableWidget *WidthGrid = nullptr;
    QListWidget *OrderList = nullptr;
    QTableWidget *NameGrid = nullptr;

    QPushButton *ExitButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
