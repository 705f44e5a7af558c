#include "exchange/ui/importformat.h"

#include "exchange/import.h"
#include "exchange/ui/myimport.h"
#include "store/catalogue.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kv {

namespace {
constexpr int kDesignWidth = 300;
constexpr int kDesignHeight = 170;
} // namespace

TImportFormat::TImportFormat(Workspace &workspace, QWidget *parent) : QDialog(parent), ws_(workspace)
{
    setObjectName(QStringLiteral("ImportFormat"));
    setWindowTitle(QStringLiteral("Import Format"));
    auto *group = new QGroupBox(QStringLiteral("File Type"), this);
    AsciiButton = new QRadioButton(QStringLiteral("Ascii Delimited File"), group);
    AsciiButton->setObjectName(QStringLiteral("AsciiButton"));
    DbaseButton = new QRadioButton(QStringLiteral("DBase File (DBF)"), group);
    DbaseButton->setObjectName(QStringLiteral("DbaseButton"));
    auto *types = new QVBoxLayout(group);
    types->addWidget(AsciiButton);
    types->addWidget(DbaseButton);
    SelectFileButton = new QPushButton(QStringLiteral("Select &File"), this);
    SelectFileButton->setObjectName(QStringLiteral("SelectFileButton"));
    SelectFileButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(SelectFileButton, &QPushButton::clicked, this, &TImportFormat::SelectFileButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SelectFileButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(kDesignWidth, kDesignHeight);
}

TImportFormat::~TImportFormat() = default;

void TImportFormat::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    (ws_.settings().importFileType == int(ImportKind::Dbase) ? DbaseButton : AsciiButton)->setChecked(true);
    if (styler_)
        styler_(this);
}

void TImportFormat::done(int result)
{
    ws_.settings().importFileType = int(DbaseButton->isChecked() ? ImportKind::Dbase : ImportKind::Text);
    QDialog::done(result);
}

void TImportFormat::SelectFileButtonClick()
{
    const bool dbase = DbaseButton->isChecked();
    FileDialogSpec spec;
    spec.title = QStringLiteral("Import Data");
    spec.filter = dbase ? QStringLiteral("DBase  (*.DBF)|*.DBF") : QStringLiteral("Ascii Delimited Text (*.TXT)|*.TXT");
    spec.defaultExtension = dbase ? QStringLiteral("DBF") : QStringLiteral("TXT");
    spec.initialPath = ws_.settings().lastImportFile;
    spec.mustExist = true;
    const QString path = ws_.prompt().openFileName(spec);
    if (path.isEmpty())
        return;
    ws_.settings().lastImportFile = path;
    QStringList names;
    if (dbase) {
        if (!hasDbfExtension(path)) {
            ws_.prompt().showError(QString::fromLatin1(kInvalidFileTypeMessage));
            return;
        }
        if (!ws_.attempt([&] { names = dbaseFieldNames(path); }))
            return;
    } else {
        FirstLineCheck check;
        if (!ws_.attempt([&] { check = checkFirstLine(path); }))
            return;
        if (check.code != 0) {
            ws_.prompt().showError(firstLineMessage(check.code));
            return;
        }
        names = check.names;
    }
    TMyImport window(ws_, dbase ? ImportKind::Dbase : ImportKind::Text, path, names, this);
    window.setStyler(importStyler_);
    window.exec();
    accept();
}

} // namespace kv
