#include "collection/ui/statswindow.h"

#include "app/workspace/workspace.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QHorizontalBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPieSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace kv {

namespace {
constexpr int kDefaultOverdueDays = 30;
// A pie shows this many values; the rest make one slice.
constexpr int kPieSlices = 8;
constexpr char kOtherSlice[] = "Other";
constexpr char kNotWritten[] = "The file \"%1\" could not be written.";

QChartView *chartView(QChart *chart)
{
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(2, 2, 2, 2));
    auto *view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 200);
    return view;
}

QChartView *pieChart(const QString &title, const std::vector<Share> &shares)
{
    auto *series = new QPieSeries;
    qint64 other = 0;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        if (int(i) < kPieSlices)
            series->append(shares[i].value, double(shares[i].count));
        else
            other += shares[i].count;
    }
    if (other > 0)
        series->append(QString::fromLatin1(kOtherSlice), double(other));
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->addSeries(series);
    return chartView(chart);
}

QChartView *barChart(const QString &title, const std::vector<Share> &shares)
{
    auto *set = new QBarSet(QStringLiteral("Videos"));
    QStringList labels;
    qint64 most = 0;
    // The first bar lies at the bottom: from the last, so that they read downwards.
    for (auto s = shares.rbegin(); s != shares.rend(); ++s) {
        *set << double(s->count);
        labels << s->value;
        most = std::max(most, s->count);
    }
    // Lying bars: the decades' names read beside them in full.
    auto *series = new QHorizontalBarSeries;
    series->append(set);
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->addSeries(series);
    auto *x = new QBarCategoryAxis;
    x->append(labels);
    x->setTruncateLabels(false);
    chart->addAxis(x, Qt::AlignLeft);
    series->attachAxis(x);
    auto *y = new QValueAxis;
    y->setRange(0, double(std::max<qint64>(most, 1)));
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(y, Qt::AlignBottom);
    series->attachAxis(y);
    chart->legend()->hide();
    return chartView(chart);
}

