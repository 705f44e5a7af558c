#include "edit/ui/myedit.h"

#include "edit/ui/myoscaraward.h"
#include "edit/ui/recordprintout.h"
#include "app/workspace/records.h"
#include "help/help.h"
#include "report_engine/print/printeroutput.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kv {

namespace {

constexpr int kDesignWidth = 632;
constexpr int kDesignHeight = 418;
constexpr char kHelpKeyword[] = "Input Window";
const QString kCaption = QStringLiteral("Edit");

constexpr int kWriterField = 38;

// Boxes whose leaving refreshes the title echo.
constexpr int kEchoFields[] = {1, 11, 38, 26, 23, 30, 29, 25, 39, 40};

// A combo box that was empty makes its first entry current, which would replace the
// value the box shows: the box keeps its text.
void appendEntry(QComboBox *combo, const QString &entry)
{
    const QString shown = combo->currentText();
    const QSignalBlocker quiet(combo);
    combo->addItem(entry);
    if (combo->currentText() != shown) {
        combo->setCurrentIndex(-1);
        combo->setEditText(shown);
    }
}

QString boxText(const QWidget *w, BoxKind kind)
{
    switch (kind) {
    case BoxKind::Text: return static_cast<const QLineEdit *>(w)->text();
    case BoxKind::Date: return static_cast<const QLineEdit *>(w)->displayText();
    case BoxKind::DropDown: return static_cast<const QComboBox *>(w)->currentText();
    case BoxKind::Check: break;
    }
    return QString();
}

// Typing stops at a box's width, but a longer text that the program puts in (an Oscar
// dialog's result) shows whole; the update cuts it to the field.
void putText(QLineEdit *edit, int field, const QString &text)
{
    edit->setMaxLength(std::max(boxMaxLength(field), int(text.size())));
    edit->setText(text);
}

} // namespace

TMyEdit::TMyEdit(Workspace &workspace, QWidget *parent) : StyledDialog(WindowFamily::Edit, parent, Placement::CentredRaised), ws_(workspace)
{
    setObjectName(QStringLiteral("MyEdit"));
    setWindowTitle(kCaption);
    // No minimise or maximise buttons; the close box stays.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setHelpKeyword(this, QLatin1String(kHelpKeyword));
    buildPages();
    buildButtons();
    buildMenus();
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->addWidget(Notebook, 1);
    auto *row = new QHBoxLayout;
    for (const char *name : {"UpdateExitButton", "UpdateButton", "ClearButton", "CancelButton", "PrevButton",
                             "NextButton"})
        row->addWidget(buttons_.at(QString::fromLatin1(name)));
    layout->addLayout(row);
    setFixedSize(kDesignWidth, kDesignHeight + menuBar_->sizeHint().height());

    for (const EditBox &b : editBoxes()) {
        QWidget *w = boxes_.at(b.field);
        w->installEventFilter(this);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->lineEdit()->installEventFilter(this);
    }
    connect(static_cast<QCheckBox *>(boxes_.at(fields::CheckOut)), &QCheckBox::clicked, this,
            &TMyEdit::CheckOutClick);
    for (int n = 1; n <= 16; ++n) {
        if (!isCatalogueList(n))
            continue;
        const PickList &list = ws_.pickLists().list(n);
        connect(&list, &PickList::changed, this, [this, n] { fillDropDowns(n); });
        // An addition on update only appends: a long list is not filled in again.
        connect(&list, &PickList::appended, this, [this, n](const QString &entry) {
            for (const EditBox &b : editBoxes()) {
                if (b.list == n)
                    appendEntry(static_cast<QComboBox *>(boxes_.at(b.field)), entry);
            }
        });
        fillDropDowns(n);
    }
    if (ws_.browseOnly()) {
        for (const char *name : {"MenuNew", "MenuClear", "MenuUpdate", "MenuUpdateExit", "MenuCut", "MenuCopy",
                                 "MenuPaste", "MenuDelete"})
            items_.at(QString::fromLatin1(name))->setEnabled(false);
        for (const char *name : {"UpdateExitButton", "UpdateButton", "ClearButton"})
            buttons_.at(QString::fromLatin1(name))->setEnabled(false);
    }
}

TMyEdit::~TMyEdit() = default;

void TMyEdit::buildButtons()
{
    const struct {
        const char *name;
        const char *caption;
        void (TMyEdit::*run)();
    } buttons[] = {
        {"UpdateExitButton", "&Update && Exit", &TMyEdit::DoUpdateAndExit},
        {"UpdateButton", "Up&date", &TMyEdit::DoAnUpdate},
        {"ClearButton", "C&lear", &TMyEdit::DoClear},
        {"CancelButton", "E&xit", &TMyEdit::DoExit},
        {"PrevButton", "&Previous", &TMyEdit::DoPreviousRecord},
        {"NextButton", "&Next", &TMyEdit::DoNextRecord},
    };
    QWidget *previous = Notebook;
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false); // Enter moves between the boxes
        const auto run = b.run;
        connect(button, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
        buttons_[button->objectName()] = button;
        setTabOrder(previous, button);
        previous = button;
    }
}

