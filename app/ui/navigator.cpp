#include "navigator.h"

#include "app/workspace/records.h"
#include "app/workspace/workspace.h"
#include "store/table.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <algorithm>

namespace kv {

namespace {

using B = RecordNavigator::Button;

struct ButtonText {
    const char *name;
    const char *hint;
};
constexpr ButtonText kButtons[RecordNavigator::kButtonCount] = {
    {"NavFirst", "First record"},   {"NavPrior", "Prior record"},   {"NavNext", "Next record"},
    {"NavLast", "Last record"},     {"NavInsert", "Insert record"}, {"NavDelete", "Delete record"},
    {"NavEdit", "Edit record"},     {"NavPost", "Post edit"},       {"NavCancel", "Cancel edit"},
    {"NavRefresh", "Refresh data"},
};

// The familiar navigator glyphs, drawn in the button text colour on a 16 x 16 square;
// the icon greys them itself when a button is disabled.
QIcon glyph(B which, const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const auto triangle = [&p](QPointF a, QPointF b, QPointF c) { p.drawPolygon(QPolygonF{a, b, c}); };
    const QPen stroke(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (which) {
    case B::First:
        p.drawRect(QRectF(3, 3, 2, 10));
        triangle({12, 3}, {12, 13}, {6, 8});
        break;
    case B::Prior: triangle({11, 3}, {11, 13}, {5, 8}); break;
    case B::Next: triangle({5, 3}, {5, 13}, {11, 8}); break;
    case B::Last:
        triangle({4, 3}, {4, 13}, {10, 8});
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case B::Insert:
        p.drawRect(QRectF(7, 3, 2, 10));
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case B::Delete: p.drawRect(QRectF(3, 7, 10, 2)); break;
    case B::Edit: // a pencil
        p.translate(8, 8);
        p.rotate(45);
        p.drawRect(QRectF(-1.75, -7, 3.5, 9.5));
        triangle({-1.75, 3.5}, {1.75, 3.5}, {0, 7});
        break;
    case B::Post: {
        p.setPen(stroke);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)});
        break;
    }
    case B::Cancel:
        p.setPen(stroke);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case B::Refresh:
        p.setPen(stroke);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        triangle({10.5, 8.5}, {15.5, 8.5}, {13, 4.5});
        break;
    }
    return QIcon(pixmap);
}

} // namespace

RecordNavigator::RecordNavigator(Workspace &workspace, QWidget *parent) : QWidget(parent), workspace_(workspace)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QColor color = palette().color(QPalette::ButtonText);
    for (int i = 0; i < kButtonCount; ++i) {
        const Button which = Button(i);
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kButtons[i].name));
        const QString hint = QString::fromLatin1(kButtons[i].hint);
        b->setText(hint); // read by accessibility tools; the button shows its glyph
        b->setToolTip(hint);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setIcon(glyph(which, color));
        b->setIconSize(QSize(16, 16));
        b->setFocusPolicy(Qt::NoFocus); // the keyboard stays in the grid
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setMinimumWidth(16);
        connect(b, &QToolButton::clicked, this, [this, which] { press(which); });
        layout->addWidget(b);
        buttons_[size_t(i)] = b;
    }
    updateButtons();
}

void RecordNavigator::setTable(Table *table)
{
    if (table_)
        disconnect(table_, nullptr, this, nullptr);
    table_ = table;
    if (table) {
        connect(table, &Table::dataChanged, this, &RecordNavigator::updateButtons);
        connect(table, &Table::currentChanged, this, &RecordNavigator::updateButtons);
        connect(table, &QObject::destroyed, this, &RecordNavigator::updateButtons);
    }
    updateButtons();
}

Table *RecordNavigator::table() const { return table_; }

void RecordNavigator::setVisibleButtons(int count)
{
    visibleCount_ = std::clamp(count, 0, kButtonCount);
    for (int i = 0; i < kButtonCount; ++i)
        buttons_[size_t(i)]->setVisible(i < visibleCount_);
}

void RecordNavigator::press(Button which)
{
    Table *t = table_;
    if (!button(which)->isEnabled() || !t)
        return;
    if (which == Button::Delete) {
        deleteCurrentRecord(workspace_, *t);
    } else {
        workspace_.attempt([&] {
            switch (which) {
            case Button::First: t->first(); break;
            case Button::Prior: t->prior(); break;
            case Button::Next: t->next(); break;
            case Button::Last: t->last(); break;
            case Button::Insert: t->append(); break;
            case Button::Edit: t->edit(); break;
            case Button::Post: postRecord(workspace_, *t); break;
            case Button::Cancel: t->cancel(); break;
            case Button::Refresh: t->refresh(); break;
            case Button::Delete: break;
            }
        });
    }
    updateButtons();
    Q_EMIT clicked();
}

void RecordNavigator::updateButtons()
{
    Table *t = table_;
    const bool active = t && t->isOpen();
    const bool writable = active && !t->readOnly();
    const bool changing = active && (t->state() == Table::State::Edit || t->state() == Table::State::Insert);
    const int count = active ? t->recordCount() : 0;
    const int position = active ? t->position() : -1;
    // At the first record nothing lies before; at the last nothing after.
    const bool back = position > 0;
    const bool forward = position >= 0 && position < count - 1;
    const auto enable = [this](Button b, bool on) { button(b)->setEnabled(on); };
    enable(Button::First, back);
    enable(Button::Prior, back);
    enable(Button::Next, forward);
    enable(Button::Last, forward);
    enable(Button::Insert, writable);
    enable(Button::Delete, writable && (count > 0 || changing));
    enable(Button::Edit, writable && !changing && count > 0);
    enable(Button::Post, writable && changing);
    enable(Button::Cancel, writable && changing);
    enable(Button::Refresh, active);
}

} // namespace kv
