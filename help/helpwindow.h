#pragma once
// The help window: the help pages in a browser with back, forward and contents, and
// the keyword index beside them.
#include <QMainWindow>
#include <QUrl>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace kv {

class THelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *parent = nullptr);

    void showTopic(const QUrl &url);
    QTextBrowser *browser() const { return browser_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildIndex();
    void findInIndex(const QString &text);
    void openIndexItem(QListWidgetItem *item);
    void updateTitle();

    QTextBrowser *browser_;
    QListWidget *index_;
    QLineEdit *indexFilter_;
};

} // namespace kv
