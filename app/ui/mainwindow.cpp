#include "mainwindow.h"

#include "app/base/paths.h"

#include <QMenuBar>

namespace kv {

TMain::TMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setGeometry(0, 0, 640, 480);
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("MenuExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

} // namespace kv
