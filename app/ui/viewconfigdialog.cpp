#include "app/ui/viewconfigdialog.h"

#include "app/display/displayoptions.h"
#include "app/display/screensize.h"
#include "app/display/viewerconfig.h"
#include "app/style/windowstyle.h"
#include "help/help.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <iterator>

namespace kv {

namespace {

const char kShowExplanation[] =
    "For each field that you would like displayed in the Viewer, select 'Yes'.  If you do not wish a field to "
    "appear in the Viewer, then select 'No' for that field.  Double Click on the field to change between 'Yes' "
    "and 'No'.";

// The help keyword of each page, in page order.
const char *const kPageKeywords[] = {
    "Viewer Configuration Title",  "Viewer Configuration Look",  "Viewer Configuration Show",
    "Viewer Configuration Widths", "Viewer Configuration Order", "Viewer Configuration Names",
};

// Designed sizes, before the screen factor.
constexpr int kWideColumn = 200;
constexpr int kNarrowColumn = 100;
constexpr int kGridMargin = 20; // a grid is this much wider than its columns
const QSize kDesignedSize(600, 420);

QString latin1(const char *text) { return QString::fromLatin1(text); }

QPushButton *makeButton(QWidget *parent, const QString &name, const char *caption)
{
    auto *button = new QPushButton(latin1(caption), parent);
    button->setObjectName(name);
    // Enter belongs to the grids' editors; the dialog closes by Exit or Escape.
    button->setAutoDefault(false);
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const char *text)
{
    auto *label = new QLabel(latin1(text), parent);
    label->setObjectName(name);
    markTitle(label, TitleKind::Major);
    return label;
}

// A box that shows a flag of the settings as the dialog is made and sets it at once.
QCheckBox *makeCheckBox(QWidget *parent, const char *name, const char *caption, bool &flag)
{
    auto *box = new QCheckBox(latin1(caption), parent);
    box->setObjectName(latin1(name));
    box->setChecked(flag);
    QObject::connect(box, &QCheckBox::toggled, box, [&flag](bool on) { flag = on; });
    return box;
}

// A grid of a header row and one row per field; only the second column is editable.
QTableWidget *makeGrid(QWidget *parent, const char *name, const char *second, bool editable)
{
    auto *grid = new QTableWidget(kFieldCount, 2, parent);
    grid->setObjectName(latin1(name));
    grid->setHorizontalHeaderLabels({QStringLiteral("FIELD"), latin1(second)});
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                         | QAbstractItemView::AnyKeyPressed
                                   : QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < kFieldCount; ++row) {
        for (int column = 0; column < 2; ++column) {
            auto *item = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (column == 1 && editable)
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            grid->setItem(row, column, item);
        }
    }
    return grid;
}

QStringList columnTexts(const QTableWidget *grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, column)->text();
    return texts;
}

void setColumnTexts(QTableWidget *grid, int column, const QStringList &texts)
{
    for (int row = 0; row < grid->rowCount() && row < texts.size(); ++row)
        grid->item(row, column)->setText(texts.at(row));
}

void paintSample(QFrame *sample, const QColor &color)
{
    QPalette p = sample->palette();
    p.setColor(QPalette::Window, color);
    sample->setPalette(p);
}

QWidget *addPage(QTabWidget *tabs, const char *name, const char *caption)
{
    auto *page = new QWidget(tabs);
    page->setObjectName(latin1(name));
    // The page shows the window's own background, as its boxes and buttons do.
    page->setAutoFillBackground(true);
    tabs->addTab(page, latin1(caption));
    return page;
}

} // namespace

TViewConfig::TViewConfig(Workspace &workspace, QWidget *parent)
    : QDialog(parent), ws_(workspace), settings_(workspace.settings())
{
    setObjectName(QStringLiteral("TViewConfig"));
    setWindowTitle(QStringLiteral("Viewer Configuration"));
    setModal(true);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setUsesScrollButtons(false); // every page's tab in sight
    buildTitlePage();
    buildLookPage();
    buildShowPage();
    buildWidthsPage();
    buildOrderPage();
    buildNamesPage();
    // F1 opens the topic of the page in front (of the dialog when the focus is outside the pages).
    setHelpKeyword(this, QStringLiteral("Viewer Configuration"));
    for (int page = 0; page < PageControl->count() && page < int(std::size(kPageKeywords)); ++page)
        setHelpKeyword(PageControl->widget(page), latin1(kPageKeywords[page]));

    ExitButton = makeButton(this, QStringLiteral("ExitButton"), "E&xit");
    HelpButton = makeButton(this, QStringLiteral("HelpButton"), "&Help");
    connect(ExitButton, &QPushButton::clicked, this, &TViewConfig::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TViewConfig::HelpButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ExitButton);
    buttons->addWidget(HelpButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);
    resize(kDesignedSize);
    designRowHeight_ = WidthGrid->verticalHeader()->defaultSectionSize();
    sizeGrids(1.0);
}

