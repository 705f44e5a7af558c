#include "mypreview.h"

#include "help/help.h"
#include "reports/ui/printrangedialog.h"
#include "reports/commands/printtarget.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

namespace {
QToolButton *toolButton(QToolBar *bar, const char *name, const QString &text)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(text);
    bar->addWidget(b);
    return b;
}

QAction *menuItem(QMenu *menu, const char *name, const QString &text, QKeySequence key = {})
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    return a;
}

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }
} // namespace

TMyPreview::TMyPreview(const PageStream &stream, const QString &caption, bool labelRun, Settings &settings,
                       Prompt &prompt, QWidget *parent)
    : QDialog(parent), stream_(stream), settings_(settings), prompt_(prompt), labelRun_(labelRun)
{
    setObjectName(QStringLiteral("TMyPreview"));
    setWindowTitle(labelRun ? QString::fromLatin1(kLabelCaption) : caption);
    title_ = caption;
    setSizeGripEnabled(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *menus = new QMenuBar(this);
    layout->setMenuBar(menus);

    QMenu *file = menus->addMenu(QStringLiteral("&File"));
    MenuPrintPage = menuItem(file, "MenuPrintPage", QStringLiteral("&Print Page"), ctrl(Qt::Key_P));
    MenuPrintReport = menuItem(file, "MenuPrintReport", QStringLiteral("Print &Report"), ctrl(Qt::Key_R));
    MenuPrintRange = menuItem(file, "MenuPrintRange", QStringLiteral("Print Ran&ge"), ctrl(Qt::Key_G));
    file->addSeparator();
    MenuExit = menuItem(file, "MenuExit", QStringLiteral("E&xit"), ctrl(Qt::Key_X));
    QMenu *navigate = menus->addMenu(QStringLiteral("&Navigate"));
    navigate->setObjectName(QStringLiteral("MenuNavigate"));
    MenuPrevious = menuItem(navigate, "MenuPrevious", QStringLiteral("&Previous Page"), ctrl(Qt::Key_E));
    MenuNext = menuItem(navigate, "MenuNext", QStringLiteral("&Next Page"), ctrl(Qt::Key_N));
    MenuFirst = menuItem(navigate, "MenuFirst", QStringLiteral("&First Page"), ctrl(Qt::Key_F));
    MenuLast = menuItem(navigate, "MenuLast", QStringLiteral("&Last Page"), ctrl(Qt::Key_L));
    QMenu *view = menus->addMenu(QStringLiteral("&View"));
    MenuUseColor = menuItem(view, "MenuUseColor", QStringLiteral("Use Color"), ctrl(Qt::Key_C));
    MenuUseColor->setCheckable(true);
    MenuUseColor->setChecked(true);
    QMenu *zoomIn = view->addMenu(QStringLiteral("Zoom &In"));
    MenuZoomIn = zoomIn->menuAction();
    MenuZoomIn->setShortcut(ctrl(Qt::Key_I));
    QMenu *zoomOut = view->addMenu(QStringLiteral("Zoom &Out"));
    MenuZoomOut = zoomOut->menuAction();
    MenuZoomOut->setShortcut(ctrl(Qt::Key_O));
    MenuZoomPageWidth = menuItem(view, "MenuZoomPageWidth", QStringLiteral("Zoom &Page Width"), ctrl(Qt::Key_Z));
    MenuZoomWholePage = menuItem(view, "MenuZoomWholePage", QStringLiteral("Zoom &Whole Page"), ctrl(Qt::Key_W));
    const struct {
        QMenu *menu;
        const char *text;
        double zoom;
    } fixedZooms[] = {{zoomIn, "&1 : 1", 100},  {zoomIn, "&2 : 1", 200},  {zoomOut, "1 : &1", 100},
                      {zoomOut, "1 : &2", 50},  {zoomOut, "1 : &3", 33.3}, {zoomOut, "1 : &4", 25},
                      {zoomOut, "1 : &5", 20}};
    surface_ = new PreviewSurface(this);
    for (const auto &z : fixedZooms) {
        const double zoom = z.zoom;
        connect(z.menu->addAction(QString::fromLatin1(z.text)), &QAction::triggered, this,
                [this, zoom] { surface_->setZoom(zoom); });
    }

    // Two rows, zooming and paging, so that every control and the page count stay in
    // sight in the window's default width.
    auto *zoomRow = new QToolBar(this);
    auto *pageRow = new QToolBar(this);
    QToolBar *bar = zoomRow;
    SBZoomIn = toolButton(bar, "SBZoomIn", QStringLiteral("Zoom In"));
    SBZoomOut = toolButton(bar, "SBZoomOut", QStringLiteral("Zoom Out"));
    SBZoomPageWidth = toolButton(bar, "SBZoomPageWidth", QStringLiteral("Zoom Page Width"));
    SBZoomPage = toolButton(bar, "SBZoomPage", QStringLiteral("Zoom Whole Page"));
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral("Zoom %"), bar));
    ZoomEdit = new QLineEdit(bar);
    ZoomEdit->setObjectName(QStringLiteral("ZoomEdit"));
    ZoomEdit->setMaximumWidth(70);
    bar->addWidget(ZoomEdit);
    bar = pageRow;
    SBPrevPage = toolButton(bar, "SBPrevPage", QStringLiteral("Prev Page"));
    SBNextPage = toolButton(bar, "SBNextPage", QStringLiteral("Next Page"));
    bar->addWidget(new QLabel(QStringLiteral("Page #"), bar));
    PageEdit = new QLineEdit(bar);
    PageEdit->setObjectName(QStringLiteral("PageEdit"));
    PageEdit->setMaximumWidth(60);
    bar->addWidget(PageEdit);
    PageLabel = new QLabel(QStringLiteral("Page 1 of 1"), bar);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    bar->addWidget(PageLabel);
    bar->addSeparator();
    SBPrint = toolButton(bar, "SBPrint", QStringLiteral("Print Page"));
    SBDone = toolButton(bar, "SBDone", QStringLiteral("Done"));
    layout->addWidget(zoomRow);
    layout->addWidget(pageRow);
    layout->addWidget(surface_, 1);

    const auto both = [this](QAction *a, QToolButton *b, auto slot) {
        if (a)
            connect(a, &QAction::triggered, this, slot);
        if (b)
            connect(b, &QToolButton::clicked, this, slot);
    };
    both(MenuZoomIn, SBZoomIn, [this] { surface_->zoomIn(); });
    both(MenuZoomOut, SBZoomOut, [this] { surface_->zoomOut(); });
    both(MenuZoomPageWidth, SBZoomPageWidth, [this] { surface_->setZoom(surface_->pageWidthZoom()); });
    both(MenuZoomWholePage, SBZoomPage, [this] { surface_->setZoom(surface_->wholePageZoom()); });
    both(MenuPrevious, SBPrevPage, [this] { surface_->previousPage(); });
    both(MenuNext, SBNextPage, [this] { surface_->nextPage(); });
    both(MenuFirst, nullptr, [this] { surface_->goToPage(1); });
    both(MenuLast, nullptr, [this] { surface_->goToPage(surface_->pageCount()); });
    both(MenuPrintPage, SBPrint, [this] { PrintPage(); });
    both(MenuPrintReport, nullptr, [this] { PrintReport(); });
    both(MenuPrintRange, nullptr, [this] { PrintRange(); });
    both(MenuExit, SBDone, [this] { accept(); });
    connect(MenuUseColor, &QAction::triggered, this, [this](bool on) { surface_->setMonochrome(!on); });
    connect(surface_, &PreviewSurface::pageChanged, this, &TMyPreview::showPage);
    connect(surface_, &PreviewSurface::zoomChanged, this, &TMyPreview::showZoom);
    connect(PageEdit, &QLineEdit::editingFinished, this, &TMyPreview::PageEditDone);
    connect(ZoomEdit, &QLineEdit::editingFinished, this, &TMyPreview::ZoomEditDone);

    if (labelRun) {
        navigate->menuAction()->setEnabled(false);
        for (QAction *a : {MenuPrevious, MenuNext, MenuFirst, MenuLast, MenuPrintReport, MenuPrintRange})
            a->setEnabled(false);
        SBPrevPage->setEnabled(false);
        SBNextPage->setEnabled(false);
    }
    showZoom(surface_->zoom());
    setGeometry(settings.reportWindowLeft, settings.reportWindowTop, std::max(settings.reportWindowWidth, 200),
                std::max(settings.reportWindowHeight, 150));
    setHelpKeyword(this, QStringLiteral("Report Window"));
    // A long job keeps the window painting; another print asked for meanwhile is refused.
    printer_.afterPage = [] { QCoreApplication::processEvents(); };
}

void TMyPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        surface_->setStream(&stream_);
    }
}

void TMyPreview::done(int result)
{
    const QRect g = geometry();
    settings_.reportWindowLeft = g.left();
    settings_.reportWindowTop = g.top();
    settings_.reportWindowWidth = g.width();
    settings_.reportWindowHeight = g.height();
    surface_->setStream(nullptr);
    QDialog::done(result);
}

void TMyPreview::setPagesReady(int count)
{
    surface_->setPageLimit(count);
    const bool ended = count < 0;
    counting_ = !ended;
    for (QAction *a : {MenuPrintPage, MenuPrintReport, MenuPrintRange})
        a->setEnabled(ended && !(labelRun_ && a != MenuPrintPage));
    SBPrint->setEnabled(ended);
    showPage(surface_->currentPage());
}

void TMyPreview::showPage(int page)
{
    PageEdit->setText(QString::number(page));
    QString text = QStringLiteral("Page %1 of %2")
                       .arg(page - surface_->firstPage() + 1)
                       .arg(std::max(1, surface_->pageCount()));
    if (counting_)
        text += QString::fromUtf8(kCounting);
    PageLabel->setText(text);
}

void TMyPreview::showZoom(double zoom) { ZoomEdit->setText(QString::number(zoom, 'f', 1).left(10)); }

void TMyPreview::PageEditDone()
{
    bool ok = false;
    const int page = PageEdit->text().trimmed().toInt(&ok);
    if (ok && page != surface_->currentPage())
        surface_->goToPage(page);
}

void TMyPreview::ZoomEditDone()
{
    bool ok = false;
    const double zoom = ZoomEdit->text().trimmed().toDouble(&ok);
    if (ok && zoom != surface_->zoom())
        surface_->setZoom(zoom);
}

void TMyPreview::printPages(int first, int last)
{
    if (printer_.busy()) {
        prompt_.showError(QString::fromLatin1(kBusy));
        return;
    }
    const std::optional<PrintTarget> target = choosePrintTarget(settings_, prompt_);
    if (target && !printer_.print(stream_, first, last, target->printer, title_,
                                  target->pdfPath))
        prompt_.showError(printer_.errorString());
}

void TMyPreview::PrintPage() { printPages(surface_->currentPage(), surface_->currentPage()); }

void TMyPreview::PrintReport() { printPages(1, stream_.pageCount()); }

void TMyPreview::PrintRange()
{
    if (printer_.busy()) {
        prompt_.showError(QString::fromLatin1(kBusy));
        return;
    }
    TPrintRange range(stream_.pageCount(), prompt_, this);
    if (range.exec() == QDialog::Accepted)
        printPages(range.firstPage(), range.lastPage());
}

} // namespace kv
