#include "reports/ui/labelside.h"

#include "report_engine/print/printeroutput.h"
#include "reports/reportrun.h"
#include "reports/ui/choosemedia.h"
#include "reports/ui/labeldimsdialog.h"
#include "reports/ui/labeloptions.h"
#include "reports/commands/labelsheet.h"
#include "reports/ui/mypreview.h"
#include "reports/commands/printtarget.h"
#include "reports/ui/reportform.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>

namespace kv {

namespace {

constexpr const char *kStockNames[kLabelStockCount] = {"Avery5199", "AveryL7654", "ProLabel", "ZLabel", "UserLabel"};

// A grid cell takes at most as many characters as its setting keeps.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setMaxLength(kLabelItemLength);
        return editor;
    }
};

} // namespace

TLabelSide::TLabelSide(Workspace &workspace, QWidget *parent) : QWidget(parent), ws_(workspace)
{
    setObjectName(QStringLiteral("LabelSide"));
    LabelTypePanel = new QGroupBox(this);
    LabelTypePanel->setObjectName(QStringLiteral("LabelTypePanel"));
    auto *panel = new QVBoxLayout(LabelTypePanel);
    for (int i = 0; i < kLabelStockCount; ++i) {
        StockButtons[size_t(i)] = new QRadioButton(LabelTypePanel);
        StockButtons[size_t(i)]->setObjectName(QString::fromLatin1(kStockNames[i]));
        panel->addWidget(StockButtons[size_t(i)]);
        connect(StockButtons[size_t(i)], &QRadioButton::clicked, this, [this, i] { StockClick(i + 1); });
    }
    DefineButton = new QPushButton(QStringLiteral("&Define"), LabelTypePanel);
    DefineButton->setObjectName(QStringLiteral("DefineButton"));
    panel->addWidget(DefineButton, 0, Qt::AlignRight);
    connect(DefineButton, &QPushButton::clicked, this, &TLabelSide::DefineButtonClick);

    MediaList = new QTableWidget(kLabelItemRows, kLabelItemColumns, this);
    MediaList->setObjectName(QStringLiteral("MediaList"));
    MediaList->setAccessibleName(QStringLiteral("Media Numbers")); // no label stands over it
    MediaList->setItemDelegate(new CellDelegate(MediaList));
    MediaList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    MediaList->horizontalHeader()->hide();
    MediaList->verticalHeader()->hide();
    // A double click picks a media number; typing edits the cell.
    MediaList->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::SelectedClicked);
    MediaList->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(MediaList, &QTableWidget::cellChanged, this, &TLabelSide::MediaListChange);
    connect(MediaList, &QTableWidget::cellDoubleClicked, this, &TLabelSide::MediaListDblClick);

    NoteLabel = new QLabel(QString::fromLatin1(kNote), this);
    NoteLabel->setObjectName(QStringLiteral("NoteLabel"));
    NoteLabel->setWordWrap(true);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *grid = new QVBoxLayout;
    grid->addWidget(MediaList, 1);
    grid->addWidget(NoteLabel);
    layout->addLayout(grid, 1);
    auto *stocks = new QVBoxLayout;
    stocks->addWidget(LabelTypePanel);
    stocks->addStretch(1);
    layout->addLayout(stocks);
    showStockNames(); // before the window takes its size
}

LabelStock TLabelSide::stock() const { return labelStockOf(ws_.settings().labelSize); }

void TLabelSide::showStockNames()
{
    for (int i = 0; i < kLabelStockCount; ++i)
        StockButtons[size_t(i)]->setText(labelStockName(LabelStock(i + 1), kind_));
}

void TLabelSide::setKind(LabelKind kind)
{
    kind_ = kind;
    showStockNames();
    StockButtons[size_t(int(stock()) - 1)]->setChecked(true);
    showGrid();
}

void TLabelSide::StockClick(int stock)
{
    ws_.settings().labelSize = stock;
    showGrid();
}

