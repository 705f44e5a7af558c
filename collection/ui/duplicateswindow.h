#pragma once
// The Duplicates window: the groups of records entered twice among the records the viewer
// shows; the chosen record opens in the edit window, the checked ones can be deleted.
#include "collection/duplicates.h"

#include "app/style/styleddialog.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kv {

class Workspace;

inline constexpr char kDuplicatesCaption[] = "Duplicates";
inline constexpr char kNoDuplicates[] = "No duplicate records were found.";

class TDuplicates : public StyledDialog {
    Q_OBJECT
public:
    // editCurrent shows the master table's current record in the edit window.
    TDuplicates(Workspace &workspace, std::function<void()> editCurrent, QWidget *parent = nullptr);

    const std::vector<DuplicateGroup> &groups() const { return groups_; }
    QTreeWidget *tree() const { return GroupTree; }
    // Checks or unchecks the rows of a record in every group it is listed in.
    void setChecked(std::uint32_t recno, bool on);

    void RefreshButtonClick();
    void EditButtonClick();
    void DeleteButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::vector<std::uint32_t> checkedRecords() const;
    std::uint32_t chosenRecord() const;
    // Makes the record the master table's current one; false when it is not shown.
    bool makeCurrent(std::uint32_t recno);

    Workspace &ws_;
    std::function<void()> editCurrent_;
    std::vector<DuplicateGroup> groups_;
    QLabel *SummaryLabel = nullptr;
    QTreeWidget *GroupTree = nullptr;
    QPushButton *EditButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *RefreshButton = nullptr;
    QPushButton *CloseButton = nullptr;
};

} // namespace kv
