#include "reports/ui/replayout.h"

#include "reports/ui/reportpart.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace kv {

namespace {

constexpr int kDesignWidth = 634;
constexpr int kDesignHeight = 420;
constexpr int kShownNameLength = 38;
constexpr double kBoxPointSize = 8;
constexpr char kBoxFace[] = "Arial";

} // namespace

TRepLayout::TRepLayout(const TReportDefRec &def, int lineCount, bool useTotals, const QStringList &captions,
                       double factor, Prompt &prompt, QWidget *parent)
    : StyledDialog(WindowFamily::Report, parent), copy_(def), captions_(captions), factor_(factor), prompt_(prompt),
      area_(layoutArea(lineCount, useTotals, factor))
{
    setObjectName(QStringLiteral("RepLayout"));
    setWindowTitle(QStringLiteral("Specify Report Layout"));
    // Placed by hand in design units, so that the window's scaling moves them with the
    // drawing.
    ReportLabel = new QLabel(QStringLiteral("Report: ") + def.name.left(kShownNameLength), this);
    ReportLabel->setObjectName(QStringLiteral("ReportLabel"));
    ReportLabel->setGeometry(8, 12, 500, 20);
    QFont bold = ReportLabel->font();
    bold.setBold(true);
    ReportLabel->setFont(bold);
    BodyLabel = new QLabel(QStringLiteral("Report Body"), this);
    BodyLabel->setObjectName(QStringLiteral("BodyLabel"));
    BodyLabel->setGeometry(8, 52, 200, 20);
    BodyLabel->setVisible(lineCount > 0);
    TotalsLabel = new QLabel(QStringLiteral("Totals Line"), this);
    TotalsLabel->setObjectName(QStringLiteral("TotalsLabel"));
    TotalsLabel->setGeometry(8, 333, 200, 20);
    TotalsLabel->setVisible(useTotals);
    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(440, 385, 85, 27);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(535, 385, 85, 27);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(kDesignWidth, kDesignHeight);
}

void TRepLayout::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

void TRepLayout::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    QFont face(QString::fromLatin1(kBoxFace));
    face.setPointSizeF(kBoxPointSize * factor_);
    painter.setFont(face);
    const QFontMetricsF metrics(face);
    const auto measure = [&metrics](const QString &text) { return metrics.horizontalAdvance(text); };
    constexpr double inner = 2;
    for (const LayoutStrip &strip : area_.strips) {
        const QList<PartBox> boxes = partBoxes(lineOf(copy_, strip.line), copy_.lineWidth, area_.left, area_.right,
                                               captions_, strip.line == kTotalsLineNumber);
        for (const PartBox &box : boxes) {
            const QRectF rect(box.left, strip.top, box.right - box.left, strip.bottom - strip.top);
            painter.setPen(Qt::black);
            painter.fillRect(rect, Qt::white);
            painter.drawRect(rect);
            const QRectF room = rect.adjusted(inner, 0, -inner, 0);
            Qt::Alignment align = box.look == PartLook::Field   ? Qt::AlignLeft
                                  : box.look == PartLook::Label ? Qt::AlignRight
                                                                : Qt::AlignHCenter;
            QString text = box.text;
            if (measure(text) > room.width()) {
                text = cutToWidth(text, room.width(), measure);
                align = Qt::AlignLeft;
            }
            painter.setPen(box.look == PartLook::Field   ? QColor(Qt::black)
                           : box.look == PartLook::Label ? QColor(Qt::red)
                                                         : QColor(Qt::darkGreen));
            painter.drawText(room, int(align | Qt::AlignVCenter), text);
        }
    }
}

void TRepLayout::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = partAt(copy_, area_, event->position().x(), event->position().y());
    QDialog::mousePressEvent(event);
}

void TRepLayout::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const std::optional<PartRef> released = partAt(copy_, area_, event->position().x(), event->position().y());
        const std::optional<PartRef> pressed = std::exchange(pressed_, std::nullopt);
        if (released && released == pressed)
            editPart(released->line, released->part);
    }
    QDialog::mouseReleaseEvent(event);
}

void TRepLayout::editPart(int line, int part)
{
    TReportPart editor(lineOf(copy_, line), line, part, copy_.lineWidth, captions_, prompt_, this);
    editor.exec();
    update();
}

} // namespace kv
