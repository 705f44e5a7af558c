#include "exchange/ui/myimport.h"

#include "exchange/ui/windowprogress.h"
#include "help/help.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

namespace kv {

namespace {
constexpr int kDesignWidth = 622;
constexpr int kDesignHeight = 425;
constexpr char kHelpKeyword[] = "Import Window";
constexpr char kExplanation[] =
    "Use the \"Up\" and \"Down\" buttons to match up the Kestrova fields with the Import Fields.  Select \"Yes\"  to "
    "include it.  Double click on the \"USE\" field to toggle between Yes and No.";

QStringList captionsOf(const Settings &s)
{
    QStringList out;
    for (int n = 1; n <= kFieldCount; ++n)
        out << s.field(n).caption;
    return out;
}

// The hourglass while the work runs.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TMyImport::TMyImport(Workspace &workspace, ImportKind kind, const QString &path, const QStringList &importNames,
                     QWidget *parent)
    : QDialog(parent), ws_(workspace), kind_(kind), path_(path), names_(importNames),
      grid_(captionsOf(workspace.settings()), importNames)
{
    setObjectName(QStringLiteral("MyImport"));
    setWindowTitle(kind == ImportKind::Dbase ? QStringLiteral("DBase File Import")
                                             : QStringLiteral("Ascii Delimited Text Import"));
    setHelpKeyword(this, QLatin1String(kHelpKeyword));

    ImportGrid_ = new QTableWidget(grid_.rowCount(), 3, this);
    ImportGrid_->setObjectName(QStringLiteral("ImportGrid"));
    ImportGrid_->setHorizontalHeaderLabels({QStringLiteral("KESTROVA FIELDS"), QStringLiteral("IMPORT FIELDS"),
                                            QStringLiteral("USE")});
    ImportGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ImportGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ImportGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    ImportGrid_->verticalHeader()->hide();
    ImportGrid_->setColumnWidth(0, 179);
    ImportGrid_->setColumnWidth(1, 179);
    ImportGrid_->setColumnWidth(2, 38);
    ImportGrid_->setFixedWidth(400 + 20);
    connect(ImportGrid_, &QTableWidget::cellDoubleClicked, this, &TMyImport::ImportGridDblClick);

    const auto button = [this](const char *name, const char *caption, void (TMyImport::*run)()) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
        return b;
    };
    UpButton = button("UpButton", "&Up", &TMyImport::UpButtonClick);
    DownButton = button("DownButton", "&Down", &TMyImport::DownButtonClick);
    StartButton = button("StartButton", "&Start Import", &TMyImport::StartButtonClick);
    CancelButton = button("CancelButton", "&Cancel", &TMyImport::CancelButtonClick);
    ExitButton = new QPushButton(QStringLiteral("E&xit"), this);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setAutoDefault(false);
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::reject);
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoDefault(false);
    connect(HelpButton, &QPushButton::clicked, this, [this] { showHelp(this, QLatin1String(kHelpKeyword)); });
    CancelButton->setEnabled(false);

    SkipFirst = new QCheckBox(QStringLiteral("Skip First Record"), this);
    SkipFirst->setObjectName(QStringLiteral("SkipFirst"));
    SkipFirst->setChecked(ws_.settings().importSkipFirst);
    SkipFirst->setVisible(kind == ImportKind::Text);
    SkipFirst->setEnabled(kind == ImportKind::Text);
    auto *explanation = new QLabel(QString::fromLatin1(kExplanation), this);
    explanation->setObjectName(QStringLiteral("Explanation"));
    explanation->setWordWrap(true);
    auto *importLabel = new QLabel(QStringLiteral("Import"), this);
    auto *countTitle = new QLabel(QStringLiteral("Count"), this);
    CountLabel = new QLabel(QStringLiteral("0"), this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    CountLabel->setMinimumWidth(90);

    auto *side = new QGridLayout;
    side->addWidget(UpButton, 0, 0);
    side->addWidget(DownButton, 0, 1);
    side->addWidget(SkipFirst, 1, 0, 1, 2);
    side->addWidget(explanation, 2, 0, 1, 2);
    side->addWidget(importLabel, 3, 0);
    side->addWidget(countTitle, 4, 0);
    side->addWidget(CountLabel, 4, 1);
    side->addWidget(StartButton, 5, 0);
    side->addWidget(CancelButton, 5, 1);
    side->addWidget(ExitButton, 6, 0);
    side->addWidget(HelpButton, 6, 1);
    side->setRowStretch(2, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(ImportGrid_);
    layout->addLayout(side);
    setFixedSize(kDesignWidth, kDesignHeight);
    showGrid();
    ImportGrid_->setCurrentCell(0, 1);
}

TMyImport::~TMyImport() = default;

void TMyImport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && styler_)
        styler_(this);
}