void TMyEdit::buildMenus()
{
    menuBar_ = new QMenuBar(this);
    const auto item = [this](QMenu *menu, const char *name, const char *caption, QKeyCombination key,
                             std::function<void()> run) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (key.key() != Qt::Key_unknown)
            a->setShortcut(QKeySequence(key));
        connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
        items_[a->objectName()] = a;
        return a;
    };
    const QKeyCombination none(Qt::Key_unknown);
    QMenu *file = menuBar_->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    item(file, "MenuNew", "N&ew Record", Qt::CTRL | Qt::Key_E, [this] { MenuNewClick(); });
    item(file, "MenuCopyRecord", "Cop&y Record", Qt::CTRL | Qt::Key_Y, [this] { MenuCopyRecordClick(); });
    item(file, "MenuClear", "&Clear Record", Qt::CTRL | Qt::Key_L, [this] { DoClear(); });
    item(file, "MenuUpdate", "Up&date Record", Qt::CTRL | Qt::Key_R, [this] { DoAnUpdate(); });
    item(file, "MenuUpdateExit", "&Update && Exit", Qt::CTRL | Qt::Key_U, [this] { DoUpdateAndExit(); });
    // The record printout comes later.
    item(file, "MenuPrintRecord", "Prin&t Record", Qt::CTRL | Qt::Key_T, [this] { MenuPrintRecordClick(); });
    file->addSeparator();
    item(file, "MenuPrevious", "&Previous Record", Qt::CTRL | Qt::Key_P, [this] { DoPreviousRecord(); });
    item(file, "MenuNext", "&Next Record", Qt::CTRL | Qt::Key_N, [this] { DoNextRecord(); });
    file->addSeparator();
    item(file, "MenuExit", "E&xit", none, [this] { DoExit(); });

    // The clipboard items act on the text or drop-down box that has the focus.
    const auto onFocusedText = [](std::function<void(QLineEdit *)> act) {
        return [act] {
            auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            if (edit && edit->inputMask().isEmpty()) // not on the date boxes
                act(edit);
        };
    };
    QMenu *edit = menuBar_->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    item(edit, "MenuCut", "Cu&t", Qt::CTRL | Qt::Key_X, onFocusedText([](QLineEdit *e) { e->cut(); }));
    item(edit, "MenuCopy", "&Copy", Qt::CTRL | Qt::Key_C, onFocusedText([](QLineEdit *e) { e->copy(); }));
    item(edit, "MenuPaste", "&Paste", Qt::CTRL | Qt::Key_V, onFocusedText([](QLineEdit *e) { e->paste(); }));
    item(edit, "MenuDelete", "&Delete", Qt::CTRL | Qt::Key_D, onFocusedText([](QLineEdit *e) { e->del(); }));

    QAction *help = menuBar_->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    help->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    addAction(help);
    connect(help, &QAction::triggered, this, [this] { showHelp(this, QLatin1String(kHelpKeyword)); });
    items_[help->objectName()] = help;
}

void TMyEdit::fillDropDowns(int listNumber)
{
    const QStringList &entries = ws_.pickLists().entries(listNumber);
    for (const EditBox &b : editBoxes()) {
        if (b.list != listNumber)
            continue;
        auto *combo = static_cast<QComboBox *>(boxes_.at(b.field));
        const QString typed = combo->currentText();
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItems(entries);
        combo->setCurrentIndex(-1);
        combo->setEditText(typed);
    }
}

// ---------------------------------------------------------------- boxes

void TMyEdit::MenuPrintRecordClick()
{
    static bool printing = false;
    Prompt &prompt = ws_.prompt();
    if (printing) {
        prompt.showError(QString::fromLatin1(kOtherPrintJob));
        return;
    }
    const std::optional<PrintRequest> request = prompt.printDialog(QStringLiteral("Print"), QString());
    if (!request)
        return;
    printing = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    RecordForm f = form();
    // Date boxes print as they show, separators and all.
    for (int field : {int(fields::CheckDate), int(fields::PurchDate)})
        f.text[size_t(field)] = static_cast<QLineEdit *>(boxes_.at(field))->displayText();
    PrinterOutput output(request->printer, request->pdfPath);
    QString error;
    const bool ok = printRecordLines(recordPrintoutLines(f, ws_.settings()), request->copies, output, &error);
    QGuiApplication::restoreOverrideCursor();
    printing = false;
    if (!ok)
        prompt.showError(error);
}

