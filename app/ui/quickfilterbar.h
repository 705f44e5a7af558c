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

inline constexpr char kQuickFilterPlaceholder[] = "Filter (Ctrl+K)";
inline constexpr char kQuickFilterTip[] = "Shows the videos whose shown fields hold every word typed here; Escape shows all";

class QuickFilterBar : public QWidget {
    Q_OBJECT
public:
    // The Ctrl+K shortcut lives on window, the main window.
    QuickFilterBar(Workspace &workspace, QWidget *window, QWidget *parent);

    QLineEdit *edit() const { return edit_; }
    // Empties the box: every record shows again at once.
    void clear();
    QuickFilter &filter() const { return *filter_; }

    // Puts the bar in the heading's row above the grid, from left to just before the
    // heading, so that the grid keeps its place: after each layout of the heading.
    void placeBeside(QWidget *heading, int left);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *edit_;
    QuickFilter *filter_;
};

} // namespace kv
