#include "myreport.h"

#include "help/help.h"
#include "report_engine/print/printeroutput.h"
#include "reports/reportfile.h"
#include "reports/ui/labelside.h"
#include "reports/ui/mypreview.h"
#include "reports/ui/printselect.h"
#include "reports/commands/reportoutput.h"
#include "reports/ui/reportform.h"
#include "reports/ui/userreport.h"

#include <QAction>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <memory>

namespace kv {

namespace {
constexpr int kEntire = 1, kSearch = 2, kFace = 3, kSpine = 4;
// Alt+F is the File menu's.
constexpr char kPrintToFile[] = "Print &To File";
const QString kHelpTopic = QStringLiteral("Report Window");

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
} // namespace

TMyReport::TMyReport(Workspace &ws, QWidget *parent)
    : StyledDialog(WindowFamily::Report, parent), ws_(ws), pdfPaper_(localePaperId())
{
    setObjectName(QStringLiteral("TMyReport"));
    setWindowTitle(QStringLiteral("Reports"));
    buildControls();
    buildLabelSide();
    setDefinitionEditors([this] { editDefinition(TUserReport::kNewReport); },
                         [this] {
                             if (ReportBox->currentRow() >= 0) {
                                 // A damaged record is not opened: saving it would keep its damage.
                                 const QString damage = ReportFile().damageMessage(ReportBox->currentRow());
                                 if (damage.isEmpty())
                                     editDefinition(ReportBox->currentRow());
                                 else
                                     ws_.prompt().showError(damage);
                                 return;
                             }
                             ws_.prompt().beep();
                             ws_.prompt().showError(QString::fromLatin1(kNoReportSelected));
                             ReportBox->setFocus();
                         });
    setHelpKeyword(this, kHelpTopic);
}

void TMyReport::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    QMenu *file = menus->addMenu(QStringLiteral("&File"));
    const auto item = [](QMenu *menu, const char *name, const QString &text, QKeySequence key) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        return a;
    };
    MenuNew = item(file, "MenuNew", QStringLiteral("&New Report"), QKeySequence(Qt::CTRL | Qt::Key_N));
    MenuModify = item(file, "MenuModify", QStringLiteral("&Modify Report"), QKeySequence(Qt::CTRL | Qt::Key_M));
    file->addSeparator();
    MenuView = item(file, "MenuView", QStringLiteral("&View"), QKeySequence(Qt::CTRL | Qt::Key_V));
    MenuPrint = item(file, "MenuPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    MenuPrintToFile =
        item(file, "MenuPrintToFile", QString::fromLatin1(kPrintToFile), QKeySequence(Qt::CTRL | Qt::Key_F));
    MenuPrinterSetup = item(file, "PrinterSetup", QStringLiteral("Printer &Setup"), QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    MenuExit = item(file, "MenuExit", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));
    QMenu *help = menus->addMenu(QStringLiteral("&Help"));
    MenuHelp = item(help, "MenuHelp", QStringLiteral("&Help"), QKeySequence());

    auto *what = new QGroupBox(QStringLiteral("What to Print"), this);
    auto *whatLayout = new QVBoxLayout(what);
    ExportEntire = new QRadioButton(QStringLiteral("Entire Database"), what);
    ExportEntire->setObjectName(QStringLiteral("ExportEntire"));
    ExportSearch = new QRadioButton(QStringLiteral("Search Criteria"), what);
    ExportSearch->setObjectName(QStringLiteral("ExportSearch"));
    FaceLabels = new QRadioButton(QStringLiteral("Face Labels"), what);
    FaceLabels->setObjectName(QStringLiteral("FaceLabels"));
    SpineLabels = new QRadioButton(QStringLiteral("Spine Labels"), what);
    SpineLabels->setObjectName(QStringLiteral("SpineLabels"));
    for (QRadioButton *r : {ExportEntire, ExportSearch, FaceLabels, SpineLabels}) {
        whatLayout->addWidget(r);
        connect(r, &QRadioButton::clicked, this, &TMyReport::WhatToPrintClick);
    }

    sides_ = new QStackedWidget(this);
    auto *reportSide = new QWidget(sides_);
    auto *reportLayout = new QVBoxLayout(reportSide);
    ReportBox = new QListWidget(reportSide);
    ReportBox->setObjectName(QStringLiteral("ReportBox"));
    ReportBox->setAccessibleName(QStringLiteral("Reports")); // no label stands over it
    auto *sortTitle = new QLabel(QStringLiteral("Sort Order:"), reportSide);
    SortOrderLabel = new QLabel(reportSide);
    SortOrderLabel->setObjectName(QStringLiteral("SortOrderLabel"));
    auto *editors = new QHBoxLayout;
    NewButton = button(reportSide, "NewButton", QStringLiteral("&New Report"));
    ModifyButton = button(reportSide, "ModifyButton", QStringLiteral("&Modify Report"));
    editors->addWidget(NewButton);
    editors->addWidget(ModifyButton);
    reportLayout->addWidget(ReportBox, 1);
    reportLayout->addLayout(editors);
    reportLayout->addWidget(sortTitle);
    reportLayout->addWidget(SortOrderLabel);
    labelPage_ = new QWidget(sides_);
    labelPage_->setObjectName(QStringLiteral("LabelPage"));
    sides_->addWidget(reportSide);
    sides_->addWidget(labelPage_);

    auto *buttons = new QHBoxLayout;
    ViewButton = button(this, "ViewButton", QStringLiteral("&View"));
    PrintButton = button(this, "PrintButton", QStringLiteral("&Print"));
    FileButton = button(this, "FileButton", QString::fromLatin1(kPrintToFile));
    PrinterSetupButton = button(this, "PrinterSetupButton", QStringLiteral("Printer &Setup"));
    ExitButton = button(this, "ExitButton", QStringLiteral("E&xit"));
    HelpButton = button(this, "HelpButton", QStringLiteral("He&lp")); // Alt+H is the Help menu's
    for (QPushButton *b : {ViewButton, PrintButton, FileButton, PrinterSetupButton, ExitButton, HelpButton})
        buttons->addWidget(b);

    auto *middle = new QHBoxLayout;
    middle->addWidget(sides_, 1);
    middle->addWidget(what);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    const auto both = [this](QPushButton *b, QAction *a, auto slot) {
        connect(b, &QPushButton::clicked, this, slot);
        connect(a, &QAction::triggered, this, slot);
    };
    both(ViewButton, MenuView, [this] { ViewButtonClick(); });
    both(PrintButton, MenuPrint, [this] { PrintButtonClick(); });
    both(FileButton, MenuPrintToFile, [this] { FileButtonClick(); });
    both(PrinterSetupButton, MenuPrinterSetup, [this] { PrinterSetupClick(); });
    both(ExitButton, MenuExit, [this] { accept(); });
    both(HelpButton, MenuHelp, [this] { showHelp(this, kHelpTopic); });
    both(NewButton, MenuNew, [this] {
        if (newReport_)
            newReport_();
    });
    both(ModifyButton, MenuModify, [this] {
        if (modifyReport_)
            modifyReport_();
    });
}

