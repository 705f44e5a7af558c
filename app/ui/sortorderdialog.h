#pragma once
// The Sort Order dialog: up to four fields that order the catalogue, from the
// fields' captions; Ok makes them the catalogue's order through the catalogue commands.
#include "app/workspace/cataloguesession.h"

#include <QDialog>
#include <array>

class QComboBox;
class QPushButton;

namespace kv {

class TMySortOrder : public QDialog {
    Q_OBJECT
public:
    TMySortOrder(Workspace &workspace, CatalogueSession &catalogues, QWidget *parent = nullptr);

    // The field numbers chosen in the four lists, primary first; 0 for "<NONE>".
    SortLevels selectedLevels() const;

protected:
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    void OkButtonClick();
    void CancelButtonClick();

private:
    void FormShow();
    std::array<QComboBox *, kSortLevelCount> levelLists() const;

    Workspace &ws_;
    CatalogueSession &catalogues_;
    QComboBox *PrimarySort = nullptr;
    QComboBox *SecondarySort = nullptr;
    QComboBox *ThirdLevelSort = nullptr;
    QComboBox *FourthLevelSort = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
