#include "reports/userreport.h"

#include "reports/reportlayout.h"
#include "store/fieldtable.h"

#include <algorithm>
#include <climits>

namespace kv {

namespace {

constexpr char kWarning[] = "Warning";
constexpr char kNotice[] = "Notice";
constexpr char kTo90Question[] =
    "Switching to 90 characters from 120 or 150 will truncate the current defined lines.  In addition, the font "
    "size will be reset to a 10 point as a default.  Are you sure you wish to do this?";
constexpr char kTo120Question[] =
    "Switching to 120 characters from 150 will truncate the current defined lines.  In addition, the font size "
    "will be reset to a 8 point as a default.  Are you sure you wish to do this?";
constexpr char kTo120Notice[] = "The Report Body font size has been set to a 8 Point default size as.";
constexpr char kTo150Notice[] = "The Report Body font size has been set to a 6 Point default size as a result of "
                                "switching to 150 characters per line.";
constexpr char kLineCountRange[] = "Number of lines must be in range of 0 to 12.  Please correct.";
constexpr char kRenameQuestion[] =
    "Report Title has changed!  Do you wish to save this as a new report?   (YES saves as new report.  NO "
    "overwrites old report.  CANCEL aborts.)";
constexpr char kDeleteQuestion[] = "Are you sure you want to delete this report?";
constexpr char kInvalidWidth[] = "Invalid width entered.  Please correct.";

QString str(const char *text) { return QString::fromLatin1(text); }

bool askWarning(Prompt &prompt, const char *text)
{
    prompt.beep();
    return prompt.message(MessageKind::Warning, str(kWarning), str(text), Buttons::YesNo, Answer::No) ==
           Answer::Yes;
}

QString marginText(double inches) { return QString::number(inches, 'f', 2); }

// A margin that does not read as a number from 0 to kMaxMargin keeps the value it had.
double marginOf(const QString &text, double old)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && value >= 0 && value <= kMaxMargin ? value : old;
}

} // namespace

QString fontCaption(const TFontRec &font) { return font.name + QLatin1Char(' ') + QString::number(font.size) + "pt"; }

QFont qfontOf(const TFontRec &font)
{
    QFont f(font.name);
    if (font.size > 0)
        f.setPointSize(font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    return f;
}

void takeFont(TFontRec &into, const QFont &font)
{
    into.name = font.family().left(kFontNameLength);
    into.size = qint16(std::clamp(font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF()), kMinFontSize,
                                  kMaxFontSize));
    into.bold = font.bold();
    into.italic = font.italic();
    into.underline = font.underline();
    into.strikeout = font.strikeOut();
}

DefinitionForm formOf(const TReportDefRec &def)
{
    DefinitionForm form;
    form.name = def.name;
    form.lineWidth = def.lineWidth == 150 || def.lineWidth == 120 ? def.lineWidth : 90;
    form.titles = def.titles;
    form.level1Group = def.groupLevel1;
    form.level2Group = def.groupLevel1 && def.groupLevel2;
    form.columnHeaders = def.columnHeaders;
    form.horizontalLines = def.horizontalLines;
    form.verticalLines = def.verticalLines;
    form.dateOnPages = def.dateOnPages;
    form.pageNumbers = def.pageNumbers;
    form.landscape = def.landscape;
    form.useTotals = def.useTotals;
    form.lineCount = QString::number(def.lineCount);
    form.topMargin = marginText(def.topMargin);
    form.bottomMargin = marginText(def.bottomMargin);
    form.leftMargin = marginText(def.leftMargin);
    form.rightMargin = marginText(def.rightMargin);
    return form;
}

std::optional<int> lineCountOf(const QString &text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(count) : std::nullopt;
}

bool lineOptionsEnabled(const QString &lineCountText) { return lineCountOf(lineCountText).value_or(0) < 2; }

ReportDefinitionEdit::ReportDefinitionEdit(TReportDefRec &def, Mode mode, int index)
    : def_(def), mode_(mode), index_(index), readName_(def.name)
{
}

ReportDefinitionEdit ReportDefinitionEdit::forNew(TReportDefRec &def)
{
    def = newReportDef();
    return ReportDefinitionEdit(def, Mode::New, -1);
}

ReportDefinitionEdit ReportDefinitionEdit::forModify(TReportDefRec &def, const ReportFile &file, int index)
{
    file.read(index, def);
    return ReportDefinitionEdit(def, Mode::Modify, index);
}

QString ReportDefinitionEdit::keptName(const QString &typed) { return typed.trimmed().left(kReportNameLength); }

bool ReportDefinitionEdit::deleteEnabled(const QString &name) const
{
    return mode_ == Mode::Modify && keptName(name) == readName_;
}

bool ReportDefinitionEdit::changeWidth(int width, int lineCount, Prompt &prompt)
{
    const int from = def_.lineWidth;
    if (width == from)
        return true;
    if (width == 90 && !askWarning(prompt, kTo90Question))
        return false;
    if (width == 120 && from == 150 && !askWarning(prompt, kTo120Question))
        return false;
    def_.lineWidth = qint16(width);
    for (int n = 1; n <= std::clamp(lineCount, 0, kMaxBodyLines); ++n)
        refitLine(def_.bodyLines[size_t(n - 1)], width);
    def_.bodyFont.size = qint16(width == 90 ? 10 : width == 120 ? 8 : 6);
    if (width == 120)
        prompt.showMessage(str(kNotice), str(kTo120Notice));
    else if (width == 150)
        prompt.showMessage(str(kNotice), str(kTo150Notice));
    return true;
}