void TMyImport::showGrid()
{
    for (int r = 0; r < grid_.rowCount(); ++r) {
        const ImportGrid::Row &row = grid_.row(r);
        const QString cells[] = {row.kestrovaField, row.importField, row.use};
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem *item = ImportGrid_->item(r, c);
            if (!item)
                ImportGrid_->setItem(r, c, item = new QTableWidgetItem);
            item->setText(cells[c]);
        }
    }
}

void TMyImport::UpButtonClick()
{
    const int r = ImportGrid_->currentRow();
    if (grid_.moveUp(r)) {
        showGrid();
        ImportGrid_->setCurrentCell(r - 1, ImportGrid_->currentColumn());
    }
}

void TMyImport::DownButtonClick()
{
    const int r = ImportGrid_->currentRow();
    if (grid_.moveDown(r)) {
        showGrid();
        ImportGrid_->setCurrentCell(r + 1, ImportGrid_->currentColumn());
    }
}

void TMyImport::ImportGridDblClick(int row, int column)
{
    if (column != 2 || running_)
        return;
    grid_.toggleUse(row);
    showGrid();
}

void TMyImport::setRunning(bool on)
{
    for (QWidget *w : {static_cast<QWidget *>(UpButton), static_cast<QWidget *>(DownButton),
                       static_cast<QWidget *>(StartButton), static_cast<QWidget *>(ExitButton),
                       static_cast<QWidget *>(ImportGrid_), static_cast<QWidget *>(SkipFirst)})
        w->setEnabled(!on && (w != SkipFirst || kind_ == ImportKind::Text));
    CancelButton->setEnabled(on);
}

void TMyImport::StartButtonClick()
{
    if (running_)
        return;
    ImportRequest request;
    request.kind = kind_;
    request.path = path_;
    request.map = grid_.fieldMap();
    request.fieldCount = int(names_.size());
    request.skipFirst = kind_ == ImportKind::Text && SkipFirst->isChecked();
    WindowProgress progress([this](qint64 done) { CountLabel->setText(QString::number(done)); });
    running_ = &progress;
    setRunning(true);
    ImportResult result;
    bool ok = false;
    {
        WaitCursor wait;
        ok = ws_.attempt([&] { result = importRecords(ws_.master(), request, &progress); });
    }
    running_ = nullptr;
    setRunning(false);
    progress.finish();
    ws_.announceCount();
    if (!ok)
        return;
    if (!result.stopped) {
        ws_.prompt().showMessage(QStringLiteral("Ok"), QString::fromLatin1(kImportCompleteMessage));
        accept();
    }
}

void TMyImport::CancelButtonClick()
{
    if (running_)
        running_->cancel();
}

void TMyImport::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && running_) {
        running_->cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMyImport::done(int result)
{
    if (running_) {
        // Closing while the records come in stops them first.
        running_->cancel();
        return;
    }
    ws_.settings().importSkipFirst = SkipFirst->isChecked();
    QDialog::done(result);
}

} // namespace kv
