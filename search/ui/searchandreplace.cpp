#include "search/ui/searchandreplace.h"

#include "app/workspace/records.h"
#include "app/workspace/workspace.h"
#include "base/dateformat.h"
#include "search/criteria.h"
#include "search/ui/hourglass.h"
#include "store/fieldtable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace kv {

namespace {

// The counters are painted every so many records, and whenever a match changes them.
constexpr int kPaintEvery = 4096;

QLabel *label(QWidget *parent, const QString &text, const QRect &at, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(at);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

QString boxText(const QLineEdit *e) { return e->inputMask().isEmpty() ? e->text() : e->displayText(); }

} // namespace

TSearchAndReplace::TSearchAndReplace(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Configure, parent), ws_(workspace)
{
    setObjectName(QStringLiteral("TSearchAndReplace"));
    setWindowTitle(QStringLiteral("Search and Replace"));
    setFixedSize(390, 263);

    label(this, QStringLiteral("Field "), {12, 14, 110, 20});
    FieldList = new QComboBox(this);
    FieldList->setObjectName(QStringLiteral("FieldList"));
    FieldList->setGeometry(130, 12, 248, 24);
    FieldList->setMaxVisibleItems(15);
    for (int n = 1; n <= kFieldCount; ++n)
        FieldList->addItem(ws_.settings().field(n).caption, n);
    FieldList->setCurrentIndex(-1);
    connect(FieldList, &QComboBox::currentIndexChanged, this, &TSearchAndReplace::FieldListChange);

    label(this, QStringLiteral("Text To Search For"), {12, 48, 116, 20});
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setGeometry(130, 46, 248, 24);
    label(this, QStringLiteral("Replacement Text"), {12, 80, 116, 20});
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    ReplaceEdit->setGeometry(130, 78, 248, 24);
    ConfirmCheck = new QCheckBox(QStringLiteral("Confirm Before Replacing"), this);
    ConfirmCheck->setObjectName(QStringLiteral("ConfirmCheck"));
    ConfirmCheck->setGeometry(130, 110, 248, 22);

    StartButton = new QPushButton(QStringLiteral("&Start Search"), this);
    StartButton->setObjectName(QStringLiteral("StartButton"));
    StartButton->setGeometry(84, 142, 100, 28);
    StartButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(206, 142, 100, 28);
    connect(StartButton, &QPushButton::clicked, this, &TSearchAndReplace::StartButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(8, 182, 374, 72);
    const struct {
        const char *caption;
        QLabel **value;
        const char *name;
        int x;
    } counters[] = {{"Processed", &ProcessedValue, "ProcessedValue", 70},
                    {"Found", &FoundValue, "FoundValue", 190},
                    {"Changed", &ChangedValue, "ChangedValue", 310}};
    for (const auto &c : counters) {
        auto *caption = label(this, QString::fromLatin1(c.caption), {c.x - 50, 196, 100, 18});
        caption->setAlignment(Qt::AlignCenter);
        *c.value = label(this, QStringLiteral("0"), {c.x - 50, 225 - 9, 100, 18}, c.name);
        (*c.value)->setAlignment(Qt::AlignCenter);
    }
}

void TSearchAndReplace::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        style();
}

// A new field: both boxes empty, taking what the field's type takes.
void TSearchAndReplace::FieldListChange()
{
    const int n = FieldList->currentData().toInt();
    QString mask;
    int length = 32767;
    if (n >= 1) {
        switch (rowType(n)) {
        case RowType::Text: length = field(n).width; break;
        case RowType::Numeric: mask = QStringLiteral("xxxxxxxxx; "); break;
        case RowType::Date: {
            const QString sep = QStringLiteral("\\") + currentDateFormat().separator;
            mask = QStringLiteral("00") + sep + QStringLiteral("00") + sep + QStringLiteral("9999; ");
            break;
        }
        }
    }
    for (QLineEdit *box : {SearchEdit, ReplaceEdit}) {
        box->setInputMask(mask);
        box->setMaxLength(mask.isEmpty() ? length : box->maxLength());
        box->clear();
    }
}

ReplaceRequest TSearchAndReplace::request() const
{
    return {FieldList->currentIndex() < 0 ? 0 : FieldList->currentData().toInt(), boxText(SearchEdit),
            boxText(ReplaceEdit), ConfirmCheck->isChecked()};
}

void TSearchAndReplace::showCounters(const ReplaceCounters &c)
{
    ProcessedValue->setText(QString::number(c.processed));
    FoundValue->setText(QString::number(c.found));
    ChangedValue->setText(QString::number(c.changed));
}

void TSearchAndReplace::StartButtonClick()
{
    const ReplaceRequest r = request();
    const ReplaceCheck check = checkReplace(r);
    if (!check.ok()) {
        ws_.prompt().showError(check.message);
        QWidget *boxes[] = {nullptr, FieldList, SearchEdit, ReplaceEdit};
        boxes[check.box]->setFocus();
        return;
    }
    ReplaceCounters counters;
    ReplaceHooks hooks;
    hooks.endSearch = [this] {
        const bool on = ws_.search().isOn();
        ws_.search().end();
        return on;
    };
    hooks.restartSearch = [this] { ws_.search().restart(); };
    hooks.viewerChanged = [&] {
        ws_.announceViewer();
        // The run's last counts, past the last match, are up before its closing message.
        showCounters(counters);
        repaint();
    };
    int lastFound = 0;
    hooks.progress = [&](const ReplaceCounters &c) {
        if (c.processed % kPaintEvery == 0 || c.found != lastFound) {
            lastFound = c.found;
            showCounters(c);
            repaint();
        }
    };
    ReplaceResult result;
    {
        HourGlass wait;
        result = replaceInMaster(ws_, r, hooks, counters);
    }
    showCounters(counters);
    if (result == ReplaceResult::Done)
        accept();
}

} // namespace kv