std::optional<int> ReportDefinitionEdit::checkLineCount(const QString &text, Prompt &prompt)
{
    const std::optional<int> count = lineCountOf(text);
    if (count && *count >= 0 && *count <= kMaxBodyLines)
        return count;
    prompt.showMessage(str(kNotice), str(kLineCountRange));
    return std::nullopt;
}

ReportDefinitionEdit::Outcome ReportDefinitionEdit::update(const DefinitionForm &form, ReportFile &file,
                                                           Prompt &prompt)
{
    const std::optional<int> count = checkLineCount(form.lineCount, prompt);
    if (!count)
        return Outcome::Stayed;
    def_.lineCount = qint16(*count);
    def_.topMargin = marginOf(form.topMargin, def_.topMargin);
    def_.bottomMargin = marginOf(form.bottomMargin, def_.bottomMargin);
    def_.leftMargin = marginOf(form.leftMargin, def_.leftMargin);
    def_.rightMargin = marginOf(form.rightMargin, def_.rightMargin);
    def_.name = form.name.left(kReportNameLength);
    for (size_t i = 0; i < def_.titles.size(); ++i)
        def_.titles[i] = form.titles[i].left(kTitleLength);
    def_.lineWidth = qint16(form.lineWidth);
    def_.columnHeaders = form.columnHeaders;
    def_.horizontalLines = form.horizontalLines;
    def_.verticalLines = form.verticalLines;
    def_.dateOnPages = form.dateOnPages;
    def_.pageNumbers = form.pageNumbers;
    def_.landscape = form.landscape;
    def_.useTotals = form.useTotals;
    def_.groupLevel1 = form.level1Group;
    def_.groupLevel2 = form.level1Group && form.level2Group;

    if (mode_ == Mode::Modify && def_.name != readName_) {
        prompt.beep();
        switch (prompt.message(MessageKind::Warning, str(kWarning), str(kRenameQuestion), Buttons::YesNoCancel,
                               Answer::Yes)) {
        case Answer::Yes:
            mode_ = Mode::New;
            break;
        case Answer::No:
            break;
        default:
            return Outcome::Stayed;
        }
    }
    const bool ok = mode_ == Mode::New ? file.append(def_) : file.write(index_, def_);
    if (!ok) {
        prompt.showError(file.errorString());
        return Outcome::Failed;
    }
    written_ = mode_ == Mode::New ? int(file.names().size()) - 1 : index_;
    return Outcome::Saved;
}

bool ReportDefinitionEdit::remove(ReportFile &file, Prompt &prompt)
{
    if (mode_ != Mode::Modify || !askWarning(prompt, kDeleteQuestion))
        return false;
    if (!file.remove(index_)) {
        prompt.showError(file.errorString());
        return false;
    }
    return true;
}

QStringList partEntries(const QStringList &captions, bool totalsLine)
{
    QStringList entries;
    if (totalsLine) {
        for (int n = 1; n <= kTotalsEntryCount; ++n)
            entries << totalsEntryName(n);
        return entries;
    }
    for (int n = 1; n <= kFieldCount; ++n)
        entries << (n <= captions.size() ? captions.at(n - 1) : defaultCaption(n));
    return entries;
}

PartChoice choiceOf(const TPartRec &part, bool totalsLine)
{
    PartChoice choice;
    choice.width = QString::number(part.width);
    if (part.isFiller()) {
        choice.kind = PartChoice::Kind::Filler;
    } else if (part.isLabel()) {
        choice.kind = PartChoice::Kind::Label;
        choice.labelText = part.labelText;
    } else {
        choice.kind = PartChoice::Kind::Field;
        choice.entry = (totalsLine ? totalsEntryNumber(part.kind) : fieldNumber(part.kind)) - 1;
    }
    return choice;
}

QString selectedPartText(int line, int part)
{
    if (line == kTotalsLineNumber)
        return QStringLiteral("Totals Line, Item ") + QString::number(part);
    return QStringLiteral("Line ") + QString::number(line) + QStringLiteral(", Item ") + QString::number(part);
}

bool applyPartChoice(TLineRec &line, int part, bool totalsLine, const PartChoice &choice, int lineWidth,
                     Prompt &prompt)
{
    bool ok = false;
    const int width = choice.width.trimmed().toInt(&ok);
    if (!ok || width < SHRT_MIN || width > SHRT_MAX) {
        prompt.beep();
        prompt.showError(str(kInvalidWidth));
        return false;
    }
    line[size_t(part - 1)].width = qint16(width);
    refitLine(line, lineWidth);
    TPartRec &p = line[size_t(part - 1)];
    p.labelText.clear();
    switch (choice.kind) {
    case PartChoice::Kind::Filler:
        p.kind = QString::fromLatin1(kFillerKind);
        break;
    case PartChoice::Kind::Label:
        p.kind = QString::fromLatin1(kLabelKind);
        p.labelText = choice.labelText.trimmed().left(kLabelTextLength);
        break;
    case PartChoice::Kind::Field: {
        const int count = totalsLine ? kTotalsEntryCount : kFieldCount;
        if (choice.entry >= 0 && choice.entry < count) {
            p.kind = totalsLine ? totalsEntryName(choice.entry + 1) : fieldName(choice.entry + 1);
            p.fieldNumber = quint8(choice.entry + 1);
        }
        break;
    }
    }
    return true;
}

} // namespace kv
