#pragma once
// The Search Options dialog: the operators of a numeric or date row, or the values of a
// pick-list row, for the Search window to take.
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class TSearchOptions : public QDialog {
    Q_OBJECT
public:
    // caption: the field's title; selected: the entry chosen at the start (-1 for none).
    TSearchOptions(const QString &caption, const QStringList &items, int selected, QWidget *parent = nullptr);

    // The entry chosen when the dialog was left with Ok, -1 for none.
    int selectedIndex() const;
    QString selectedText() const;

private:
    QLabel *FieldLabel = nullptr;
    QListWidget *OptionList = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace kv
