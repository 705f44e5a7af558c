#include "exchange/ui/backupwindow.h"

#include "base/paths.h"
#include "exchange/commands/backuprun.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>

namespace kv {

namespace {

const ExchangeDialog::Captions kCaptions{
    "TMyBackup",
    "Backup",
    "What To Back Up",
    {"Current &Database (*.DBF)", "Data &Lists of Current Database (*.0xx)", "Config &File of Current Database (*.INI)",
     "Global &Report Definitions (*.URP)"},
    "&Start Back Up",
};

} // namespace

TMyBackup::TMyBackup(Workspace &workspace, QWidget *parent)
    : ExchangeDialog(workspace, kCaptions, QSize(322, 393), parent)
{
    WherePanel = new QGroupBox(QStringLiteral("Where To Back Up To"), this);
    WherePanel->setObjectName(QStringLiteral("WherePanel"));
    WherePanel->setGeometry(8, 136, 306, 190);
    DriveComboBox = new QComboBox(WherePanel);
    DriveComboBox->setObjectName(QStringLiteral("DriveComboBox"));
    DriveComboBox->setGeometry(12, 22, 282, 24);
    DirectoryList = new QTreeView(WherePanel);
    DirectoryList->setObjectName(QStringLiteral("DirectoryList"));
    DirectoryList->setGeometry(12, 52, 282, 128);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    DirectoryList->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        DirectoryList->hideColumn(column);
    DirectoryList->header()->hide();
    // Folders are read and sorted in the background: the chosen one is shown once its
    // branch is in place.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, &TMyBackup::showCurrentFolder, Qt::QueuedConnection);
    connect(folders_, &QFileSystemModel::layoutChanged, this, &TMyBackup::showCurrentFolder, Qt::QueuedConnection);
    connect(DriveComboBox, &QComboBox::currentIndexChanged, this, &TMyBackup::DriveComboBoxChange);
    connect(StartButton, &QPushButton::clicked, this, &TMyBackup::StartButtonClick);
}

TMyBackup::~TMyBackup() = default;

void TMyBackup::FormShow()
{
    drives_ = backupDrives(programDir());
    const QSignalBlocker quiet(DriveComboBox);
    DriveComboBox->clear();
    for (const BackupDrive &drive : drives_)
        DriveComboBox->addItem(drive.name);
    DriveComboBox->setCurrentIndex(0); // the program folder's
    DriveComboBoxChange(0);
}

void TMyBackup::DriveComboBoxChange(int index)
{
    if (index < 0 || index >= drives_.size())
        return;
    const BackupDrive &drive = drives_[index];
    DirectoryList->setRootIndex(folders_->setRootPath(drive.root));
    setFolder(drive.start);
}

QString TMyBackup::folder() const
{
    const QModelIndex current = DirectoryList->currentIndex();
    return current.isValid() ? folders_->filePath(current) : folders_->rootPath();
}

void TMyBackup::setFolder(const QString &folder)
{
    const QModelIndex index = folders_->index(folder);
    DirectoryList->setCurrentIndex(index);
    showCurrentFolder();
}

void TMyBackup::showCurrentFolder()
{
    const QModelIndex current = DirectoryList->currentIndex();
    for (QModelIndex above = current.parent(); above.isValid(); above = above.parent())
        DirectoryList->expand(above);
    DirectoryList->scrollTo(current);
}

void TMyBackup::StartButtonClick()
{
    const QString target = folder();
    const ExchangeKind chosen = kind();
    run([&](const CopyControl &control) { return backUp(ws_, chosen, target, control); });
}

} // namespace kv
