#pragma once
// The filter box above the viewer grid: typing narrows the grid to the records whose shown
// text fields hold every typed word; Escape empties it, Ctrl+K (anywhere in the main
// window) puts the cursor in it.
#include <QWidget>

class QLabel;
class QLineEdit;

namespace kv {

class QuickFilter;
class Workspace;

inline constexpr char kQuickFilterPlaceholder[] = "Filter: type words to narrow the list (Ctrl+K)";

class QuickFilterBar : public QWidget {
    Q_OBJECT
public:
    // The Ctrl+K shortcut lives on window, the main window.
    QuickFilterBar(Workspace &workspace, QWidget *window, QWidget *parent);

    QLineEdit *edit() const { return edit_; }
    QuickFilter &filter() const { return *filter_; }

    // Puts the bar where the grid's top is and the grid below it: once after each layout
    // of the grid.
    void placeAbove(QWidget *grid);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *edit_;
    QuickFilter *filter_;
};

} // namespace kv
