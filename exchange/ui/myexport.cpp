#include "exchange/ui/myexport.h"

#include "exchange/export.h"
#include "exchange/ui/windowprogress.h"
#include "help/help.h"
#include "store/catalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace kv {

namespace {
constexpr int kDesignWidth = 632;
constexpr int kDesignHeight = 425;
constexpr char kHelpKeyword[] = "Export Window";
constexpr char kNote[] = "To have a field included in the export, select \"Yes\".  To exclude it, select \"No\".  "
                         "Double click on the field to toggle between Yes and No.";
constexpr char kDefaultsQuestion[] = "This will set the order of fields to the program defaults.  Continue?";
// The character sets of a text export, in the order of the "Encoding" setting (1 ... 3).
const char *const kEncodings[] = {"UTF-8 (for spreadsheets)", "Windows-1252", "DOS 850"};
const kv::TextEncoding kEncodingValues[] = {kv::TextEncoding::Utf8, kv::TextEncoding::Cp1252, kv::TextEncoding::Cp850};
} // namespace

TMyExport::TMyExport(Workspace &workspace, QWidget *parent)
    : ExchangeWindow(workspace, parent), grid_(workspace.settings())
{
    setObjectName(QStringLiteral("MyExport"));
    setWindowTitle(QStringLiteral("Export"));
    setHelpKeyword(this, QLatin1String(kHelpKeyword));

    ExportGrid_ = new QTableWidget(grid_.rowCount(), 2, this);
    ExportGrid_->setObjectName(QStringLiteral("ExportGrid"));
    ExportGrid_->setHorizontalHeaderLabels({QStringLiteral("FIELD"), QStringLiteral("EXPORT IT")});
    ExportGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ExportGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ExportGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    ExportGrid_->verticalHeader()->hide();
    ExportGrid_->setColumnWidth(0, 200);
    ExportGrid_->setColumnWidth(1, 100);
    ExportGrid_->setFixedWidth(300 + 20);
    connect(ExportGrid_, &QTableWidget::cellDoubleClicked, this, &TMyExport::ExportGridDblClick);

    UpButton = addButton("UpButton", "&Up", [this] { UpButtonClick(); });
    DownButton = addButton("DownButton", "&Down", [this] { DownButtonClick(); });
    DefaultsButton = addButton("DefaultsButton", "D&efaults", [this] { DefaultsButtonClick(); });
    StartButton = addButton("StartButton", "&Start Export", [this] { StartButtonClick(); });
    ExitButton = addButton("ExitButton", "E&xit", [this] { reject(); });
    HelpButton = addButton("HelpButton", "&Help", [this] { showHelp(this, QLatin1String(kHelpKeyword)); });

    auto *what = new QGroupBox(QStringLiteral("What to Export"), this);
    EntireButton = new QRadioButton(QStringLiteral("Export Entire Database"), what);
    EntireButton->setObjectName(QStringLiteral("EntireButton"));
    SearchButton = new QRadioButton(QStringLiteral("Export Search Criteria"), what);
    SearchButton->setObjectName(QStringLiteral("SearchButton"));
    auto *whatLayout = new QVBoxLayout(what);
    whatLayout->addWidget(EntireButton);
    whatLayout->addWidget(SearchButton);
    auto *how = new QGroupBox(QStringLiteral("How To Export"), this);
    AsciiButton = new QRadioButton(QStringLiteral("Ascii Delimited Text File"), how);
    AsciiButton->setObjectName(QStringLiteral("AsciiButton"));
    DbaseButton = new QRadioButton(QStringLiteral("DBase File (DBF)"), how);
    DbaseButton->setObjectName(QStringLiteral("DbaseButton"));
    FirstRow = new QCheckBox(QStringLiteral("&First Record Contains Field Names"), how);
    FirstRow->setObjectName(QStringLiteral("FirstRow"));
    EncodingBox = new QComboBox(how);
    EncodingBox->setObjectName(QStringLiteral("EncodingBox"));
    for (const char *e : kEncodings)
        EncodingBox->addItem(QString::fromLatin1(e));
    auto *encodingRow = new QHBoxLayout;
    encodingRow->addWidget(new QLabel(QStringLiteral("Character Set"), how));
    encodingRow->addWidget(EncodingBox, 1);
    auto *howLayout = new QVBoxLayout(how);
    howLayout->addWidget(AsciiButton);
    howLayout->addWidget(DbaseButton);
    howLayout->addWidget(FirstRow);
    howLayout->addLayout(encodingRow);
    connect(AsciiButton, &QRadioButton::toggled, this, [this] { showKind(); });

    auto *notes = new QGroupBox(QStringLiteral("NOTES"), this);
    auto *note = new QLabel(QString::fromLatin1(kNote), notes);
    note->setWordWrap(true);
    (new QVBoxLayout(notes))->addWidget(note);
    auto *progressTitle = new QLabel(QStringLiteral("Export Progress"), this);
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setTextVisible(false);
    QPalette red = Gauge->palette();
    red.setColor(QPalette::Highlight, Qt::red);
    Gauge->setPalette(red);
    Gauge->setValue(0);

    auto *order = new QGridLayout;
    order->addWidget(new QLabel(QStringLiteral("Field"), this), 0, 0);
    order->addWidget(new QLabel(QStringLiteral("Ordering"), this), 0, 1);
    order->addWidget(UpButton, 1, 0);
    order->addWidget(DownButton, 1, 1);
    order->addWidget(DefaultsButton, 1, 2);
    auto *buttons = new QGridLayout;
    buttons->addWidget(StartButton, 0, 0);
    buttons->addWidget(CancelButton, 0, 1);
    buttons->addWidget(ExitButton, 1, 0);
    buttons->addWidget(HelpButton, 1, 1);
    for (QGroupBox *group : {notes, what, how}) {
        group->layout()->setContentsMargins(6, 2, 6, 2);
        group->layout()->setSpacing(0);
    }
    auto *side = new QVBoxLayout;
    side->setSpacing(4);
    side->addWidget(notes);
    side->addLayout(order);
    side->addWidget(what);
    side->addWidget(how);
    side->addWidget(progressTitle);
    side->addWidget(Gauge);
    side->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(ExportGrid_);
    layout->addLayout(side);
    setFixedSize(kDesignWidth, kDesignHeight);

    const bool searching = ws_.search().isOn();
    SearchButton->setEnabled(searching);
    (searching ? SearchButton : EntireButton)->setChecked(true);
    (ws_.settings().exportFileType == int(ExportKind::Dbase) ? DbaseButton : AsciiButton)->setChecked(true);
    FirstRow->setChecked(ws_.settings().exportFirstRow);
    EncodingBox->setCurrentIndex(std::clamp(ws_.settings().exportEncoding - 1, 0, EncodingBox->count() - 1));
    showKind();
    showGrid();
    ExportGrid_->setCurrentCell(0, 0);
}