RecordForm TMyEdit::form() const
{
    RecordForm f;
    for (const EditBox &b : editBoxes()) {
        if (b.kind != BoxKind::Check)
            f.text[size_t(b.field)] = boxText(boxes_.at(b.field), b.kind);
    }
    f.checkOut = static_cast<QCheckBox *>(boxes_.at(fields::CheckOut))->isChecked();
    f.viewed = static_cast<QCheckBox *>(boxes_.at(fields::Viewed))->isChecked();
    return f;
}

void TMyEdit::setForm(const RecordForm &f)
{
    for (const EditBox &b : editBoxes()) {
        QWidget *w = boxes_.at(b.field);
        const QString &text = f.text[size_t(b.field)];
        switch (b.kind) {
        case BoxKind::Text: putText(static_cast<QLineEdit *>(w), b.field, text); break;
        case BoxKind::Date: static_cast<QLineEdit *>(w)->setText(text); break;
        case BoxKind::DropDown: static_cast<QComboBox *>(w)->setEditText(text); break;
        case BoxKind::Check: break;
        }
    }
    static_cast<QCheckBox *>(boxes_.at(fields::CheckOut))->setChecked(f.checkOut);
    static_cast<QCheckBox *>(boxes_.at(fields::Viewed))->setChecked(f.viewed);
}

int TMyEdit::currentPage() const { return Notebook->currentIndex() + 1; }

void TMyEdit::focusBox(int field)
{
    Notebook->setCurrentIndex(editBoxOf(field).page - 1);
    // As Tab does: the box's text selected, so typing replaces it, and a date mask's
    // cursor at its first place. The page switch may have given the box the focus
    // already, so this is done here rather than left to the focus event.
    QWidget *box = boxes_.at(field);
    box->setFocus(Qt::TabFocusReason);
    QLineEdit *edit = qobject_cast<QLineEdit *>(box);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        edit = combo->lineEdit();
    if (!edit)
        return;
    if (edit->inputMask().isEmpty())
        edit->selectAll();
    else
        edit->setCursorPosition(0);
}

void TMyEdit::LoadInData()
{
    // An empty catalogue has no record to show: every box empty.
    const RecordForm f = ws_.master().recordCount() > 0 ? loadForm(ws_.master()) : RecordForm();
    setForm(f);
    stash_.fillFrom(f);
    SetCaptions();
}

void TMyEdit::selectItems(OscarMode mode)
{
    const int field = oscarTargetField(mode);
    auto *target = static_cast<QLineEdit *>(boxes_.at(field));
    TMyOscarAward dialog(mode, readProgramWideList(oscarListNumber(mode)), target->text(), this);
    if (dialog.exec() == QDialog::Accepted)
        putText(target, field, dialog.result());
}

void TMyEdit::DoClear()
{
    const RecordForm blank = blankForm();
    setForm(blank);
}

void TMyEdit::SaveValues()
{
    snapshot_ = snapshotOf(form());
    setWindowTitle(kCaption);
}

bool TMyEdit::ValuesChanged() const { return valuesChanged(snapshot_, form()); }

void TMyEdit::SetCaptions()
{
    const QString echo = titleEcho(ws_.settings().field(fields::Title).caption,
                                   static_cast<QLineEdit *>(boxes_.at(fields::Title))->text());
    for (QLabel *l : {WarrantyItem, LibraryItem, WorthItem})
        l->setText(echo);
}

void TMyEdit::SetColors()
{
    style();
    // The writers' box is a text box in the colours of the drop-downs.
    const ColorSet &colors = ws_.settings().colorSet(WindowFamily::Edit);
    QWidget *writer = boxes_.at(kWriterField);
    QPalette palette = writer->palette();
    palette.setColor(QPalette::Base, colors[ColorRole::ComboBackground]);
    palette.setColor(QPalette::Text, colors[ColorRole::ComboText]);
    writer->setPalette(palette);
}

void TMyEdit::CheckOutClick(bool ticked)
{
    RecordForm f = form();
    if (ticked)
        stash_.tick(f);
    else
        stash_.untick(f);
    setForm(f);
}

// ---------------------------------------------------------------- update and steps

bool TMyEdit::DoUpdate()
{
    if (ws_.browseOnly())
        return false;
    const UpdateOutcome outcome = updateMasterRecord(ws_, mode_, form());
    if (outcome.failure) {
        ws_.prompt().showError(outcome.failure->message);
        focusBox(outcome.failure->field);
    }
    return outcome.result == UpdateResult::Written;
}

void TMyEdit::DoAnUpdate()
{
    if (DoUpdate())
        SaveValues();
}

