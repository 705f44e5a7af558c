#include "exchange/ui/importformat.h"

#include "exchange/import.h"
#include "exchange/ui/myimport.h"
#include "store/catalogue.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kv {

namespace {
constexpr int kDesignWidth = 340;
constexpr int kDesignHeight = 250;

// In the order of EncodingChoice and DialectChoice.
const char *const kEncodings[] = {"Automatic", "UTF-8", "Windows-1252", "DOS 850"};
const char *const kFormats[] = {"Automatic", "Ascii delimited (every field quoted)", "Standard CSV"};
} // namespace

TImportFormat::TImportFormat(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Configure, parent), ws_(workspace)
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
    EncodingBox = new QComboBox(this);
    EncodingBox->setObjectName(QStringLiteral("EncodingBox"));
    for (const char *e : kEncodings)
        EncodingBox->addItem(QString::fromLatin1(e));
    FormatBox = new QComboBox(this);
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    for (const char *f : kFormats)
        FormatBox->addItem(QString::fromLatin1(f));
    auto *reading = new QFormLayout;
    reading->addRow(QStringLiteral("Character &Set"), EncodingBox);
    reading->addRow(QStringLiteral("&Text Format"), FormatBox);
    // A dBASE table has no text format; its character set follows the table unless chosen.
    connect(DbaseButton, &QRadioButton::toggled, FormatBox, [this](bool dbase) { FormatBox->setEnabled(!dbase); });
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
    layout->addLayout(reading);
    layout->addLayout(buttons);
    setFixedSize(kDesignWidth, kDesignHeight);
}

TImportFormat::~TImportFormat() = default;

void TImportFormat::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const Settings &s = ws_.settings();
    (s.importFileType == int(ImportKind::Dbase) ? DbaseButton : AsciiButton)->setChecked(true);
    FormatBox->setEnabled(!DbaseButton->isChecked());
    EncodingBox->setCurrentIndex(std::clamp(s.importEncoding, 0, EncodingBox->count() - 1));
    FormatBox->setCurrentIndex(std::clamp(s.importFormat, 0, FormatBox->count() - 1));
    style();
}

void TImportFormat::done(int result)
{
    Settings &s = ws_.settings();
    s.importFileType = int(DbaseButton->isChecked() ? ImportKind::Dbase : ImportKind::Text);
    s.importEncoding = EncodingBox->currentIndex();
    s.importFormat = FormatBox->currentIndex();
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
    const TextChoice choice{EncodingChoice(EncodingBox->currentIndex()), DialectChoice(FormatBox->currentIndex())};
    FirstLineCheck check;
    if (dbase) {
        if (!hasDbfExtension(path)) {
            ws_.prompt().showError(QString::fromLatin1(kInvalidFileTypeMessage));
            return;
        }
        if (!ws_.attempt([&] {
                names = dbaseFieldNames(path);
                const std::optional<TextEncoding> chosen = chosenEncoding(choice.encoding);
                check.format.encoding = chosen ? *chosen : dbaseEncoding(path);
            }))
            return;
    } else {
        if (!ws_.attempt([&] { check = checkFirstLine(path, choice); }))
            return;
        if (check.code != 0) {
            ws_.prompt().showError(firstLineMessage(check.code));
            return;
        }
        names = check.names;
    }
    TMyImport window(ws_, dbase ? ImportKind::Dbase : ImportKind::Text, path, names, this);
    window.setTextFormat(check.format, choice.encoding != EncodingChoice::Auto || choice.dialect != DialectChoice::Auto);
    window.exec();
    accept();
}

} // namespace kv