void TViewConfig::buildTitlePage()
{
    TitlePage = addPage(PageControl, "TitlePage", "&Title");
    auto *grid = new QGridLayout(TitlePage);
    ShowTitlesBox = makeCheckBox(TitlePage, "ShowTitlesBox", "Show Column Titles", settings_.showTitles);
    grid->addWidget(ShowTitlesBox, 0, 0, 1, 3);
    TitleFontText = addFontRow(grid, 1, "Title", "Title Font", FontRole::GridTitle);
    TitleColorSample = addColorRow(grid, 3, "Title", "Background", "Title Background", &Settings::titleBackground);

    auto *alignment = new QGroupBox(QStringLiteral("Alignment"), TitlePage);
    alignment->setObjectName(QStringLiteral("AlignmentGroup"));
    auto *alignmentLayout = new QVBoxLayout(alignment);
    const struct {
        QRadioButton **button;
        const char *name;
        const char *caption;
    } choices[] = {{&LeftJustifyButton, "LeftJustifyButton", "Left Justify"},
                   {&CenterButton, "CenterButton", "Center"},
                   {&RightJustifyButton, "RightJustifyButton", "Right Justify"}};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QRadioButton(latin1(choices[i].caption), alignment);
        button->setObjectName(latin1(choices[i].name));
        connect(button, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                settings_.titleAlignment = i + 1;
        });
        alignmentLayout->addWidget(button);
        *choices[i].button = button;
    }
    grid->addWidget(alignment, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);
}

void TViewConfig::buildLookPage()
{
    LookPage = addPage(PageControl, "LookPage", "&Look and Feel");
    auto *options = new QGroupBox(QStringLiteral("Grid Options"), LookPage);
    options->setObjectName(QStringLiteral("GridOptionsGroup"));
    auto *optionsLayout = new QVBoxLayout(options);
    ColumnLinesBox = makeCheckBox(options, "ColumnLinesBox", "Show lines between columns", settings_.columnLines);
    RowLinesBox = makeCheckBox(options, "RowLinesBox", "Show lines between rows", settings_.rowLines);
    RowIndicatorBox = makeCheckBox(options, "RowIndicatorBox", "Show current row indicator", settings_.rowIndicator);
    FieldEditingBox = makeCheckBox(options, "FieldEditingBox", "Allow field editing", settings_.fieldEditing);
    for (QCheckBox *box : {ColumnLinesBox, RowLinesBox, RowIndicatorBox, FieldEditingBox})
        optionsLayout->addWidget(box);

    auto *grid = new QGridLayout(LookPage);
    grid->addWidget(options, 0, 0, 1, 3);
    CellColorSample = addColorRow(grid, 1, "Cell", "Cell Color", "Cell Color", &Settings::cellColor);
    CellFontText = addFontRow(grid, 3, "Cell", "Cell Font", FontRole::Grid);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
}

QLineEdit *TViewConfig::addFontRow(QGridLayout *grid, int row, const char *prefix, const char *title, FontRole role)
{
    QWidget *page = grid->parentWidget();
    const QString name = latin1(prefix) + QStringLiteral("Font");
    auto *text = new QLineEdit(page);
    text->setObjectName(name + QStringLiteral("Text"));
    text->setReadOnly(true);
    auto *button = makeButton(page, name + QStringLiteral("Button"), "New &Font");
    connect(button, &QPushButton::clicked, this, [this, role, title] {
        if (chooseFont(settings_, ws_.prompt(), role, latin1(title)))
            showFonts();
    });
    grid->addWidget(makeLabel(page, name + QStringLiteral("Label"), title), row, 0);
    grid->addWidget(text, row + 1, 0, 1, 2);
    grid->addWidget(button, row + 1, 2);
    return text;
}

