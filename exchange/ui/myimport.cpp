#include "exchange/ui/myimport.h"

#include "app/workspace/records.h"
#include "exchange/ui/windowprogress.h"
#include "help/help.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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
} // namespace

TMyImport::TMyImport(Workspace &workspace, ImportKind kind, const QString &path, const QStringList &importNames,
                     QWidget *parent)
    : ExchangeWindow(workspace, parent), kind_(kind), path_(path), names_(importNames),
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

    UpButton = addButton("UpButton", "&Up", [this] { UpButtonClick(); });
    DownButton = addButton("DownButton", "&Down", [this] { DownButtonClick(); });
    MatchNamesButton = addButton("MatchNamesButton", "Match &Names", [this] { MatchNamesButtonClick(); });
    StartButton = addButton("StartButton", "&Start Import", [this] { StartButtonClick(); });
    ExitButton = addButton("ExitButton", "E&xit", [this] { reject(); });
    HelpButton = addButton("HelpButton", "&Help", [this] { showHelp(this, QLatin1String(kHelpKeyword)); });

    SkipFirst = new QCheckBox(QStringLiteral("Skip First Record"), this);
    SkipFirst->setObjectName(QStringLiteral("SkipFirst"));
    SkipFirst->setChecked(ws_.settings().importSkipFirst);
    SkipFirst->setVisible(kind == ImportKind::Text);
    SkipFirst->setEnabled(kind == ImportKind::Text);
    FoundLabel = new QLabel(this);
    FoundLabel->setObjectName(QStringLiteral("FoundLabel"));
    FoundLabel->setWordWrap(true);
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
    side->addWidget(MatchNamesButton, 1, 0, 1, 2);
    side->addWidget(SkipFirst, 2, 0, 1, 2);
    side->addWidget(FoundLabel, 3, 0, 1, 2);
    side->addWidget(explanation, 4, 0, 1, 2);
    side->addWidget(importLabel, 5, 0);
    side->addWidget(countTitle, 6, 0);
    side->addWidget(CountLabel, 6, 1);
    side->addWidget(StartButton, 7, 0);
    side->addWidget(CancelButton, 7, 1);
    side->addWidget(ExitButton, 8, 0);
    side->addWidget(HelpButton, 8, 1);
    side->setRowStretch(4, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(ImportGrid_);
    layout->addLayout(side);
    setFixedSize(kDesignWidth, kDesignHeight);
    // A file with the same first line gets the grid it was last imported with.
    const Settings &settings = ws_.settings();
    restored_ = settings.importMapNames == importNamesKey(names_) && grid_.restore(settings.importMap);
    showGrid();
    ImportGrid_->setCurrentCell(0, 1);
    setTextFormat(format_, false);
    formatGiven_ = false;
}

void TMyImport::setTextFormat(const TextFormat &format, bool chosen)
{
    format_ = format;
    formatGiven_ = true;
    const QString how = kind_ == ImportKind::Dbase ? describeTextFormat(format).section(QStringLiteral(", "), -1)
                                                   : describeTextFormat(format);
    FoundLabel->setText((chosen ? QStringLiteral("Read as: %1") : QStringLiteral("Found: %1")).arg(how) +
                        (restored_ ? QStringLiteral("\nFields lined up as last time.") : QString()));
}

void TMyImport::MatchNamesButtonClick()
{
    if (running())
        return;
    grid_.matchNames();
    showGrid();
}

TMyImport::~TMyImport() = default;

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
    if (moveCurrentRow(ImportGrid_, -1, [this](int r) { return grid_.moveUp(r); }))
        showGrid();
}

void TMyImport::DownButtonClick()
{
    if (moveCurrentRow(ImportGrid_, 1, [this](int r) { return grid_.moveDown(r); }))
        showGrid();
}

void TMyImport::ImportGridDblClick(int row, int column)
{
    if (column != 2 || running())
        return;
    grid_.toggleUse(row);
    showGrid();
}

QList<QWidget *> TMyImport::lockedWhileRunning() const
{
    return {UpButton, DownButton, MatchNamesButton, StartButton, ExitButton, ImportGrid_, SkipFirst};
}

void TMyImport::StartButtonClick()
{
    if (running())
        return;
    ImportRequest request;
    request.kind = kind_;
    request.path = path_;
    request.map = grid_.fieldMap();
    request.fieldCount = int(names_.size());
    request.skipFirst = kind_ == ImportKind::Text && SkipFirst->isChecked();
    request.format = format_;
    request.names = names_;
    ws_.settings().importMapNames = importNamesKey(names_);
    ws_.settings().importMap = grid_.arrangement();
    // The character set shown is the one the table is read in.
    request.encoding = !formatGiven_                             ? EncodingChoice::Auto
                       : format_.encoding == TextEncoding::Utf8  ? EncodingChoice::Utf8
                       : format_.encoding == TextEncoding::Cp850 ? EncodingChoice::Cp850
                                                                 : EncodingChoice::Cp1252;
    WindowProgress progress([this](qint64 done) { CountLabel->setText(QString::number(done)); });
    ImportResult result;
    const bool ok = run(progress, [&] { result = importIntoMaster(ws_, request, &progress); });
    ws_.announceCount();
    if (!ok)
        CountLabel->setText(QStringLiteral("0")); // nothing of the run stayed
    if (ok && !result.stopped) {
        ws_.prompt().showMessage(QStringLiteral("Ok"), importCompleteMessage(result));
        accept();
    }
}

void TMyImport::storeSettings() { ws_.settings().importSkipFirst = SkipFirst->isChecked(); }

} // namespace kv
