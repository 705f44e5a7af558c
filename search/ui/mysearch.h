#pragma once
// The Search window: a criterion cell per field, typed in levels, and the buttons that
// save, apply and clear them. The rules live in SearchDraft and the workspace's search
// state; the window reads its cells and shows what they decided.
#include "app/style/styleddialog.h"
#include "search/searchdraft.h"

#include <QDialog>
#include <functional>

class QPushButton;
class QTableWidget;

namespace kv {

class Workspace;

class TMySearch : public StyledDialog {
    Q_OBJECT
public:
    explicit TMySearch(Workspace &workspace, QWidget *parent = nullptr);
    ~TMySearch() override;


    const SearchDraft &draft() const { return draft_; }
    // The Search Options dialog of a row (field number), as a click on its button opens it.
    void openOptions(int field);

    void OkButtonClick();
    void FindMoreButtonClick();
    void ClearButtonClick();
    void ExitButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void readCells();
    void showDraft();
    void focusEditor();
    void reenterRow(int row);

    Workspace &ws_;
    SearchDraft draft_;
    QTableWidget *SearchGrid = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *ExitButton = nullptr;
    QPushButton *ClearButton = nullptr;
    QPushButton *FindMoreButton = nullptr;
    QPushButton *HelpButton = nullptr;
};

} // namespace kv