QFrame *TViewConfig::addColorRow(QGridLayout *grid, int row, const char *prefix, const char *title,
                                 const char *dialogTitle, QColor Settings::*color)
{
    QWidget *page = grid->parentWidget();
    const QString name = latin1(prefix) + QStringLiteral("Color");
    auto *sample = new QFrame(page);
    sample->setObjectName(name + QStringLiteral("Sample"));
    sample->setFrameStyle(QFrame::Box | QFrame::Plain);
    sample->setAutoFillBackground(true);
    sample->setFixedSize(60, 24);
    auto *button = makeButton(page, name + QStringLiteral("Button"), "New &Color");
    connect(button, &QPushButton::clicked, this, [this, color, dialogTitle] {
        if (chooseColor(settings_.*color, ws_.prompt(), latin1(dialogTitle)))
            showColors();
    });
    grid->addWidget(makeLabel(page, name + QStringLiteral("Label"), title), row, 0);
    grid->addWidget(sample, row + 1, 0);
    grid->addWidget(button, row + 1, 2);
    return sample;
}

void TViewConfig::buildShowPage()
{
    ShowPage = addPage(PageControl, "ShowPage", "Fields to &Show");
    auto *explanation = new QLabel(latin1(kShowExplanation), ShowPage);
    explanation->setObjectName(QStringLiteral("ShowExplanation"));
    explanation->setWordWrap(true);
    markTitle(explanation, TitleKind::Minor);
    DisplayGrid = makeGrid(ShowPage, "DisplayGrid", "DISPLAY IT", false);
    connect(DisplayGrid, &QTableWidget::cellDoubleClicked, this, &TViewConfig::DisplayGridDblClick);
    DisplayGrid->installEventFilter(this);

    auto *layout = new QHBoxLayout(ShowPage);
    layout->addWidget(explanation, 1, Qt::AlignTop);
    layout->addWidget(DisplayGrid);
}

void TViewConfig::buildWidthsPage()
{
    WidthsPage = addPage(PageControl, "WidthsPage", "Field &Widths");
    WidthGrid = makeGrid(WidthsPage, "WidthGrid", "WIDTH", true);
    auto *layout = new QHBoxLayout(WidthsPage);
    layout->addWidget(WidthGrid);
    layout->addStretch(1);
}

