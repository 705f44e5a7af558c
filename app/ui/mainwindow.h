#pragma once
#include <QMainWindow>

namespace kv {

// The main window. For now it only opens and closes; the viewer, menus and
// catalogue handling come with the start-up work.
class TMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TMain(QWidget *parent = nullptr);
};

} // namespace kv
