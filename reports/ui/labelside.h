#pragma once
// The label side of the Reports window: the stock buttons with "Define", the
// media-number grid shaped by kind and stock, and the note. Choosing a stock, typing or
// picking a media number goes to the settings at once; View and Print run the sheet.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "reports/labelstock.h"

#include <QWidget>
#include <array>
#include <functional>

class QDialog;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kv {

class TLabelSide : public QWidget {
    Q_OBJECT
public:
    static constexpr char kNote[] = "Double Click on a media number for a list of possible media numbers.";

    explicit TLabelSide(Workspace &workspace, QWidget *parent = nullptr);

    // Where the focus goes after a refused run: the window's Options button.
    void setOptionsButton(QWidget *button) { optionsButton_ = button; }

    // The kind the window has checked; re-shapes the grid.
    void setKind(LabelKind kind);
    LabelKind kind() const { return kind_; }
    LabelStock stock() const;

    // A sheet of labels: 1 print (through the print dialog), 2 view in the preview.
    void DoItLabel(int mode);
    void OptionsClick();
    void DefineButtonClick();
    void MediaListDblClick(int row, int column);

    QGroupBox *LabelTypePanel;
    std::array<QRadioButton *, kLabelStockCount> StockButtons{};
    QPushButton *DefineButton;
    QTableWidget *MediaList;
    QLabel *NoteLabel;

private:
    // The windows it opens (options, dimensions, media picker, status, preview) are run
    // and styled by the dialog it sits in.
    int exec(QDialog &dialog);
    void styleChild(QWidget *window);
    void StockClick(int stock);
    void MediaListChange(int row, int column);
    void showStockNames();
    void showGrid();

    Workspace &ws_;
    QWidget *optionsButton_ = nullptr;
    LabelKind kind_ = LabelKind::Face;
};

} // namespace kv
