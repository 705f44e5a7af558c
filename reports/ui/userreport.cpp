#include "reports/ui/userreport.h"

#include "app/display/screensize.h"
#include "help/help.h"
#include "reports/ui/replayout.h"
#include "reports/ui/reportfonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr char kHelpKeyword[] = "User Defined Reports";
constexpr int kLineCountLength = 2;
constexpr int kMarginLength = 5;

QStringList fieldCaptions(const Settings &s)
{
    QStringList captions;
    for (int n = 1; n <= kFieldCount; ++n)
        captions << s.field(n).caption;
    return captions;
}

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel *fontCaptionLabel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(170);
    return label;
}

} // namespace

TUserReport::TUserReport(Workspace &workspace, ReportFile &file, TReportDefRec &current, int index, QWidget *parent)
    : StyledDialog(WindowFamily::Report, parent), ws_(workspace), file_(file),
      edit_(index == kNewReport ? ReportDefinitionEdit::forNew(current)
                                : ReportDefinitionEdit::forModify(current, file, index))
{
    setObjectName(QStringLiteral("UserReport"));
    setWindowTitle(QStringLiteral("Report Definition"));
    setHelpKeyword(this, QLatin1String(kHelpKeyword));
    build();
    FormShow();
}

TUserReport::~TUserReport() = default;

