#pragma once
// The Backup window: which kind of file to copy, and the drive and folder to copy it to.
#include "exchange/backupdrives.h"
#include "exchange/ui/backupdialog.h"

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace kv {

class TMyBackup : public ExchangeDialog {
    Q_OBJECT
public:
    explicit TMyBackup(Workspace &workspace, QWidget *parent = nullptr);
    ~TMyBackup() override;

    // The folder chosen in the directory list.
    QString folder() const;
    void setFolder(const QString &folder);

    void StartButtonClick();
    void DriveComboBoxChange(int index);

private:
    void FormShow() override;
    // The chosen folder's branch opened and in view.
    void showCurrentFolder();

    QList<BackupDrive> drives_;
    QGroupBox *WherePanel = nullptr;
    QComboBox *DriveComboBox = nullptr;
    QTreeView *DirectoryList = nullptr;
    QFileSystemModel *folders_ = nullptr;
};

} // namespace kv
