#pragma once
// The list editor: one pick list's entries to add to, delete from and sort, made for one
// use by the main window's "List Maintenance" items. Its rules live in the edit logic
// (ListEdit); the window shows the working copy and hands on the clicks.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "edit/listeditor.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

class TMyEditBox : public StyledDialog {
    Q_OBJECT
public:
    // entries: what the editor starts with: the edit window's entries of a catalogue list,
    // the lines of a program-wide list's file.
    TMyEditBox(Workspace &workspace, int listNumber, const QStringList &entries, QWidget *parent = nullptr);
    ~TMyEditBox() override;


    const ListEdit &working() const { return edit_; }

    void AddButtonClick();
    void DeleteButtonClick();
    void SortButtonClick();
    void OkButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void showSelection();

    Workspace &ws_;
    ListEdit edit_;
    QLineEdit *AddInfo = nullptr;
    QPushButton *AddButton = nullptr;
    QListWidget *TheList = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *SortButton = nullptr;
};

} // namespace kv
