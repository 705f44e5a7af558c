#pragma once
// The record navigator: ten buttons that move through, change and refresh a table.
#include <QPointer>
#include <QWidget>
#include <array>

class QToolButton;

namespace kv {

class Table;
class Workspace;

class RecordNavigator : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    static constexpr int kButtonCount = 10;

    // A refusal of the table reaches the user through the workspace; Delete is the
    // workspace's one delete command.
    explicit RecordNavigator(Workspace &workspace, QWidget *parent = nullptr);

    void setTable(Table *table);
    Table *table() const;

    // Shows the first count buttons only (browse-only mode shows the four moves).
    void setVisibleButtons(int count);
    int visibleButtons() const { return visibleCount_; }

    QToolButton *button(Button which) const { return buttons_[size_t(which)]; }

public Q_SLOTS:
    // Runs a button's action, as a click on it does.
    void press(kv::RecordNavigator::Button which);
    // Enables the buttons for where the table stands and what it is doing; for changes
    // of state the table does not announce (an edit or append started elsewhere).
    void updateButtons();

Q_SIGNALS:
    // After every button action, whether or not it changed anything.
    void clicked();

private:
    std::array<QToolButton *, kButtonCount> buttons_{};
    QPointer<Table> table_;
    Workspace &workspace_;
    int visibleCount_ = kButtonCount;
};

} // namespace kv
