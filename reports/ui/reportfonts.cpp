#include "reports/ui/reportfonts.h"

#include "reports/userreport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace kv {

namespace {

struct FontRow {
    const char *title;   // font dialog title
    const char *group;   // the group box's title: its letter leads to the row's New Font
    const char *caption; // the caption control's name
    const char *button;
};
constexpr FontRow kRows[4] = {
    {"Title Line Font", "&Title Line Font", "TitleLineFont", "TitleFontButton"},
    {"Column Header Font", "&Column Header Font", "ColumnHeaderFont", "ColumnHeaderFontButton"},
    {"Report Body Font", "Report &Body Font", "RepBodyDataFont", "BodyFontButton"},
    {"Footnote Font", "&Footnote Font", "FootnoteFont", "FootnoteFontButton"},
};

} // namespace

TReportFonts::TReportFonts(TReportDefRec &def, Prompt &prompt, QWidget *parent)
    : StyledDialog(WindowFamily::Report, parent), def_(def), prompt_(prompt)
{
    setObjectName(QStringLiteral("ReportFonts"));
    setWindowTitle(QStringLiteral("Report Fonts"));
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto *box = new QGroupBox(QString::fromLatin1(kRows[i].group), this);
        captions_[i] = new QLabel(box);
        captions_[i]->setObjectName(QString::fromLatin1(kRows[i].caption));
        captions_[i]->setMinimumWidth(220);
        captions_[i]->setFrameShape(QFrame::Panel);
        captions_[i]->setFrameShadow(QFrame::Sunken);
        auto *button = new QPushButton(QStringLiteral("New Font"), box);
        button->setObjectName(QString::fromLatin1(kRows[i].button));
        connect(button, &QPushButton::clicked, this, [this, i] { NewFontClick(i); });
        auto *row = new QHBoxLayout(box);
        row->addWidget(captions_[i], 1);
        row->addWidget(button);
        grid->addWidget(box, i, 0);
    }
    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(OkButton, 4, 0, Qt::AlignRight);
    showCaptions();
}

void TReportFonts::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

TFontRec &TReportFonts::fontRec(int font)
{
    switch (font) {
    case 0:
        return def_.titleFont;
    case 1:
        return def_.columnHeaderFont;
    case 2:
        return def_.bodyFont;
    default:
        return def_.footnoteFont;
    }
}

void TReportFonts::showCaptions()
{
    for (int i = 0; i < 4; ++i)
        captions_[i]->setText(fontCaption(fontRec(i)));
}

void TReportFonts::NewFontClick(int font)
{
    TFontRec &rec = fontRec(font);
    const std::optional<QFont> chosen = prompt_.font(qfontOf(rec), QString::fromLatin1(kRows[font].title));
    if (!chosen)
        return;
    takeFont(rec, *chosen);
    showCaptions();
}

} // namespace kv