QTableWidget *figures(const QStringList &headers, const std::vector<QStringList> &rows)
{
    auto *table = new QTableWidget(int(rows.size()), int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < int(headers.size()) && c < rows[size_t(r)].size(); ++c) {
            auto *item = new QTableWidgetItem(rows[size_t(r)][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    table->resizeColumnsToContents();
    table->setMinimumWidth(220);
    return table;
}

QTableWidget *shareFigures(const std::vector<Share> &shares)
{
    std::vector<QStringList> rows;
    for (const Share &s : shares)
        rows.push_back({s.value, QString::number(s.count), QString::number(s.share * 100.0, 'f', 1) + u'%'});
    return figures({QStringLiteral("Value"), QStringLiteral("Videos"), QStringLiteral("Share")}, rows);
}
} // namespace

TStatistics::TStatistics(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Configure, parent), ws_(workspace)
{
    setObjectName(QStringLiteral("TStatistics"));
    setWindowTitle(QString::fromLatin1(kStatsCaption));
    ResultRadio = new QRadioButton(QStringLiteral("Search &Result"));
    ResultRadio->setObjectName(QStringLiteral("ResultRadio"));
    EntireRadio = new QRadioButton(QStringLiteral("&Entire Database"));
    EntireRadio->setObjectName(QStringLiteral("EntireRadio"));
    const bool narrowed = ws_.search().isOn() || ws_.search().narrowed();
    ResultRadio->setEnabled(narrowed);
    (narrowed ? ResultRadio : EntireRadio)->setChecked(true);
    auto *overdueLabel = new QLabel(QStringLiteral("&Overdue after (days):"));
    OverdueSpin = new QSpinBox;
    OverdueSpin->setObjectName(QStringLiteral("OverdueSpin"));
    OverdueSpin->setRange(0, 36500);
    OverdueSpin->setValue(kDefaultOverdueDays);
    overdueLabel->setBuddy(OverdueSpin);
    CopyButton = new QPushButton(QStringLiteral("&Copy"));
    CopyButton->setObjectName(QStringLiteral("CopyButton"));
    PngButton = new QPushButton(QStringLiteral("Save as P&NG"));
    PngButton->setObjectName(QStringLiteral("PngButton"));
    PdfButton = new QPushButton(QStringLiteral("Save as P&DF"));
    PdfButton->setObjectName(QStringLiteral("PdfButton"));
    CloseButton = new QPushButton(QStringLiteral("C&lose"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    auto *top = new QHBoxLayout;
    top->addWidget(ResultRadio);
    top->addWidget(EntireRadio);
    top->addSpacing(16);
    top->addWidget(overdueLabel);
    top->addWidget(OverdueSpin);
    top->addStretch();
    for (QPushButton *b : {CopyButton, PngButton, PdfButton, CloseButton})
        top->addWidget(b);

    page_ = new QWidget;
    page_->setObjectName(QStringLiteral("StatsPage"));
    page_->setAutoFillBackground(true);
    grid_ = new QGridLayout(page_);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(page_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll);
    resize(1180, 860);

    connect(ResultRadio, &QRadioButton::toggled, this, &TStatistics::Recount);
    connect(OverdueSpin, &QSpinBox::valueChanged, this, &TStatistics::Recount);
    connect(CopyButton, &QPushButton::clicked, this, &TStatistics::CopyButtonClick);
    connect(PngButton, &QPushButton::clicked, this, &TStatistics::PngButtonClick);
    connect(PdfButton, &QPushButton::clicked, this, &TStatistics::PdfButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    Recount();
}

void TStatistics::showEvent(QShowEvent *event)
{
    style();
    QDialog::showEvent(event);
}

void TStatistics::Recount()
{
    const StatsScope scope = ResultRadio->isChecked() ? StatsScope::Visible : StatsScope::Catalogue;
    stats_ = {};
    if (ws_.master().isOpen())
        ws_.attempt([&] { stats_ = collectStats(ws_.master(), scope, QDate::currentDate(), OverdueSpin->value()); });
    fill();
}

void TStatistics::fill()
{
    while (QLayoutItem *item = grid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::pair<QString, const std::vector<Share> *> parts[] = {
        {QStringLiteral("Category"), &stats_.byCategory}, {QStringLiteral("Format"), &stats_.byFormat},
        {QStringLiteral("Content"), &stats_.byContent},   {QStringLiteral("Rating"), &stats_.byRating},
        {QStringLiteral("Decade"), &stats_.byDecade},     {QStringLiteral("Personal Rating"), &stats_.byPersonalRating}};
    int i = 0;
    for (const auto &[title, shares] : parts) {
        const int row = i / 2, column = (i % 2) * 2;
        QChartView *chart = title == QLatin1String("Decade") ? barChart(title, *shares) : pieChart(title, *shares);
        chart->setObjectName(title.simplified().remove(u' ') + QStringLiteral("Chart"));
        grid_->addWidget(chart, row, column);
        grid_->addWidget(shareFigures(*shares), row, column + 1);
        ++i;
    }
    auto *totals = new QLabel(QStringLiteral("<b>%1 videos</b><br>Total running time: %2 minutes (%3 h %4 min)"
                                             "<br>List value: %5<br>Purchase value: %6<br>Checked out: %7, "
                                             "overdue: %8")
                                  .arg(stats_.records)
                                  .arg(stats_.runTimeMinutes)
                                  .arg(stats_.runTimeMinutes / 60)
                                  .arg(stats_.runTimeMinutes % 60)
                                  .arg(QLocale::system().toCurrencyString(stats_.listValue))
                                  .arg(QLocale::system().toCurrencyString(stats_.purchaseValue))
                                  .arg(stats_.loans.size())
                                  .arg(stats_.overdue));
    totals->setObjectName(QStringLiteral("TotalsLabel"));
    totals->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    grid_->addWidget(totals, 3, 0);
    grid_->addWidget(shareFigures(stats_.byBorrower), 3, 1);
    std::vector<QStringList> loans;
    for (const Loan &l : stats_.loans)
        loans.push_back({l.title, l.person, l.since.isValid() ? QLocale::system().toString(l.since, QLocale::ShortFormat) : QString(),
                         l.days >= 0 ? QString::number(l.days) : QString(),
                         l.overdue ? QStringLiteral("overdue") : QString()});
    QTableWidget *loanTable = figures({QStringLiteral("Checked out"), QStringLiteral("To"), QStringLiteral("Since"),
                                       QStringLiteral("Days"), QString()},
                                      loans);
    loanTable->setObjectName(QStringLiteral("LoansTable"));
    grid_->addWidget(loanTable, 3, 2, 1, 2);
}

void TStatistics::CopyButtonClick() { QApplication::clipboard()->setText(statsText(stats_)); }

bool TStatistics::savePng(const QString &path) { return page_->grab().save(path, "PNG"); }

bool TStatistics::savePdf(const QString &path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setTitle(QString::fromLatin1(kStatsCaption));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QSize size = page_->size();
    const QRect target = painter.viewport();
    const double scale = std::min(double(target.width()) / size.width(), double(target.height()) / size.height());
    painter.scale(scale, scale);
    page_->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return painter.end();
}

void TStatistics::saveAs(const QString &title, const QString &filter, const QString &extension,
                         bool (TStatistics::*save)(const QString &))
{
    FileDialogSpec spec;
    spec.title = title;
    spec.filter = filter;
    spec.defaultExtension = extension;
    spec.confirmOverwrite = true;
    const QString path = ws_.prompt().saveFileName(spec);
    if (!path.isEmpty() && !(this->*save)(path))
        ws_.prompt().showError(QString::fromLatin1(kNotWritten).arg(path));
}

void TStatistics::PngButtonClick()
{
    saveAs(QStringLiteral("Save Statistics as PNG"), QStringLiteral("PNG Pictures (*.png)|*.png"),
           QStringLiteral("png"), &TStatistics::savePng);
}

void TStatistics::PdfButtonClick()
{
    saveAs(QStringLiteral("Save Statistics as PDF"), QStringLiteral("PDF Files (*.pdf)|*.pdf"),
           QStringLiteral("pdf"), &TStatistics::savePdf);
}

} // namespace kv