// The label side fills the label page: the checked kind shapes its grid, View and Print
// run a sheet, and the file button opens the label options.
void TMyReport::buildLabelSide()
{
    labelSide_ = new TLabelSide(ws_, labelPage_);
    auto *layout = new QVBoxLayout(labelPage_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(labelSide_);
    labelSide_->setOptionsButton(FileButton);
    onLabelRun = [this](int mode) {
        if (mode == int(OutputMode::TextFile))
            labelSide_->OptionsClick();
        else
            labelSide_->DoItLabel(mode);
    };
    for (QRadioButton *kind : {FaceLabels, SpineLabels}) {
        connect(kind, &QRadioButton::toggled, this, [this, kind](bool on) {
            if (on)
                labelSide_->setKind(kind == FaceLabels ? LabelKind::Face : LabelKind::Spine);
        });
    }
}

void TMyReport::setDefinitionEditors(std::function<void()> newReport, std::function<void()> modifyReport)
{
    newReport_ = std::move(newReport);
    modifyReport_ = std::move(modifyReport);
    NewButton->setEnabled(bool(newReport_));
    MenuNew->setEnabled(bool(newReport_));
    ModifyButton->setEnabled(bool(modifyReport_));
    MenuModify->setEnabled(bool(modifyReport_));
}

void TMyReport::editDefinition(int index)
{
    ReportFile file;
    TUserReport editor(ws_, file, current_, index, this);
    if (execChild(editor) != QDialog::Accepted)
        return;
    loadReportList();
    if (editor.change() == TUserReport::Change::Written)
        ReportBox->setCurrentRow(editor.writtenIndex());
}

void TMyReport::loadReportList()
{
    const int row = ReportBox->currentRow();
    ReportBox->clear();
    ReportBox->addItems(ReportFile().names());
    if (row >= 0 && row < ReportBox->count())
        ReportBox->setCurrentRow(row);
}

void TMyReport::showEvent(QShowEvent *event)
{
    Settings &s = ws_.settings();
    style();
    int what = s.whatToPrint >= kEntire && s.whatToPrint <= kSpine ? s.whatToPrint : kEntire;
    const bool searchOn = ws_.search().isOn();
    ExportSearch->setEnabled(searchOn);
    if (!searchOn && what == kSearch)
        what = kEntire;
    if (searchOn && what == kEntire)
        what = kSearch;
    QRadioButton *const radios[] = {ExportEntire, ExportSearch, FaceLabels, SpineLabels};
    radios[what - 1]->setChecked(true);
    loadReportList();
    if (s.lastReport >= 0 && s.lastReport < ReportBox->count())
        ReportBox->setCurrentRow(s.lastReport);
    SortOrderLabel->setText(sortOrderText());
    showSide();
    StyledDialog::showEvent(event);
}

void TMyReport::done(int result)
{
    ws_.settings().lastReport = ReportBox->currentRow();
    QDialog::done(result);
}

QString TMyReport::sortOrderText() const
{
    QStringList captions;
    for (int level : ws_.settings().sortLevels) {
        if (level >= 1 && level <= kFieldCount)
            captions << ws_.settings().field(level).caption;
    }
    return captions.isEmpty() ? QString::fromLatin1(kNoSortOrder) : captions.join(QStringLiteral(", "));
}

bool TMyReport::labelKind() const { return FaceLabels->isChecked() || SpineLabels->isChecked(); }

void TMyReport::showSide()
{
    sides_->setCurrentWidget(labelKind() ? labelPage_ : sides_->widget(0));
    FileButton->setText(labelKind() ? QStringLiteral("&Options") : QString::fromLatin1(kPrintToFile));
}

void TMyReport::WhatToPrintClick()
{
    const QRadioButton *const radios[] = {ExportEntire, ExportSearch, FaceLabels, SpineLabels};
    for (int i = 0; i < 4; ++i) {
        if (radios[i]->isChecked())
            ws_.settings().whatToPrint = i + 1;
    }
    showSide();
}

void TMyReport::run(int mode)
{
    if (labelKind()) {
        if (onLabelRun)
            onLabelRun(mode);
        return;
    }
    DoIt(mode);
}

void TMyReport::FileButtonClick()
{
    if (labelKind()) {
        run(int(OutputMode::TextFile));
        return;
    }
    FileDialogSpec spec;
    spec.title = QString::fromLatin1(kSaveTitle);
    spec.filter = QStringLiteral("Text Files (*.TXT)|*.TXT");
    spec.defaultExtension = QStringLiteral("TXT");
    spec.confirmOverwrite = true;
    const QString path = ws_.prompt().saveFileName(spec);
    if (!path.isEmpty())
        DoIt(int(OutputMode::TextFile), path);
}

void TMyReport::PrinterSetupClick()
{
    TPrintSelect dialog(ws_.settings(), printerNames(), this, &pdfPaper_);
    styleChild(&dialog);
    execChild(dialog);
}

void TMyReport::DoIt(int mode, const QString &textPath)
{
    Prompt &prompt = ws_.prompt();
    const std::optional<TReportDefRec> def = readReportForRun(ReportFile(), ReportBox->currentRow(), prompt);
    if (!def) {
        ReportBox->setFocus();
        return;
    }
    Settings &s = ws_.settings();
    // A PDF file's paper is the locale's unless Printer Selection says otherwise.
    PageStream stream;
    const std::unique_ptr<PageOutput> output =
        reportRunOutput(s, prompt, OutputMode(mode), QPageSize(pdfPaper_).size(QPageSize::Inch), stream);
    if (!output)
        return;
    // The whole catalogue while a search is on: the search is ended for the run.
    const bool endSearch = ws_.search().isOn() && ExportEntire->isChecked();
    if (endSearch)
        ws_.search().end();
    ReportRunSetup setup = reportRunSetup(*def, OutputMode(mode), s);
    setup.textPath = textPath;

    std::unique_ptr<TMyPreview> preview;
    const auto makePreview = [&] {
        preview = std::make_unique<TMyPreview>(stream, def->name, false, s, prompt, this);
        styleChild(preview.get());
    };
    bool completed = false, previewClosed = false;
    {
        TReportForm form(ws_.master(), setup, *output, prompt, this);
        styleChild(&form);
        if (mode == int(OutputMode::View)) {
            // A long run shows its first page at once and goes on filling the preview;
            // closing the preview meanwhile cancels the run.
            QElapsedTimer clock;
            clock.start();
            form.onPageDone = [&](int pages) {
                if (!preview && clock.elapsed() >= earlyPreviewMs) {
                    makePreview();
                    preview->setWindowModality(Qt::ApplicationModal);
                    connect(preview.get(), &QDialog::finished, &form, [&] {
                        previewClosed = true;
                        form.cancel();
                    });
                    form.closeWhenDone();
                    preview->setPagesReady(pages);
                    showChild(*preview);
                } else if (preview) {
                    preview->setPagesReady(pages);
                }
            };
        }
        execChild(form);
        completed = form.completed();
        if (preview)
            preview->disconnect(&form);
    }
    // The search is on again as soon as the run is over, while its pages are looked at.
    if (endSearch) {
        ws_.search().restart();
        ws_.master().refresh();
        ws_.announceCount();
    }
    if (mode == int(OutputMode::View) && completed) {
        if (!preview)
            makePreview();
        preview->setPagesReady(-1);
        if (!previewClosed)
            execChild(*preview);
    }
    ws_.master().refresh();
    ws_.announceCount();
}

} // namespace kv