void TUserReport::build()
{
    ReportName = named(new QLineEdit(this), "ReportName");
    ReportName->setMaxLength(kReportNameLength);

    auto *widths = new QGroupBox(QStringLiteral("Characters per Line"), this);
    Chars90 = named(new QRadioButton(QStringLiteral("&90"), widths), "Chars90");
    Chars120 = named(new QRadioButton(QStringLiteral("12&0"), widths), "Chars120");
    Chars150 = named(new QRadioButton(QStringLiteral("1&50"), widths), "Chars150");
    auto *widthRow = new QHBoxLayout(widths);
    for (auto [button, width] : {std::pair{Chars90, 90}, {Chars120, 120}, {Chars150, 150}}) {
        widthRow->addWidget(button);
        connect(button, &QRadioButton::clicked, this, [this, w = width] { widthClicked(w); });
    }

    auto *fonts = new QGroupBox(QStringLiteral("Fonts"), this);
    TitleLineFont = fontCaptionLabel(fonts, "TitleLineFont");
    ColumnHeaderFont = fontCaptionLabel(fonts, "ColumnHeaderFont");
    RepBodyDataFont = fontCaptionLabel(fonts, "RepBodyDataFont");
    FootnoteFont = fontCaptionLabel(fonts, "FootnoteFont");
    SetFonts = named(new QPushButton(QStringLiteral("Set &Fonts"), fonts), "SetFonts");
    auto *fontGrid = new QGridLayout(fonts);
    const std::pair<const char *, QLabel *> fontRows[] = {{"Title Line:", TitleLineFont},
                                                         {"Column Header:", ColumnHeaderFont},
                                                         {"Report Body:", RepBodyDataFont},
                                                         {"Footnote:", FootnoteFont}};
    for (int row = 0; row < 4; ++row) {
        fontGrid->addWidget(new QLabel(QString::fromLatin1(fontRows[row].first), fonts), row, 0);
        fontGrid->addWidget(fontRows[row].second, row, 1);
    }
    fontGrid->addWidget(SetFonts, 4, 1, Qt::AlignRight);

    auto *titles = new QGroupBox(QStringLiteral("Report Titles"), this);
    Title1 = named(new QLineEdit(titles), "Title1");
    Title2 = named(new QLineEdit(titles), "Title2");
    Title3 = named(new QLineEdit(titles), "Title3");
    auto *titleBox = new QVBoxLayout(titles);
    for (QLineEdit *title : {Title1, Title2, Title3}) {
        title->setMaxLength(kTitleLength);
        titleBox->addWidget(title);
    }

    auto *options = new QGroupBox(QStringLiteral("Report Options"), this);
    Level1Group = named(new QCheckBox(QStringLiteral("Group by Level &1 Sort"), options), "Level1Group");
    Level2Group = named(new QCheckBox(QStringLiteral("Group by Level &2 Sort"), options), "Level2Group");
    ColumnHeaders = named(new QCheckBox(QStringLiteral("C&olumn Headers"), options), "ColumnHeaders");
    HorzLines = named(new QCheckBox(QStringLiteral("Hori&zontal Lines"), options), "HorzLines");
    VertLines = named(new QCheckBox(QStringLiteral("&Vertical Lines"), options), "VertLines");
    DateOnPage = named(new QCheckBox(QStringLiteral("&Date on Pages"), options), "DateOnPage");
    PageNumbers = named(new QCheckBox(QStringLiteral("Page &Numbers"), options), "PageNumbers");
    LandOrient = named(new QCheckBox(QStringLiteral("&Print Landscape"), options), "LandOrient");
    auto *optionGrid = new QGridLayout(options);
    QCheckBox *optionBoxes[] = {Level1Group, Level2Group, ColumnHeaders, HorzLines,
                                VertLines,   DateOnPage,  PageNumbers,   LandOrient};
    for (int i = 0; i < 8; ++i)
        optionGrid->addWidget(optionBoxes[i], i % 4, i / 4);
    connect(Level1Group, &QCheckBox::clicked, this, [this] { showLevel2(); });

    auto *lines = new QGroupBox(QStringLiteral("Report Body"), this);
    NumLines = named(new QLineEdit(lines), "NumLines");
    NumLines->setMaxLength(kLineCountLength);
    NumLines->setFixedWidth(NumLines->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    UseTotals = named(new QCheckBox(QStringLiteral("Use &Totals"), lines), "UseTotals");
    SpecifyButton = named(new QPushButton(QStringLiteral("&Specify Report Content"), lines), "SpecifyButton");
    auto *lineGrid = new QGridLayout(lines);
    lineGrid->addWidget(new QLabel(QStringLiteral("Number of Lines:"), lines), 0, 0);
    lineGrid->addWidget(NumLines, 0, 1, Qt::AlignLeft);
    lineGrid->addWidget(UseTotals, 1, 0, 1, 2);
    lineGrid->addWidget(SpecifyButton, 2, 0, 1, 2);
    connect(NumLines, &QLineEdit::editingFinished, this, [this] { lineCountLeft(); });

    auto *margins = new QGroupBox(QStringLiteral("Margins (in inches)"), this);
    auto *marginGrid = new QGridLayout(margins);
    const std::pair<const char *, QLineEdit **> marginRows[] = {{"Top", &TopMargin},
                                                               {"Bottom", &BottomMargin},
                                                               {"Left", &LeftMargin},
                                                               {"Right", &RightMargin}};
    for (int i = 0; i < 4; ++i) {
        QLineEdit *box = new QLineEdit(margins);
        box->setObjectName(QString::fromLatin1(marginRows[i].first) + QStringLiteral("Margin"));
        box->setMaxLength(kMarginLength);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
        *marginRows[i].second = box;
        marginGrid->addWidget(new QLabel(QString::fromLatin1(marginRows[i].first), margins), i / 2, (i % 2) * 2);
        marginGrid->addWidget(box, i / 2, (i % 2) * 2 + 1);
        connect(box, &QLineEdit::editingFinished, this, [this, box] { marginLeft(box); });
    }

    UpdateButton = named(new QPushButton(QStringLiteral("&Update"), this), "UpdateButton");
    UpdateButton->setDefault(true);
    CancelButton = named(new QPushButton(QStringLiteral("&Cancel"), this), "CancelButton");
    DeleteButton = named(new QPushButton(QStringLiteral("De&lete"), this), "DeleteButton");
    HelpButton = named(new QPushButton(QStringLiteral("&Help"), this), "HelpButton");
    connect(UpdateButton, &QPushButton::clicked, this, &TUserReport::UpdateButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DeleteButton, &QPushButton::clicked, this, &TUserReport::DeleteButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TUserReport::HelpButtonClick);
    connect(SpecifyButton, &QPushButton::clicked, this, &TUserReport::SpecifyButtonClick);
    connect(SetFonts, &QPushButton::clicked, this, &TUserReport::SetFontsClick);
    connect(ReportName, &QLineEdit::editingFinished, this, [this] { nameLeft(); });

    auto *grid = new QGridLayout(this);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Report Name:"), this));
    nameRow->addWidget(ReportName, 1);
    grid->addLayout(nameRow, 0, 0, 1, 2);
    grid->addWidget(widths, 1, 0);
    grid->addWidget(fonts, 1, 1, 2, 1);
    grid->addWidget(lines, 2, 0);
    grid->addWidget(titles, 3, 0, 1, 2);
    grid->addWidget(options, 4, 0);
    grid->addWidget(margins, 4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {UpdateButton, CancelButton, DeleteButton, HelpButton})
        buttons->addWidget(b);
    grid->addLayout(buttons, 5, 0, 1, 2);
}

void TUserReport::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

void TUserReport::FormShow()
{
    const DefinitionForm f = formOf(edit_.def());
    ReportName->setText(f.name);
    widthButton(f.lineWidth)->setChecked(true);
    Title1->setText(f.titles[0]);
    Title2->setText(f.titles[1]);
    Title3->setText(f.titles[2]);
    Level1Group->setChecked(f.level1Group);
    Level2Group->setChecked(f.level2Group);
    ColumnHeaders->setChecked(f.columnHeaders);
    HorzLines->setChecked(f.horizontalLines);
    VertLines->setChecked(f.verticalLines);
    DateOnPage->setChecked(f.dateOnPages);
    PageNumbers->setChecked(f.pageNumbers);
    LandOrient->setChecked(f.landscape);
    UseTotals->setChecked(f.useTotals);
    NumLines->setText(f.lineCount);
    TopMargin->setText(f.topMargin);
    BottomMargin->setText(f.bottomMargin);
    LeftMargin->setText(f.leftMargin);
    RightMargin->setText(f.rightMargin);
    showFontCaptions();
    showLevel2();
    lineCountLeft();
    nameLeft();
}

QRadioButton *TUserReport::widthButton(int width) const
{
    return width == 150 ? Chars150 : width == 120 ? Chars120 : Chars90;
}

void TUserReport::widthClicked(int width)
{
    const int from = edit_.def().lineWidth;
    if (width == from)
        return;
    if (!edit_.changeWidth(width, lineCountOf(NumLines->text()).value_or(0), ws_.prompt())) {
        widthButton(from)->setChecked(true);
        return;
    }
    showFontCaptions();
}

void TUserReport::showFontCaptions()
{
    const TReportDefRec &def = edit_.def();
    TitleLineFont->setText(fontCaption(def.titleFont));
    ColumnHeaderFont->setText(fontCaption(def.columnHeaderFont));
    RepBodyDataFont->setText(fontCaption(def.bodyFont));
    FootnoteFont->setText(fontCaption(def.footnoteFont));
}

void TUserReport::showLevel2()
{
    Level2Group->setEnabled(Level1Group->isChecked());
}

void TUserReport::lineCountLeft()
{
    NumLines->setText(NumLines->text().trimmed());
    const bool oneLine = lineOptionsEnabled(NumLines->text());
    ColumnHeaders->setEnabled(oneLine);
    HorzLines->setEnabled(oneLine);
    VertLines->setEnabled(oneLine);
}

void TUserReport::marginLeft(QLineEdit *box)
{
    box->setText(box->text().trimmed());
    lineCountLeft();
}

void TUserReport::nameLeft()
{
    if (edit_.mode() == ReportDefinitionEdit::Mode::Modify)
        edit_.def().name = ReportDefinitionEdit::keptName(ReportName->text());
    DeleteButton->setEnabled(edit_.deleteEnabled(ReportName->text()));
}

DefinitionForm TUserReport::form() const
{
    DefinitionForm f;
    f.name = ReportName->text();
    f.lineWidth = Chars150->isChecked() ? 150 : Chars120->isChecked() ? 120 : 90;
    f.titles = {Title1->text(), Title2->text(), Title3->text()};
    f.level1Group = Level1Group->isChecked();
    f.level2Group = Level2Group->isChecked();
    f.columnHeaders = ColumnHeaders->isChecked();
    f.horizontalLines = HorzLines->isChecked();
    f.verticalLines = VertLines->isChecked();
    f.dateOnPages = DateOnPage->isChecked();
    f.pageNumbers = PageNumbers->isChecked();
    f.landscape = LandOrient->isChecked();
    f.useTotals = UseTotals->isChecked();
    f.lineCount = NumLines->text();
    f.topMargin = TopMargin->text();
    f.bottomMargin = BottomMargin->text();
    f.leftMargin = LeftMargin->text();
    f.rightMargin = RightMargin->text();
    return f;
}

void TUserReport::UpdateButtonClick()
{
    if (!ReportDefinitionEdit::checkLineCount(NumLines->text(), ws_.prompt())) {
        NumLines->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (edit_.update(form(), file_, ws_.prompt()) != ReportDefinitionEdit::Outcome::Saved)
        return;
    change_ = Change::Written;
    accept();
}

void TUserReport::DeleteButtonClick()
{
    if (!edit_.remove(file_, ws_.prompt()))
        return;
    change_ = Change::Deleted;
    accept();
}

void TUserReport::SpecifyButtonClick()
{
    const std::optional<int> count = ReportDefinitionEdit::checkLineCount(NumLines->text(), ws_.prompt());
    if (!count) {
        NumLines->setFocus(Qt::OtherFocusReason);
        return;
    }
    TRepLayout layout(edit_.def(), *count, UseTotals->isChecked(), fieldCaptions(ws_.settings()),
                      screenFactor(ws_.settings().windowSize), ws_.prompt(), this);
    if (layout.exec() == QDialog::Accepted)
        edit_.def() = layout.layout();
}

void TUserReport::SetFontsClick()
{
    TReportFonts fonts(edit_.def(), ws_.prompt(), this);
    fonts.exec();
    showFontCaptions();
}

void TUserReport::HelpButtonClick() { showHelp(this, QLatin1String(kHelpKeyword)); }

} // namespace kv
