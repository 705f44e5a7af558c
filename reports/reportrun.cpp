#include "reportrun.h"

#include "app/settings/settings.h"
#include "base/bytescan.h"
#include "base/codepage.h"
#include "base/numberformat.h"
#include "base/numbertext.h"

#include <QLocale>

namespace kv {

namespace {
constexpr int kGroupKeyLength = 120;
// Header and body bands, inches from the page top; the footer's above the bottom margin.
constexpr double kHeaderTop = 0.5, kBodyTop = 1.25, kBodyFooterGap = 0.75, kFooterHeight = 0.5;
constexpr double kBoxRoom = 0.2; // around a centred heading or group header
constexpr int kTextGroupHeaderLines = 4;
const QString kTotals = QStringLiteral("TOTALS");
const QString kGrandTotals = QStringLiteral("GRAND TOTALS");

bool isField(const TPartRec &part) { return !part.isFiller() && !part.isLabel(); }

// A body part whose value is a number or a date: printed whole, condensed if need be.
bool wholeValue(const TPartRec &part)
{
    if (!isField(part) || part.fieldNumber < 1 || part.fieldNumber > kFieldCount)
        return false;
    static const int counterStart = fieldNumber(QStringLiteral("CounterSta")),
                     counterStop = fieldNumber(QStringLiteral("CounterSto"));
    const FieldInfo &f = field(part.fieldNumber);
    return f.type == 'N' || f.printStyle == PrintStyle::Date || part.fieldNumber == counterStart ||
           part.fieldNumber == counterStop;
}

// A totals part that is not a label or a filler is a total: a number.
bool wholeTotal(const TPartRec &part) { return isField(part); }
bool neverWhole(const TPartRec &) { return false; }

template <typename F> void forUsedParts(const TLineRec &line, F &&f)
{
    for (const TPartRec &part : line) {
        if (part.width <= 0)
            break;
        f(part);
    }
}

QString blanks(qsizetype n) { return QString(std::max<qsizetype>(n, 0), QLatin1Char(' ')); }
} // namespace

ReportRunSetup reportRunSetup(const TReportDefRec &def, OutputMode mode, const Settings &settings)
{
    ReportRunSetup s;
    s.def = def;
    s.mode = mode;
    for (int n = 1; n <= kFieldCount; ++n)
        s.captions[size_t(n - 1)] = settings.field(n).caption;
    for (size_t i = 0; i < s.sortLevels.size(); ++i)
        s.sortLevels[i] = settings.sortLevels[i];
    s.dateText = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    return s;
}

std::optional<TReportDefRec> readReportForRun(const ReportFile &file, int index, Prompt &prompt)
{
    TReportDefRec def;
    const char *problem = index < 0 ? kNoReportSelected : !file.read(index, def) ? kReportNotLocated : nullptr;
    if (!problem)
        return def;
    const QString damage = index < 0 ? QString() : file.damageMessage(index);
    prompt.beep();
    prompt.showError(damage.isEmpty() ? QString::fromLatin1(problem) : damage);
    return std::nullopt;
}

std::array<int, 2> groupFields(const TReportDefRec &def, const std::array<int, 4> &sortLevels)
{
    std::array<int, 2> groups{0, 0};
    if (!def.groupLevel1)
        return groups;
    size_t found = 0;
    for (int level : sortLevels) {
        if (level >= 1 && level <= kFieldCount && found < groups.size())
            groups[found++] = level;
    }
    if (!def.groupLevel2)
        groups[1] = 0;
    return groups;
}

ReportRun::ReportRun(Table &table, ReportRunSetup setup, ReportEngine &engine)
    : table_(table), setup_(std::move(setup)), engine_(engine)
{
    column_.fill(-1);
    for (int n = 1; n <= kFieldCount; ++n)
        column_[size_t(n)] = table_.fieldIndex(fieldName(n));
    listPriceColumn_ = column_[fields::ListPrice];
    purchPriceColumn_ = column_[fields::PurchPrice];
}

bool ReportRun::run(const std::function<void(const QString &)> &onStatus)
{
    engine_.setOrientation(setup_.def.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    // The print job, and a PDF file, are named after the report.
    if (!setup_.def.name.isEmpty())
        engine_.setJobTitle(setup_.def.name);
    engine_.setCallbacks({[this] { beforePrint(); }, [this] { printHeader(); }, [this] { return printPage(); },
                          [this] { printFooter(); }, [this] { afterPrint(); }, onStatus});
    struct Resume {
        ReportRun &r;
        ~Resume()
        {
            if (r.suspended_) {
                r.table_.resumeDisplay();
                r.suspended_ = false;
            }
            r.file_.reset();
        }
    } resume{*this};
    const bool ok = engine_.start();
    if (!ok && error_.isEmpty())
        error_ = engine_.errorString();
    return ok && error_.isEmpty();
}

PageFont ReportRun::pageFont(const TFontRec &f) const
{
    return PageFont{f.name, double(f.size > 0 ? f.size : 8), f.bold, f.italic, f.underline, f.strikeout,
                    colorFromRgbValue(f.color).rgb()};
}

void ReportRun::beforePrint()
{
    engine_.setStatusFormat(QString::fromLatin1(kStatusFormat));
    engine_.setStatusText(0, QString());
    engine_.setStatusText(1, QString());
    const TReportDefRec &d = setup_.def;
    engine_.setMargins(d.leftMargin, d.rightMargin, d.topMargin, d.bottomMargin);
    printable_ = engine_.pageWidth() - d.leftMargin - d.rightMargin;
    lineWidth_ = d.lineWidth > 0 ? d.lineWidth : 90;
    engine_.setFont(pageFont(d.bodyFont));
    const std::array<int, 2> groups = groupFields(d, setup_.sortLevels);
    group1_ = groups[0];
    group2_ = groups[1];
    key1_ = key2_ = QString::fromLatin1(kNoGroup);
    headerPending_ = subtotalPending_ = finalPending_ = false;
    firstGroup_ = true;
    grand_ = group_ = Totals();
    printed_ = 0;
    if (text()) {
        file_ = std::make_unique<AtomicFile>(setup_.textPath);
        if (!file_->open())
            fail(file_->errorMessage());
    }
    table_.suspendDisplay();
    suspended_ = true;
    table_.first();
}

void ReportRun::fail(const QString &message)
{
    if (error_.isEmpty())
        error_ = message;
    engine_.fail(error_);
}

void ReportRun::afterPrint()
{
    if (text() && file_ && file_->isOpen()) {
        flushText();
        // Only a whole report replaces the old file.
        if (error_.isEmpty() && !file_->commit())
            error_ = file_->errorMessage();
        file_.reset();
    }
    if (suspended_) {
        table_.resumeDisplay();
        suspended_ = false;
    }
}

void ReportRun::writeText(const QString &line)
{
    pending_ += encode(line);
    endTextLine();
}

void ReportRun::endTextLine()
{
    pending_ += "\r\n";
    if (pending_.size() >= (1 << 20))
        flushText();
}

bool ReportRun::appendStoredText(const char *record, const TPartRec &part)
{
    // A text field whose stored bytes are printable ASCII is its text in any code page.
    if (!isField(part) || part.fieldNumber < 1 || part.fieldNumber > kFieldCount)
        return false;
    const int c = column_[size_t(part.fieldNumber)];
    const PrintStyle style = field(part.fieldNumber).printStyle;
    if (c < 0 || style == PrintStyle::Currency || style == PrintStyle::Numeric)
        return false;
    const FieldLayout &f = table_.fieldLayout(c);
    if (f.type != 'C')
        return false;
    const char *p = record + f.offset;
    const int e = trimmedLength(p, f.width);
    for (int k = 0; k < e; ++k)
        if (p[k] < 0x20 || p[k] > 0x7E)
            return false;
    const int kept = std::min<int>(e, part.width);
    pending_.append(p, kept);
    pending_.append(part.width - kept, ' ');
    return true;
}

void ReportRun::flushText()
{
    if (pending_.isEmpty() || !file_ || !file_->isOpen())
        return;
    if (!file_->write(pending_))
        fail(file_->errorMessage());
    pending_.clear();
}

void ReportRun::printHeader()
{
    const TReportDefRec &d = setup_.def;
    if (text()) {
        for (const QString &title : d.titles) {
            if (!title.isEmpty())
                writeText(title);
        }
        return;
    }
    engine_.setBandBottom(kBodyTop);
    engine_.setBandTop(kHeaderTop);
    engine_.setFont(pageFont(d.titleFont));
    engine_.home();
    for (const QString &title : d.titles) {
        if (title.isEmpty())
            continue;
        engine_.printCentred(title, engine_.pageWidth() / 2);
        engine_.newLine();
    }
}

void ReportRun::printFooter()
{
    const TReportDefRec &d = setup_.def;
    if (text()) {
        writeText(QString());
        QString line;
        if (d.pageNumbers)
            line += QStringLiteral("Page %1").arg(engine_.pageNumber()) + blanks(5);
        if (d.dateOnPages)
            line += blanks(5) + setup_.dateText;
        writeText(line + QLatin1Char('\f'));
        flushText();
        return;
    }
    const double bottom = engine_.pageHeight() - d.bottomMargin;
    engine_.setBandBottom(bottom);
    engine_.setBandTop(bottom - kFooterHeight);
    engine_.home();
    engine_.setFont(pageFont(d.footnoteFont));
    if (d.pageNumbers)
        engine_.footerText(QStringLiteral("Page %1").arg(engine_.pageNumber()), Justify::Left);
    if (d.dateOnPages)
        engine_.footerText(setup_.dateText, Justify::Right);
}

void ReportRun::setLineTabs(const TLineRec &line, const std::function<Justify(const TPartRec &)> &justify,
                            int boxLines, bool (*whole)(const TPartRec &))
{
    if (text())
        return;
    engine_.clearTabs();
    forUsedParts(line, [&](const TPartRec &part) {
        engine_.addTab({justify(part), boxLines, 0, 0.02, part.width * printable_ / lineWidth_, -1, whole(part)});
    });
}

int ReportRun::bodyBoxLines() const
{
    const TReportDefRec &d = setup_.def;
    if (d.lineCount != 1)
        return 0;
    return (d.verticalLines ? box::Verticals : 0) | (d.horizontalLines ? box::Horizontals : 0);
}

void ReportRun::setBodyTabs()
{
    setLineTabs(
        setup_.def.bodyLines[0],
        [](const TPartRec &p) {
            return isField(p) && p.fieldNumber >= 1 && p.fieldNumber <= kFieldCount && field(p.fieldNumber).type == 'N'
                       ? Justify::Right
                       : Justify::Left;
        },
        bodyBoxLines(), wholeValue);
}

void ReportRun::printParts(const TLineRec &line, const std::function<QString(const TPartRec &)> &textOf,
                           bool labelsRight, bool recordParts)
{
    if (text()) {
        const char *record = recordParts ? table_.recordData(table_.recNo()) : nullptr;
        pending_.reserve(pending_.size() + lineWidth_ + 2);
        forUsedParts(line, [&](const TPartRec &part) {
            if (record && appendStoredText(record, part))
                return;
            const QString s = textOf(part).left(part.width);
            pending_ += encode(part.isLabel() && labelsRight ? s.rightJustified(part.width)
                                                             : s.leftJustified(part.width));
        });
        endTextLine();
        engine_.newLine();
        return;
    }
    // Each stop fits its text: condensed first, and cut only when it is not a number.
    QString out;
    forUsedParts(line, [&](const TPartRec &part) {
        out += QLatin1Char('\t');
        out += textOf(part);
    });
    engine_.printLine(out);
}

QString ReportRun::fieldValue(int n) const
{
    if (n < 1 || n > kFieldCount || column_[size_t(n)] < 0)
        return QString();
    const int c = column_[size_t(n)];
    switch (field(n).printStyle) {
    case PrintStyle::Currency:
    case PrintStyle::Numeric: {
        if (table_.fieldText(c).isEmpty())
            return QString();
        const NumberStyle style =
            field(n).printStyle == PrintStyle::Currency ? NumberStyle::Currency : NumberStyle::Numeric;
        return formatNumber(table_.fieldNumber(c), style, 0);
    }
    default:
        return table_.fieldText(c);
    }
}

QString ReportRun::partText(const TPartRec &part) const
{
    if (part.isLabel())
        return part.labelText;
    if (part.isFiller())
        return QString();
    return fieldValue(part.fieldNumber);
}

QString ReportRun::totalsText(const TPartRec &part, const Totals &t) const
{
    if (part.isLabel())
        return part.labelText;
    if (part.isFiller())
        return QString();
    int entry = part.fieldNumber;
    if (entry < 1 || entry > kTotalsEntryCount)
        entry = totalsEntryNumber(part.kind);
    switch (entry) {
    case 1:
        return formatNumber(t.count, NumberStyle::Numeric, 0);
    case 2:
        return formatNumber(t.listPrice, NumberStyle::Currency, 0);
    case 3:
        return formatNumber(t.purchPrice, NumberStyle::Currency, 0);
    default:
        return QString();
    }
}

void ReportRun::printColumnHeaders()
{
    const TReportDefRec &d = setup_.def;
    engine_.setFont(pageFont(d.columnHeaderFont));
    setLineTabs(d.bodyLines[0], [](const TPartRec &) { return Justify::Centre; }, bodyBoxLines(), neverWhole);
    printParts(
        d.bodyLines[0],
        [this](const TPartRec &p) {
            return isField(p) && p.fieldNumber >= 1 && p.fieldNumber <= kFieldCount
                       ? setup_.captions[size_t(p.fieldNumber - 1)]
                       : QString();
        },
        false);
}

void ReportRun::printRecord()
{
    const TReportDefRec &d = setup_.def;
    const auto textOf = [this](const TPartRec &p) { return partText(p); };
    if (d.lineCount == 1) {
        printParts(d.bodyLines[0], textOf, true, true);
        return;
    }
    for (int i = 0; i < d.lineCount && i < kMaxBodyLines; ++i) {
        setLineTabs(d.bodyLines[size_t(i)],
                    [](const TPartRec &p) { return p.isLabel() ? Justify::Right : Justify::Left; }, 0, wholeValue);
        printParts(d.bodyLines[size_t(i)], textOf, true, true);
    }
}

void ReportRun::addToTotals()
{
    if (!setup_.def.useTotals)
        return;
    const auto amount = [this](int column) {
        if (column < 0)
            return 0.0;
        return readDecimalNumber(table_.fieldText(column).trimmed()).value_or(0.0);
    };
    const double list = amount(listPriceColumn_), purch = amount(purchPriceColumn_);
    for (Totals *t : {&grand_, &group_}) {
        t->count += 1;
        t->listPrice += list;
        t->purchPrice += purch;
    }
}

void ReportRun::printHeading(const QString &heading)
{
    if (text()) {
        writeText(blanks((lineWidth_ - heading.size()) / 2) + heading);
        engine_.newLine();
        return;
    }
    // A heading wider than P - 0.2 keeps to that room, condensed, in a box as wide as P.
    double width = engine_.textWidth(heading) + kBoxRoom, margin = 0.02;
    if (width > printable_) {
        width = printable_;
        margin = kBoxRoom / 2;
    }
    engine_.clearTabs();
    engine_.addTab({Justify::Centre, box::Bottom, 0, margin, width, engine_.leftMargin() + (printable_ - width) / 2});
    engine_.printLine(QLatin1Char('\t') + heading);
}

void ReportRun::printTotalsLine(const Totals &totals)
{
    const TLineRec &line = setup_.def.totalsLine;
    setLineTabs(line, [](const TPartRec &p) { return p.isLabel() ? Justify::Right : Justify::Left; }, 0, wholeTotal);
    printParts(line, [&](const TPartRec &p) { return totalsText(p, totals); }, true);
}

bool ReportRun::printGroupSubtotal()
{
    const TReportDefRec &d = setup_.def;
    if (firstGroup_) {
        firstGroup_ = false;
        subtotalPending_ = false;
        return true;
    }
    if (!d.useTotals) {
        subtotalPending_ = false;
        return true;
    }
    if (engine_.linesLeft() < d.lineCount + 3) {
        subtotalPending_ = true;
        return false;
    }
    printHeading(kTotals);
    printTotalsLine(group_);
    group_ = Totals();
    if (d.lineCount == 1)
        setBodyTabs();
    subtotalPending_ = false;
    return true;
}

bool ReportRun::printGroupHeader()
{
    const TReportDefRec &d = setup_.def;
    // On paper the header takes a blank line and its boxed line; in the file, a blank
    // line and three more.
    const int headerLines = text() ? kTextGroupHeaderLines : 2;
    if (engine_.linesLeft() < d.lineCount + headerLines) {
        headerPending_ = true;
        return false;
    }
    QString header = key1_;
    if (group2_)
        header += QStringLiteral(", ") + key2_;
    if (text()) {
        // The dashes stand for the box drawn on paper. Every line written ends an engine
        // line, so the file's pages hold no more lines than the page has room for.
        const QString indent = blanks((lineWidth_ - header.size()) / 2);
        const QString dashes(header.size(), QLatin1Char('-'));
        for (const QString &line : {QString(), indent + dashes, indent + header, indent + dashes}) {
            writeText(line);
            engine_.newLine();
        }
    } else {
        engine_.newLine();
        double width = engine_.textWidth(header) + kBoxRoom, margin = 0.02;
        double position = engine_.leftMargin() + (printable_ - width) / 2;
        if (width - kBoxRoom > printable_ - kBoxRoom) {
            // Too wide for the page: a box of P + 0.2 at the left margin, the text
            // condensed (and cut when that is not enough) to P - 0.2 inside it.
            width = printable_ + kBoxRoom;
            position = engine_.leftMargin();
            margin = kBoxRoom;
        }
        engine_.clearTabs();
        engine_.addTab({Justify::Centre, box::All, 0, margin, width, position});
        engine_.printLine(QLatin1Char('\t') + header);
        if (d.lineCount == 1)
            setBodyTabs();
    }
    headerPending_ = false;
    return true;
}

bool ReportRun::groupChanged()
{
    if (!group1_)
        return false;
    const QString text1 = fieldValue(group1_).left(kGroupKeyLength);
    bool changed = false;
    if (group2_) {
        const QString text2 = fieldValue(group2_).left(kGroupKeyLength);
        if (text2 != key2_) {
            key2_ = text2;
            changed = true;
        }
    }
    if (!changed && text1 != key1_)
        changed = true;
    if (changed)
        key1_ = text1;
    return changed;
}

void ReportRun::printTotals()
{
    printHeading(kTotals);
    printTotalsLine(group_);
    if (text())
        writeText(QString());
    engine_.newLine();
    printHeading(kGrandTotals);
    printTotalsLine(grand_);
    finalPending_ = false;
}

bool ReportRun::printPage()
{
    if (!error_.isEmpty())
        return false;
    // What this page moved on; a page that moves nothing on would be followed by the
    // same page again and again.
    const auto progress = [this] {
        return std::array<qint64, 5>{printed_, headerPending_, subtotalPending_, finalPending_, firstGroup_};
    };
    const std::array<qint64, 5> before = progress();
    const TReportDefRec &d = setup_.def;
    const int lines = d.lineCount;
    engine_.setBandBottom(engine_.pageHeight() - d.bottomMargin - kBodyFooterGap);
    engine_.setBandTop(kBodyTop);
    engine_.home();
    if (lines == 1 && d.columnHeaders)
        printColumnHeaders();
    engine_.setFont(pageFont(d.bodyFont));
    if (lines == 1)
        setBodyTabs();

    bool newPage = false;
    while (!newPage && engine_.linesLeft() >= lines && !table_.eof() && error_.isEmpty()) {
        if (subtotalPending_ && !printGroupSubtotal()) {
            newPage = true;
            break;
        }
        if (headerPending_ && !printGroupHeader()) {
            newPage = true;
            break;
        }
        if (groupChanged()) {
            if (!printGroupSubtotal()) {
                headerPending_ = true;
                newPage = true;
                break;
            }
            if (!printGroupHeader()) {
                newPage = true;
                break;
            }
        }
        printRecord();
        addToTotals();
        ++printed_;
        table_.next();
    }
    if (!newPage && table_.eof() && d.useTotals && error_.isEmpty()) {
        if (engine_.linesLeft() < 5)
            finalPending_ = true;
        else
            printTotals();
    }
    if (!error_.isEmpty())
        return false;
    const bool more = !(table_.eof() && !finalPending_);
    if (more && progress() == before) {
        fail(QString::fromLatin1(kRecordDoesNotFit).arg(d.name));
        return false;
    }
    return more;
}

} // namespace kv
