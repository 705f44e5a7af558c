#pragma once
// The tip-of-the-day window.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kv {

class TTipOfTheDay : public QDialog {
    Q_OBJECT
public:
    TTipOfTheDay(QWidget *parent, bool showTipsAtStartup);

    bool showTipsAtStartup() const;
    QString currentTip() const;

public Q_SLOTS:
    void nextTip();

private:
    QStringList tips_;
    QLabel *tipText_;
    QCheckBox *showTipsCheck_;
    QPushButton *nextButton_;
};

} // namespace kv
