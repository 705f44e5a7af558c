#pragma once
// The edit window: one record at a time over four pages, created once at start-up and
// shown modally by the main window's Add, Edit and Copy. Its rules live in the edit
// logic; the window reads its boxes into a RecordForm and shows what the logic says.
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "edit/editsteps.h"
#include "edit/oscaritems.h"
#include "edit/recordform.h"

#include <QDialog>
#include <functional>
#include <map>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTabWidget;

namespace kv {

class TMyEdit : public StyledDialog {
    Q_OBJECT
public:
    explicit TMyEdit(Workspace &workspace, QWidget *parent = nullptr);
    ~TMyEdit() override;


    // Set by the main window before it shows the window.
    void setEditMode(EditMode mode) { mode_ = mode; }
    EditMode editMode() const { return mode_; }

    // What the boxes hold, and putting values into them (as typing would, without the
    // check-out box action).
    RecordForm form() const;
    void setForm(const RecordForm &form);
    QWidget *box(int field) const { return boxes_.at(field); }
    int currentPage() const;

    // Commands of the window.
    bool DoUpdate();
    void DoAnUpdate();
    void DoUpdateAndExit();
    void DoClear();
    void DoExit();
    void DoPreviousRecord();
    void DoNextRecord();
    void MenuNewClick();
    void MenuCopyRecordClick();
    // Prints the record on screen, as typed, after the print dialog.
    void MenuPrintRecordClick();
    // The "Select" buttons: the Oscar dialog for the box beside them; Ok puts its result
    // into the box (the record is written by a later update).
    void SelectOscarAwardClick() { selectItems(OscarMode::Awards); }
    void SelectOscarNomClick() { selectItems(OscarMode::Nominations); }
    void SelectMiscClick() { selectItems(OscarMode::Miscellaneous); }

    void LoadInData();
    void SaveValues();
    bool ValuesChanged() const;
    void SetCaptions();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public Q_SLOTS:
    // However the window closes, the pick lists are saved.
    void done(int result) override;

private:
    void buildPages();
    void buildButtons();
    void buildMenus();
    void FormShow();
    void SetColors();
    void CheckOutClick(bool ticked);
    void moveTo(Step step);
    void focusBox(int field);
    void focusNextInOrder(QWidget *from);
    void fillDropDowns(int listNumber);
    void selectItems(OscarMode mode);

    Workspace &ws_;
    EditMode mode_ = EditMode::Add;
    RecordForm snapshot_;
    CheckOutStash stash_;
    QMenuBar *menuBar_ = nullptr;
    QTabWidget *Notebook = nullptr;
    std::map<int, QWidget *> boxes_; // by field number
    std::map<int, QLabel *> labels_; // by field number
    QLabel *WarrantyItem = nullptr;
    QLabel *LibraryItem = nullptr;
    QLabel *WorthItem = nullptr;
    std::map<QString, QPushButton *> buttons_;
    std::map<QString, QAction *> items_;
};

} // namespace kv