TMyExport::~TMyExport() = default;

void TMyExport::showKind()
{
    const bool text = AsciiButton->isChecked();
    FirstRow->setVisible(text);
    FirstRow->setEnabled(text);
    EncodingBox->setEnabled(text);
}

void TMyExport::showGrid()
{
    for (int r = 0; r < grid_.rowCount(); ++r) {
        const QString cells[] = {grid_.row(r).field, grid_.row(r).exportIt};
        for (int c = 0; c < 2; ++c) {
            QTableWidgetItem *item = ExportGrid_->item(r, c);
            if (!item)
                ExportGrid_->setItem(r, c, item = new QTableWidgetItem);
            item->setText(cells[c]);
        }
    }
}

void TMyExport::UpButtonClick()
{
    if (moveCurrentRow(ExportGrid_, -1, [this](int r) { return grid_.moveUp(r); }))
        showGrid();
}

void TMyExport::DownButtonClick()
{
    if (moveCurrentRow(ExportGrid_, 1, [this](int r) { return grid_.moveDown(r); }))
        showGrid();
}

void TMyExport::DefaultsButtonClick()
{
    if (!ws_.prompt().askYesNo(QStringLiteral("Re-Order"), QString::fromLatin1(kDefaultsQuestion)))
        return;
    grid_.setDefaults(ws_.settings());
    showGrid();
}

void TMyExport::ExportGridDblClick(int row, int column)
{
    if (column != 1 || running())
        return;
    grid_.toggleExport(row);
    showGrid();
}

void TMyExport::storeSettings()
{
    Settings &s = ws_.settings();
    s.exportFileType = int(AsciiButton->isChecked() ? ExportKind::Text : ExportKind::Dbase);
    s.exportFirstRow = FirstRow->isChecked();
    s.exportEncoding = EncodingBox->currentIndex() + 1;
    grid_.storeInto(s);
}

QList<QWidget *> TMyExport::lockedWhileRunning() const
{
    return {UpButton, DownButton, DefaultsButton, StartButton, ExitButton, ExportGrid_};
}

void TMyExport::StartButtonClick()
{
    if (running())
        return;
    storeSettings();
    Settings &s = ws_.settings();
    ExportRequest request;
    request.fields = exportList(s);
    const bool searchResult = SearchButton->isChecked();
    request.kind = AsciiButton->isChecked() ? ExportKind::Text : ExportKind::Dbase;
    request.encoding = kEncodingValues[std::clamp(EncodingBox->currentIndex(), 0, 2)];
    if (request.fields.isEmpty()) {
        ws_.prompt().showError(QString::fromLatin1(kNoFieldsMessage));
        return;
    }
    const bool text = request.kind == ExportKind::Text;
    FileDialogSpec spec;
    spec.title = QStringLiteral("Export Data");
    spec.filter = text ? QStringLiteral("Ascii Delimited Text (*.TXT)|*.TXT") : QStringLiteral("DBase (*.DBF)|*.DBF");
    spec.defaultExtension = text ? QStringLiteral("TXT") : QStringLiteral("DBF");
    spec.initialPath = s.lastExportFile;
    spec.confirmOverwrite = true;
    request.path = ws_.prompt().saveFileName(spec);
    if (request.path.isEmpty())
        return;
    if (!text && !hasDbfExtension(request.path)) {
        ws_.prompt().showError(QString::fromLatin1(kInvalidFileTypeMessage));
        return;
    }
    s.lastExportFile = request.path;
    if (text && s.exportFirstRow)
        for (int n : request.fields)
            request.titles << exportTitle(s, n);

    // The whole catalogue: the search is ended for the export and comes back after it.
    const bool interrupted = !searchResult && ws_.search().isOn();
    if (interrupted)
        ws_.search().end();
    Gauge->setRange(0, std::max(ws_.recordCount(), 1));
    Gauge->setValue(0);
    WindowProgress progress([this](qint64 done) { Gauge->setValue(int(done)); });
    qint64 replaced = 0;
    const bool ok = run(progress, [&] { exportRecords(ws_.master(), request, &progress, &replaced); });
    if (interrupted) {
        ws_.search().restart();
        ws_.attempt([&] { ws_.master().first(); });
    }
    if (!ok || progress.cancelled())
        return;
    ws_.prompt().showMessage(QStringLiteral("Ok"), exportCompleteMessage(replaced));
    Gauge->setValue(0);
    accept();
}

} // namespace kv
