#include "reports/ui/choosemedia.h"

#include "reports/ui/dialogbuttons.h"
#include "store/fieldtable.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int kMediaColumnChars = 10;
constexpr int kTitleColumnChars = 60;

} // namespace

// Media number and title of each record, read only for the rows on screen.
class TChooseMedia::Model : public QAbstractTableModel {
public:
    Model(const Table &table, const Settings &s, QObject *parent) : QAbstractTableModel(parent), table_(table)
    {
        if (table.isOpen()) {
            fields_ = {table.fieldIndex(fieldName(fields::MediaNum)), table.fieldIndex(fieldName(fields::Title))};
            rows_ = table.recordCount();
        }
        titles_ = {s.field(fields::MediaNum).caption, s.field(fields::Title).caption};
    }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || fields_[size_t(index.column())] < 0)
            return {};
        return table_.fieldTextAt(index.row(), fields_[size_t(index.column())]);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
            return titles_[size_t(section)];
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QString mediaNumber(int row) const
    {
        return row >= 0 && row < rows_ && fields_[0] >= 0 ? table_.fieldTextAt(row, fields_[0]) : QString();
    }

private:
    const Table &table_;
    std::array<int, 2> fields_{-1, -1};
    std::array<QString, 2> titles_;
    int rows_ = 0;
};

TChooseMedia::TChooseMedia(Workspace &workspace, QWidget *parent)
    : StyledDialog(WindowFamily::Report, parent), ws_(workspace), table_(std::make_unique<Table>())
{
    setObjectName(QStringLiteral("ChooseMedia"));
    setWindowTitle(QStringLiteral("Choose Media Number"));
    // Same database and table as the viewer, no index: the order of the file.
    table_->setPath(ws_.master().filePath());
    table_->setReadOnly(true);
    ws_.attempt([this] { table_->open(); });
    model_ = new Model(*table_, ws_.settings(), this);

    MediaGrid = new QTableView(this);
    MediaGrid->setObjectName(QStringLiteral("MediaGrid"));
    MediaGrid->setModel(model_);
    MediaGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MediaGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    MediaGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MediaGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed); // a long catalogue lays out at once
    MediaGrid->verticalHeader()->hide();
    const int charWidth = MediaGrid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    MediaGrid->setColumnWidth(0, kMediaColumnChars * charWidth + 12);
    MediaGrid->setColumnWidth(1, kTitleColumnChars * charWidth / 2);
    MediaGrid->horizontalHeader()->setStretchLastSection(true);
    if (model_->rowCount() > 0)
        MediaGrid->selectRow(0);

    QHBoxLayout *buttons = makeOkCancelRow(this, OkButton, CancelButton);
    auto *box = new QVBoxLayout(this);
    box->addWidget(MediaGrid);
    box->addLayout(buttons);
    resize(480, 360);
    connect(OkButton, &QPushButton::clicked, this, &TChooseMedia::OkButtonClick);
}

TChooseMedia::~TChooseMedia()
{
    // The model reads the table object, which goes first.
    MediaGrid->setModel(nullptr);
    delete model_;
}

void TChooseMedia::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

void TChooseMedia::OkButtonClick()
{
    chosen_ = model_->mediaNumber(MediaGrid->currentIndex().row());
    accept();
}

} // namespace kv
