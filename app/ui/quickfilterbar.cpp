#include "app/ui/quickfilterbar.h"

#include "app/workspace/quickfilter.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

namespace kv {

namespace {
constexpr int kBarHeight = 26;
constexpr int kGap = 2;
} // namespace

QuickFilterBar::QuickFilterBar(Workspace &workspace, QWidget *window, QWidget *parent)
    : QWidget(parent), edit_(new QLineEdit(this)), filter_(new QuickFilter(workspace, this))
{
    setObjectName(QStringLiteral("QuickFilterBar"));
    edit_->setObjectName(QStringLiteral("QuickFilterEdit"));
    edit_->setPlaceholderText(QString::fromUtf8(kQuickFilterPlaceholder));
    edit_->setToolTip(QString::fromUtf8(kQuickFilterTip));
    edit_->setAccessibleName(QStringLiteral("Quick filter"));
    edit_->setClearButtonEnabled(true);
    edit_->installEventFilter(this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    connect(edit_, &QLineEdit::textChanged, filter_, &QuickFilter::setText);
    auto *focus = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), window);
    focus->setContext(Qt::WindowShortcut);
    connect(focus, &QShortcut::activated, this, [this] {
        edit_->setFocus(Qt::ShortcutFocusReason);
        edit_->selectAll();
    });
    // Another catalogue starts unfiltered: the box says so.
    connect(&workspace, &Workspace::catalogueOpened, this, [this] {
        const QSignalBlocker quiet(edit_);
        edit_->clear();
    });
}

void QuickFilterBar::placeBeside(QWidget *heading, int left)
{
    const QRect h = heading->geometry();
    const int right = h.left() - kGap * 4;
    setGeometry(left, h.top() + (h.height() - kBarHeight) / 2, std::max(0, right - left), kBarHeight);
    raise();
}

void QuickFilterBar::clear() { edit_->clear(); }

bool QuickFilterBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && !edit_->text().isEmpty()) {
        edit_->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kv
