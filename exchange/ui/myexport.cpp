#include "exchange/ui/myexport.h"

#include "exchange/export.h"
#include "exchange/ui/windowprogress.h"
#include "help/help.h"
#include "store/catalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>

namespace kv {

namespace {
constexpr int kDesignWidth = 632;
constexpr int kDesignHeight = 425;
constexpr char kHelpKeyword[] = "Export Window";
constexpr char kNote[] = "To have a field included in the export, select \"Yes\".  To exclude it, select \"No\".  "
                         "Double click on the field to toggle between Yes and No.";
constexpr char kDefaultsQuestion[] = "This will set the order of fields to the program defaults.  Continue?";

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TMyExport::TMyExport(Workspace &workspace, QWidget *parent)
    : QDialog(parent), ws_(workspace), grid_(workspace.settings())
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

    const auto button = [this](const char *name, const char *caption, void (TMyExport::*run)()) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
        return b;
    };
    UpButton = button("UpButton", "&Up", &TMyExport::UpButtonClick);
    DownButton = button("DownButton", "&Down", &TMyExport::DownButtonClick);
    DefaultsButton = button("DefaultsButton", "D&efaults", &TMyExport::DefaultsButtonClick);
    StartButton = button("StartButton", "&Start Export", &TMyExport::StartButtonClick);
    CancelButton = button("CancelButton", "&Cancel", &TMyExport::CancelButtonClick);
    CancelButton->setEnabled(false);
    ExitButton = new QPushButton(QStringLiteral("E&xit"), this);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setAutoDefault(false);
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::reject);
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoDefault(false);
    connect(HelpButton, &QPushButton::clicked, this, [this] { showHelp(this, QLatin1String(kHelpKeyword)); });

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
    auto *howLayout = new QVBoxLayout(how);
    howLayout->addWidget(AsciiButton);
    howLayout->addWidget(DbaseButton);
    howLayout->addWidget(FirstRow);
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
    auto *side = new QVBoxLayout;
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
    showKind();
    showGrid();
    ExportGrid_->setCurrentCell(0, 0);
}

TMyExport::~TMyExport() = default;

void TMyExport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && styler_)
        styler_(this);
}

void TMyExport::showKind()
{
    const bool text = AsciiButton->isChecked();
    FirstRow->setVisible(text);
    FirstRow->setEnabled(text);
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
    const int r = ExportGrid_->currentRow();
    if (grid_.moveUp(r)) {
        showGrid();
        ExportGrid_->setCurrentCell(r - 1, ExportGrid_->currentColumn());
    }
}

void TMyExport::DownButtonClick()
{
    const int r = ExportGrid_->currentRow();
    if (grid_.moveDown(r)) {
        showGrid();
        ExportGrid_->setCurrentCell(r + 1, ExportGrid_->currentColumn());
    }
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
    if (column != 1 || running_)
        return;
    grid_.toggleExport(row);
    showGrid();
}

void TMyExport::storeSettings()
{
    Settings &s = ws_.settings();
    s.exportFileType = int(AsciiButton->isChecked() ? ExportKind::Text : ExportKind::Dbase);
    s.exportFirstRow = FirstRow->isChecked();
    grid_.storeInto(s);
}

void TMyExport::setRunning(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(UpButton), static_cast<QWidget *>(DownButton),
                       static_cast<QWidget *>(DefaultsButton), static_cast<QWidget *>(StartButton),
                       static_cast<QWidget *>(ExitButton), static_cast<QWidget *>(ExportGrid_)})
        w->setEnabled(!on);
    CancelButton->setEnabled(on);
}

void TMyExport::StartButtonClick()
{
    if (running_)
        return;
    storeSettings();
    Settings &s = ws_.settings();
    ExportRequest request;
    request.fields = exportList(s);
    const bool searchResult = SearchButton->isChecked();
    request.kind = AsciiButton->isChecked() ? ExportKind::Text : ExportKind::Dbase;
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
    running_ = &progress;
    setRunning(true);
    bool ok = false;
    {
        WaitCursor wait;
        ok = ws_.attempt([&] { exportRecords(ws_.master(), request, &progress); });
    }
    progress.finish();
    running_ = nullptr;
    setRunning(false);
    if (interrupted) {
        ws_.search().restart();
        ws_.attempt([&] { ws_.master().first(); });
    }
    if (!ok || progress.cancelled())
        return;
    ws_.prompt().showMessage(QStringLiteral("Ok"), QString::fromLatin1(kExportCompleteMessage));
    Gauge->setValue(0);
    accept();
}

void TMyExport::CancelButtonClick()
{
    if (running_)
        running_->cancel();
}

void TMyExport::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && running_) {
        running_->cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMyExport::done(int result)
{
    if (running_) {
        running_->cancel();
        return;
    }
    storeSettings();
    QDialog::done(result);
}

} // namespace kv
