#include "search/ui/mylocatedlg.h"

#include "search/ui/hourglass.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kv {

TMyLocateDlg::TMyLocateDlg(Table &table, LocateOptions &options, Prompt &prompt, QWidget *parent)
    : StyledDialog(WindowFamily::Configure, parent), table_(table), options_(options), prompt_(prompt)
{
    setObjectName(QStringLiteral("TMyLocateDlg"));
    setFixedSize(230, 259);

    auto *fieldGroup = new QGroupBox(QStringLiteral("&Field To Search On"), this);
    fieldGroup->setGeometry(8, 4, 214, 52);
    FieldList = new QComboBox(fieldGroup);
    FieldList->setObjectName(QStringLiteral("FieldList"));
    FieldList->setToolTip(QStringLiteral("Select the field to search on"));
    FieldList->setGeometry(10, 20, 194, 24);
    FieldList->installEventFilter(this);

    auto *typeGroup = new QGroupBox(QStringLiteral("&Search Type"), this);
    typeGroup->setGeometry(8, 60, 214, 104);
    CaseCheck = new QCheckBox(QStringLiteral("&Case-sensitive"), typeGroup);
    CaseCheck->setObjectName(QStringLiteral("CaseCheck"));
    CaseCheck->setGeometry(10, 18, 194, 20);
    const struct {
        QRadioButton **radio;
        const char *name;
        const char *caption;
    } radios[] = {{&ExactRadio, "ExactRadio", "&Exact Match"},
                  {&BeginningRadio, "BeginningRadio", "&Partial Match at Beginning"},
                  {&AnywhereRadio, "AnywhereRadio", "Partial Match &Anywhere"}};
    int y = 38;
    for (const auto &r : radios) {
        *r.radio = new QRadioButton(QString::fromLatin1(r.caption), typeGroup);
        (*r.radio)->setObjectName(QString::fromLatin1(r.name));
        (*r.radio)->setGeometry(10, y, 194, 20);
        y += 21;
    }

    auto *valueGroup = new QGroupBox(QStringLiteral("Search &Value"), this);
    valueGroup->setGeometry(8, 168, 214, 52);
    ValueEdit = new QLineEdit(valueGroup);
    ValueEdit->setObjectName(QStringLiteral("ValueEdit"));
    ValueEdit->setToolTip(QStringLiteral("Enter field's search value"));
    ValueEdit->setMaxLength(kMaxLocateValue);
    ValueEdit->setGeometry(10, 20, 194, 24);

    const struct {
        QPushButton **button;
        const char *name;
        const char *caption;
        const char *hint;
    } buttons[] = {{&FirstButton, "FirstButton", "Fi&rst", "Find first match"},
                   {&NextButton, "NextButton", "&Next", "Find next match from current record"},
                   {&CancelButton, "CancelButton", "Cancel", nullptr}};
    int x = 8;
    for (const auto &b : buttons) {
        *b.button = new QPushButton(QString::fromLatin1(b.caption), this);
        (*b.button)->setObjectName(QString::fromLatin1(b.name));
        if (b.hint)
            (*b.button)->setToolTip(QString::fromLatin1(b.hint));
        (*b.button)->setGeometry(x, 226, 68, 26);
        x += 73;
    }
    connect(FirstButton, &QPushButton::clicked, this, &TMyLocateDlg::FirstButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TMyLocateDlg::NextButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Choosing a field starts a new value.
    connect(FieldList, &QComboBox::activated, this, [this] {
        ValueEdit->clear();
        ValueEdit->setFocus();
    });
}

bool TMyLocateDlg::Execute()
{
    if (!table_.isOpen()) {
        prompt_.showError(QString::fromLatin1(kNoActiveDataSet));
        return false;
    }
    fillControls();
    found_ = false;
    style();
    exec();
    return found_;
}

void TMyLocateDlg::fillControls()
{
    setWindowTitle(options_.caption);
    FieldList->clear();
    FieldList->addItems(locateTitles(table_, options_));
    (options_.nextIsDefault ? NextButton : FirstButton)->setDefault(true);
    const int field = table_.fieldIndex(options_.fieldName);
    if (field >= 0) {
        ValueEdit->setText(options_.searchValue);
        FieldList->setCurrentIndex(FieldList->findText(locateTitle(table_, field)));
    } else {
        ValueEdit->clear();
        FieldList->setCurrentIndex(-1);
    }
    CaseCheck->setChecked(options_.caseSensitive);
    QRadioButton *radios[] = {ExactRadio, BeginningRadio, AnywhereRadio};
    radios[int(options_.match)]->setChecked(true);
}

void TMyLocateDlg::readControls()
{
    options_.match = ExactRadio->isChecked()       ? LocateMatch::Exact
                     : AnywhereRadio->isChecked() ? LocateMatch::PartialAnywhere
                                                   : LocateMatch::PartialAtStart;
    options_.caseSensitive = CaseCheck->isChecked();
    options_.searchValue = ValueEdit->text();
    options_.fieldName = locateFieldOf(table_, FieldList->currentText());
}

void TMyLocateDlg::find(bool fromStart)
{
    readControls();
    if (options_.fieldName.isEmpty())
        return;
    bool hit = false;
    {
        HourGlass wait;
        hit = locateRecord(table_, options_, fromStart);
    }
    if (hit) {
        found_ = true;
        accept();
        return;
    }
    prompt_.message(MessageKind::Information, QString::fromLatin1(kLocateNoticeCaption),
                    QString::fromLatin1(fromStart ? kNoLocateMatch : kNoMoreLocateMatches), Buttons::Ok, Answer::Ok);
}

void TMyLocateDlg::FirstButtonClick() { find(true); }
void TMyLocateDlg::NextButtonClick() { find(false); }

void TMyLocateDlg::done(int result)
{
    readControls();
    QDialog::done(result);
}

// While the field list has the focus, Enter chooses a field instead of searching.
bool TMyLocateDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FieldList) {
        if (event->type() == QEvent::FocusIn)
            NextButton->setDefault(false);
        else if (event->type() == QEvent::FocusOut)
            (options_.nextIsDefault ? NextButton : FirstButton)->setDefault(true);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kv
