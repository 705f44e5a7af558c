#pragma once
// The Oscar dialog: the entries of the Oscar names or the miscellaneous list in
// alphabetical order, any number of them selected, for one of the edit window's three
// "Select" buttons. Its rules live in the edit logic (oscaritems.h).
#include "app/style/styleddialog.h"
#include "edit/oscaritems.h"

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;

namespace kv {

class TMyOscarAward : public StyledDialog {
    Q_OBJECT
public:
    // entries: the mode's list as read from its file; targetText: the text of the box
    // the result goes to (mode 3 starts with its items selected).
    TMyOscarAward(OscarMode mode, const QStringList &entries, const QString &targetText, QWidget *parent = nullptr);
    ~TMyOscarAward() override;


    // The user fonts, the screen size and the middle of the screen; the dialog keeps its
    // own colours.
    void style() override;

    OscarMode mode() const { return mode_; }
    // The text for the target box, once Ok has been pressed.
    QString result() const { return result_; }

    void OkButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    OscarMode mode_;
    OscarChoice choice_;
    QString result_;
    QListWidget *OscarList = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