void TLabelSide::showGrid()
{
    Settings &s = ws_.settings();
    reshapeGrid(s, kind_, stock());
    const GridShape shape = gridShape(kind_, stock());
    const QSignalBlocker quiet(MediaList);
    MediaList->setRowCount(shape.rows);
    for (int column = 0; column < kLabelItemColumns; ++column) {
        for (int row = 0; row < shape.rows; ++row) {
            auto *item = new QTableWidgetItem(s.labelItems[size_t(column)][size_t(row)]);
            if (shape.notUsed == std::pair{column, row})
                item->setFlags(item->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsSelectable));
            MediaList->setItem(row, column, item);
        }
    }
}

void TLabelSide::MediaListChange(int row, int column)
{
    const QTableWidgetItem *item = MediaList->item(row, column);
    ws_.settings().labelItems[size_t(column)][size_t(row)] = item ? item->text().left(kLabelItemLength) : QString();
}

void TLabelSide::MediaListDblClick(int row, int column)
{
    const QTableWidgetItem *item = MediaList->item(row, column);
    if (!item || !(item->flags() & Qt::ItemIsEditable))
        return;
    TChooseMedia choose(ws_, this);
    if (exec(choose) == QDialog::Accepted && !choose.chosen().isEmpty())
        MediaList->item(row, column)->setText(choose.chosen());
}

void TLabelSide::OptionsClick()
{
    TLabelOptions options(ws_, this);
    exec(options);
}

void TLabelSide::DefineButtonClick()
{
    TLabelDims dims(ws_, this);
    exec(dims);
}

int TLabelSide::exec(QDialog &dialog)
{
    StyledDialog *owner = styledDialogOf(parentWidget());
    return owner ? owner->execChild(dialog) : dialog.exec();
}

void TLabelSide::styleChild(QWidget *window)
{
    if (StyledDialog *owner = styledDialogOf(parentWidget()))
        owner->styleChild(window);
}

void TLabelSide::DoItLabel(int mode)
{
    if (mode != int(OutputMode::Print) && mode != int(OutputMode::View))
        return;
    Prompt &prompt = ws_.prompt();
    // The refusals come first; the scan runs inside the status window, whose Cancel stops it.
    std::optional<LabelSheet> sheet = startLabelSheet(ws_, kind_, stock());
    if (!sheet) {
        if (optionsButton_)
            optionsButton_->setFocus();
        return;
    }
    Settings &s = ws_.settings();
    const UserFont &font = s.font(FontRole::ReportLabel);
    const LabelTextWidth textWidth = labelTextWidth(labelPageFont(font).font());
    const QSizeF paper = labelPaperSize(sheet->stock);
    PageStream stream;
    std::unique_ptr<PageOutput> output;
    if (mode == int(OutputMode::View)) {
        output = std::make_unique<StreamOutput>(stream, paper);
    } else {
        // Like a report: the printer of the printer choice, or the PDF file it asks for.
        const std::optional<PrintTarget> target = choosePrintTarget(s, prompt);
        if (!target)
            return;
        output = std::make_unique<PrinterOutput>(target->printer, target->pdfPath, paper);
    }
    // The sheet goes out through the status window, as a report does.
    bool completed = false;
    {
        TReportForm form(
            *output,
            [&](ReportEngine &engine, const TReportForm::Status &status, QString &error) {
                return printLabelSheet(*sheet, font, engine, status, &error,
                                       [&](LabelSheet &s, const std::function<bool()> &keepGoing) {
                                           return fillLabelSheet(ws_, s, textWidth, keepGoing);
                                       });
            },
            prompt, this);
        styleChild(&form);
        exec(form);
        completed = form.completed();
    }
    if (mode == int(OutputMode::View) && completed) {
        TMyPreview preview(stream, sheet->title, true, s, prompt, this);
        styleChild(&preview);
        exec(preview);
    }
}

} // namespace kv