void TMyEdit::DoUpdateAndExit()
{
    if (DoUpdate())
        accept();
}

void TMyEdit::DoExit()
{
    if (confirmExit(ws_.prompt(), ValuesChanged(), ws_.browseOnly()))
        accept();
}

void TMyEdit::moveTo(Step step)
{
    const QString question = stepQuestion(step, mode_, ValuesChanged(), ws_.browseOnly());
    if (!settleChanges(ws_.prompt(), question, [this] { return DoUpdate(); }))
        return;
    stepRecord(ws_.master(), step);
    LoadInData();
    SaveValues();
    mode_ = EditMode::Edit;
}

void TMyEdit::DoPreviousRecord() { moveTo(Step::Previous); }
void TMyEdit::DoNextRecord() { moveTo(Step::Next); }

void TMyEdit::MenuNewClick()
{
    const QString question = ValuesChanged() ? QString::fromLatin1(kNewRecordQuestion) : QString();
    if (!settleChanges(ws_.prompt(), question, [this] { return DoUpdate(); }))
        return;
    DoClear();
    mode_ = EditMode::Add;
    SaveValues();
    setWindowTitle(QStringLiteral("Edit (New Record)"));
}

void TMyEdit::MenuCopyRecordClick()
{
    const QString question = ValuesChanged() ? QString::fromLatin1(kCopyRecordQuestion) : QString();
    if (!settleChanges(ws_.prompt(), question, [this] { return DoUpdate(); }))
        return;
    mode_ = EditMode::Add;
    SaveValues();
    setWindowTitle(QStringLiteral("Edit (New Copied Record)"));
}

// ---------------------------------------------------------------- showing and closing

void TMyEdit::showEvent(QShowEvent *event)
{
    StyledDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMyEdit::FormShow()
{
    SetColors();
    for (const auto &[field, label] : labels_)
        label->setText(ws_.settings().field(field).caption);
    // A screen reader names each box by its field's caption, also where no label stands
    // beside it (Star 2 ... Star 6, the boxes with buttons in their row).
    for (const auto &[field, box] : boxes_) {
        if (qobject_cast<QCheckBox *>(box))
            continue;
        box->setAccessibleName(ws_.settings().field(field).caption);
        // A drop-down's edit line takes the keys: it carries the name too.
        if (auto *combo = qobject_cast<QComboBox *>(box); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(box->accessibleName());
    }
    static_cast<QCheckBox *>(boxes_.at(fields::Viewed))->setText(ws_.settings().field(fields::Viewed).caption);
    static_cast<QCheckBox *>(boxes_.at(fields::CheckOut))->setText(ws_.settings().field(fields::CheckOut).caption);
    for (QWidget *date : {boxes_.at(fields::CheckDate), boxes_.at(fields::PurchDate)})
        static_cast<QLineEdit *>(date)->setInputMask(dateBoxMask());
    Notebook->setCurrentIndex(0);
    if (mode_ == EditMode::Edit || mode_ == EditMode::Copy)
        LoadInData();
    else
        DoClear();
    SetCaptions();
    SaveValues();
    boxes_.at(fields::Title)->setFocus(Qt::OtherFocusReason);
}

void TMyEdit::done(int result)
{
    ws_.pickLists().SaveAllLists(ws_.paths().basePath);
    QDialog::done(result);
}

void TMyEdit::closeEvent(QCloseEvent *event)
{
    // The close box leaves as Exit does: typed changes are not dropped without asking.
    if (isVisible() && !confirmExit(ws_.prompt(), ValuesChanged(), ws_.browseOnly())) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TMyEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        DoExit();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMyEdit::focusNextInOrder(QWidget *from)
{
    const auto &all = editBoxes();
    for (size_t k = 0; k < all.size(); ++k) {
        QWidget *w = boxes_.at(all[k].field);
        if (w == from || w->isAncestorOf(from)) {
            focusBox(all[(k + 1) % all.size()].field);
            return;
        }
    }
}

bool TMyEdit::eventFilter(QObject *watched, QEvent *event)
{
    auto *w = qobject_cast<QWidget *>(watched);
    if (event->type() == QEvent::KeyPress && w) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextInOrder(w);
            return true; // Enter never reaches a box
        }
    }
    if (event->type() == QEvent::FocusOut && w) {
        for (int f : {int(fields::ListPrice), int(fields::PurchPrice)}) {
            if (watched == boxes_.at(f)) {
                // Group separators may make the shown price longer than the box takes
                // when typed: it shows whole, never cut to a smaller number.
                auto *edit = static_cast<QLineEdit *>(boxes_.at(f));
                putText(edit, f, reformattedPrice(edit->text()));
            }
        }
        for (int f : kEchoFields) {
            if (watched == boxes_.at(f))
                SetCaptions();
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kv
