#include "helpwindow.h"

#include "base/paths.h"
#include "help/help.h"
#include "resources/helptopics.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kv {

namespace {
// F1 in the help window leads back to the contents.
constexpr char kOwnKeyword[] = "Contents";
QString helpTitle() { return QString::fromLatin1(kApplicationTitle) + QStringLiteral(" Help"); }
} // namespace

THelpWindow::THelpWindow(QWidget *parent)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowIcon(applicationIcon());
    setHelpKeyword(this, QLatin1String(kOwnKeyword));

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);

    auto *indexLabel = new QLabel(QStringLiteral("&Index:"));
    indexFilter_ = new QLineEdit;
    indexFilter_->setObjectName(QStringLiteral("HelpIndexFilter"));
    indexFilter_->setPlaceholderText(QStringLiteral("Type a keyword"));
    indexFilter_->setClearButtonEnabled(true);
    indexFilter_->installEventFilter(this);
    indexLabel->setBuddy(indexFilter_);
    index_ = new QListWidget;
    index_->setObjectName(QStringLiteral("HelpIndex"));
    buildIndex();

    auto *indexPanel = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPanel);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(indexLabel);
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index_);

    auto *splitter = new QSplitter;
    splitter->addWidget(indexPanel);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 640});
    setCentralWidget(splitter);

    auto *back = new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("BackAction"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    auto *forward = new QAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"), this);
    forward->setObjectName(QStringLiteral("ForwardAction"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    auto *contents = new QAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("ContentsAction"));
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    auto *toolBar = addToolBar(QStringLiteral("Navigation"));
    toolBar->setObjectName(QStringLiteral("HelpToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addAction(back);
    toolBar->addAction(forward);
    toolBar->addAction(contents);

    auto *findKeyword = new QAction(this);
    findKeyword->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    auto *closeWindow = new QAction(this);
    closeWindow->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(findKeyword);
    addAction(closeWindow);

    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this, [this] { showTopic(helpContentsUrl()); });
    connect(findKeyword, &QAction::triggered, this, [this] {
        indexFilter_->setFocus();
        indexFilter_->selectAll();
    });
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpWindow::updateTitle);
    connect(indexFilter_, &QLineEdit::textChanged, this, &THelpWindow::findInIndex);
    connect(indexFilter_, &QLineEdit::returnPressed, this, [this] { openIndexItem(index_->currentItem()); });
    connect(index_, &QListWidget::itemClicked, this, &THelpWindow::openIndexItem);
    connect(index_, &QListWidget::itemActivated, this, &THelpWindow::openIndexItem);

    resize(880, 620);
    updateTitle();
}

void THelpWindow::showTopic(const QUrl &url) { browser_->setSource(url); }

void THelpWindow::buildIndex()
{
    QList<HelpTopic> topics = helpTopics();
    std::stable_sort(topics.begin(), topics.end(), [](const HelpTopic &a, const HelpTopic &b) {
        return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    for (const HelpTopic &topic : topics) {
        auto *item = new QListWidgetItem(topic.keyword, index_);
        item->setData(Qt::UserRole, helpTopicUrl(topic.keyword));
    }
}

// Selects the first keyword that begins with the typed text, as a book index is read.
void THelpWindow::findInIndex(const QString &text)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return;
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem *item = index_->item(row);
        if (item->text().startsWith(wanted, Qt::CaseInsensitive)) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void THelpWindow::openIndexItem(QListWidgetItem *item)
{
    if (item)
        showTopic(item->data(Qt::UserRole).toUrl());
}

void THelpWindow::updateTitle()
{
    const QString page = browser_->documentTitle();
    setWindowTitle(page.isEmpty() ? helpTitle() : QStringLiteral("%1 - %2").arg(helpTitle(), page));
}

// Up and down in the keyword box move through the index without leaving the box.
bool THelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == indexFilter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(index_, &copy);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kv