void TViewConfig::buildOrderPage()
{
    OrderPage = addPage(PageControl, "OrderPage", "Field &Order");
    auto *field = makeLabel(OrderPage, QStringLiteral("OrderFieldLabel"), "Field");
    auto *ordering = makeLabel(OrderPage, QStringLiteral("OrderingLabel"), "Ordering");
    OrderList = new QListWidget(OrderPage);
    OrderList->setObjectName(QStringLiteral("OrderList"));
    auto *up = makeButton(OrderPage, QStringLiteral("UpButton"), "&Up");
    auto *down = makeButton(OrderPage, QStringLiteral("DownButton"), "&Down");
    auto *defaults = makeButton(OrderPage, QStringLiteral("DefaultsButton"), "D&efaults");
    connect(up, &QPushButton::clicked, this, &TViewConfig::UpButtonClick);
    connect(down, &QPushButton::clicked, this, &TViewConfig::DownButtonClick);
    connect(defaults, &QPushButton::clicked, this, &TViewConfig::DefaultsButtonClick);

    auto *titles = new QHBoxLayout;
    titles->addWidget(field);
    titles->addWidget(ordering);
    titles->addStretch(1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addSpacing(12);
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    auto *layout = new QGridLayout(OrderPage);
    layout->addLayout(titles, 0, 0);
    layout->addWidget(OrderList, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->setColumnStretch(2, 1);
}

void TViewConfig::buildNamesPage()
{
    NamesPage = addPage(PageControl, "NamesPage", "Field &Names");
    NameGrid = makeGrid(NamesPage, "NameGrid", "NAME TO USE", true);
    auto *layout = new QHBoxLayout(NamesPage);
    layout->addWidget(NameGrid);
    layout->addStretch(1);
}

void TViewConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TViewConfig::FormShow()
{
    styleWindow(this, WindowFamily::Configure, settings_, Placement::CentredRaised);
    showFonts();
    showColors();
    QRadioButton *const alignments[] = {LeftJustifyButton, CenterButton, RightJustifyButton};
    for (int i = 0; i < 3; ++i) {
        if (settings_.titleAlignment == i + 1) {
            alignments[i]->setChecked(true);
        } else if (alignments[i]->isChecked()) {
            // Another value checks none, which an exclusive group would not allow.
            alignments[i]->setAutoExclusive(false);
            alignments[i]->setChecked(false);
            alignments[i]->setAutoExclusive(true);
        }
    }
    fillGrids();
    sizeGrids(screenFactor(settings_.windowSize));
}

void TViewConfig::showFonts()
{
    TitleFontText->setText(fontText(settings_.font(FontRole::GridTitle).font));
    CellFontText->setText(fontText(settings_.font(FontRole::Grid).font));
}

void TViewConfig::showColors()
{
    paintSample(TitleColorSample, settings_.titleBackground);
    paintSample(CellColorSample, settings_.cellColor);
}

void TViewConfig::fillGrids()
{
    QStringList widths, display, names;
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldSettings &f = settings_.field(n);
        widths << QString::number(f.width);
        display << latin1(f.shown ? kDisplayYes : kDisplayNo);
        names << fieldName(n);
    }
    const QStringList captions = defaultOrderRows(settings_);
    setColumnTexts(WidthGrid, 0, captions);
    setColumnTexts(WidthGrid, 1, widths);
    setColumnTexts(DisplayGrid, 0, captions);
    setColumnTexts(DisplayGrid, 1, display);
    setColumnTexts(NameGrid, 0, names);
    setColumnTexts(NameGrid, 1, captions);
    fillOrderList(orderRows(settings_));
}

void TViewConfig::fillOrderList(const QStringList &rows)
{
    OrderList->clear();
    OrderList->addItems(rows);
}

void TViewConfig::sizeGrids(double factor)
{
    const int wide = scaleLength(kWideColumn, factor), narrow = scaleLength(kNarrowColumn, factor);
    const int rowHeight = scaleLength(designRowHeight_, factor);
    for (QTableWidget *grid : {DisplayGrid, WidthGrid, NameGrid}) {
        const int second = grid == NameGrid ? wide : narrow;
        grid->setColumnWidth(0, wide);
        grid->setColumnWidth(1, second);
        grid->verticalHeader()->setDefaultSectionSize(rowHeight);
        grid->setFixedWidth(wide + second + kGridMargin);
    }
    OrderList->setFixedWidth(wide + kGridMargin);
}

bool TViewConfig::eventFilter(QObject *watched, QEvent *event)
{
    // The keyboard's double-click: Space switches the current field's "DISPLAY IT".
    if (watched == DisplayGrid && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space && DisplayGrid->currentRow() >= 0) {
        DisplayGridDblClick(DisplayGrid->currentRow(), 1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TViewConfig::DisplayGridDblClick(int row, int column)
{
    if (column != 1 || row < 0)
        return;
    QTableWidgetItem *cell = DisplayGrid->item(row, column);
    cell->setText(toggledDisplayText(cell->text()));
}

void TViewConfig::moveOrderRow(int step)
{
    const int row = OrderList->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= OrderList->count())
        return;
    OrderList->insertItem(to, OrderList->takeItem(row));
    OrderList->setCurrentRow(to);
}

void TViewConfig::UpButtonClick() { moveOrderRow(-1); }
void TViewConfig::DownButtonClick() { moveOrderRow(1); }

void TViewConfig::DefaultsButtonClick()
{
    if (ws_.prompt().askYesNo(QStringLiteral("Re-Order"),
                              QStringLiteral("This will set the order of fields to the program defaults.  Continue?")))
        fillOrderList(defaultOrderRows(settings_));
}

void TViewConfig::HelpButtonClick()
{
    const int page = PageControl->currentIndex();
    showHelp(this, page >= 0 && page < int(std::size(kPageKeywords)) ? latin1(kPageKeywords[page]) : QString());
}

bool TViewConfig::FormCloseQuery()
{
    QStringList order;
    for (int row = 0; row < OrderList->count(); ++row)
        order << OrderList->item(row)->text();
    const ViewerConfigClose outcome = closeViewerConfig(
        settings_, {columnTexts(WidthGrid, 1), columnTexts(DisplayGrid, 1), order, columnTexts(NameGrid, 1)});
    if (outcome.refused) {
        ws_.prompt().showError(outcome.refused->message);
        PageControl->setCurrentWidget(NamesPage);
        NameGrid->setCurrentCell(outcome.refused->second, 1);
        NameGrid->setFocus();
        return false;
    }
    setColumnTexts(WidthGrid, 1, outcome.widths);
    return true;
}

void TViewConfig::reject()
{
    if (FormCloseQuery())
        QDialog::reject();
}

} // namespace kv
