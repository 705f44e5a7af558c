#include "exchange/ui/backupdialog.h"

#include "help/help.h"

#include <QApplication>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace kv {

namespace {

const char kHelpKeyword[] = "Backup and Restore";

QPushButton *makeButton(QWidget *parent, const char *objectName, const char *text, QRect place)
{
    auto *button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

} // namespace

ExchangeDialog::ExchangeDialog(Workspace &workspace, const Captions &captions, QSize client, QWidget *parent)
    : StyledDialog(WindowFamily::Configure, parent), ws_(workspace)
{
    setObjectName(QString::fromLatin1(captions.objectName));
    setWindowTitle(QString::fromLatin1(captions.title));
    setModal(true);
    setFixedSize(client);
    setHelpKeyword(this, QLatin1String(kHelpKeyword));

    KindPanel = new QGroupBox(QString::fromLatin1(captions.panel), this);
    KindPanel->setObjectName(QStringLiteral("KindPanel"));
    KindPanel->setGeometry(8, 8, client.width() - 16, 122);
    const char *names[] = {"TableButton", "ListsButton", "SettingsButton", "ReportsButton"};
    for (size_t i = 0; i < kindButtons_.size(); ++i) {
        auto *b = new QRadioButton(QString::fromLatin1(captions.kinds[i]), KindPanel);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setGeometry(12, 22 + int(i) * 24, client.width() - 40, 22);
        kindButtons_[i] = b;
    }

    const int buttonsTop = client.height() - 33;
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setGeometry(8, buttonsTop - 24, client.width() - 16, 16);
    Progress->setTextVisible(false);
    Progress->setRange(0, 1000);
    Progress->hide();

    const int w = (client.width() - 32) / 3;
    StartButton = makeButton(this, "StartButton", captions.start, QRect(8, buttonsTop, w, 25));
    StartButton->setDefault(true);
    CancelButton = makeButton(this, "CancelButton", "&Cancel", QRect(16 + w, buttonsTop, w, 25));
    HelpButton = makeButton(this, "HelpButton", "&Help", QRect(24 + 2 * w, buttonsTop, w, 25));
    connect(CancelButton, &QPushButton::clicked, this, &ExchangeDialog::CancelButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &ExchangeDialog::HelpButtonClick);
}

ExchangeKind ExchangeDialog::kind() const
{
    for (size_t i = 0; i < kindButtons_.size(); ++i) {
        if (kindButtons_[i]->isChecked())
            return ExchangeKind(i);
    }
    return ExchangeKind::Table;
}

void ExchangeDialog::setKind(ExchangeKind kind) { kindButtons_[size_t(kind)]->setChecked(true); }

void ExchangeDialog::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    setKind(ExchangeKind::Table);
    FormShow();
    style();
}

void ExchangeDialog::CancelButtonClick()
{
    if (busy_)
        cancelled_ = true; // the copy stops at its next step
    else
        reject();
}

void ExchangeDialog::reject()
{
    if (busy_)
        cancelled_ = true; // Escape or the close box: the run ends first
    else
        QDialog::reject();
}

void ExchangeDialog::HelpButtonClick() { showHelp(this, QLatin1String(kHelpKeyword)); }

ExchangeOutcome ExchangeDialog::run(const std::function<ExchangeOutcome(const CopyControl &)> &work)
{
    busy_ = true;
    cancelled_ = false;
    StartButton->setEnabled(false);
    KindPanel->setEnabled(false);
    Progress->setValue(0);
    Progress->show();
    CopyControl control;
    control.progress = [this](qint64 done, qint64 total) {
        Progress->setValue(total > 0 ? int(done * 1000 / total) : 1000);
        QApplication::processEvents();
        return !cancelled_;
    };
    // The hourglass while a file is copied; every message box has the normal cursor.
    control.copying = [](bool copying) {
        if (copying)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    const ExchangeOutcome outcome = work(control);
    Progress->hide();
    StartButton->setEnabled(true);
    KindPanel->setEnabled(true);
    busy_ = false;
    if (outcome != ExchangeOutcome::Stopped) {
        CancelButton->setText(QStringLiteral("&Close"));
        CancelButton->setFocus();
    }
    return outcome;
}

} // namespace kv
