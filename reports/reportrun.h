#pragma once
// A report run: the current definition and the table's records turned into pages
// through the report engine (printer or page stream), or into a text file whose pages
// break where the engine's lines say. Records are grouped by the sort levels and
// summed into group and grand totals.
#include "report_engine/reportengine.h"
#include "base/atomicfile.h"
#include "base/prompt.h"
#include "reports/reportdef.h"
#include "reports/reportfile.h"
#include "store/fieldtable.h"
#include "store/table.h"

#include <array>
#include <memory>
#include <optional>

namespace kv {

struct Settings;

// 1 printer, 2 page stream for the preview, 3 text file.
enum class OutputMode { Print = 1, View = 2, TextFile = 3 };

struct ReportRunSetup {
    TReportDefRec def;
    OutputMode mode = OutputMode::View;
    std::array<QString, kFieldCount> captions; // captions[n - 1] of field n
    std::array<int, 4> sortLevels{};           // field numbers, 0 for none
    QString textPath;                          // the text file of mode 3
    QString dateText;                          // today's date, as the footer writes it
};

// Captions and sort levels from the catalogue's settings, today's date in the system's
// short format.
ReportRunSetup reportRunSetup(const TReportDefRec &def, OutputMode mode, const Settings &settings);

// The group fields of the definition and the sort levels: the first set level and the
// next one, the second only when grouping by level 2. {0, 0} when not grouping.
std::array<int, 2> groupFields(const TReportDefRec &def, const std::array<int, 4> &sortLevels);

inline constexpr char kNoReportSelected[] = "No Report has been selected.  Please choose one.";
inline constexpr char kReportNotLocated[] = "Report format could not be located.";
// A run that cannot place a record on a page; %1 the report's name.
inline constexpr char kRecordDoesNotFit[] =
    "The report \"%1\" cannot be printed: a record with its headings takes more lines than a page holds.  "
    "Choose a smaller body font, fewer body lines or smaller margins.";

// The definition a run prints: record index of file. No index (negative) or a file that
// cannot be read: a beep and the message (caption "Error"), and nothing. A damaged
// record is refused the same way with the message that names it.
std::optional<TReportDefRec> readReportForRun(const ReportFile &file, int index, Prompt &prompt);

class ReportRun {
public:
    static constexpr char kNoGroup[] = "zzxkytrweq";
    static constexpr char kStatusFormat[] = "Printing Page %p\r%0\r%1";

    // The table is walked from its first record in its current order and filter.
    ReportRun(Table &table, ReportRunSetup setup, ReportEngine &engine);

    // Runs the engine; false with errorString() when the output or the text file
    // failed (the engine's message or the file's), or when a page would take no record
    // (kRecordDoesNotFit): every page holds at least one, so no run writes more pages
    // than its records need. A failed run leaves an old file of the name as it was.
    bool run(const std::function<void(const QString &)> &onStatus = {});
    QString errorString() const { return error_; }

private:
    struct Totals {
        double count = 0, listPrice = 0, purchPrice = 0;
    };

    void beforePrint();
    void printHeader();
    bool printPage();
    void printFooter();
    void afterPrint();

    bool text() const { return setup_.mode == OutputMode::TextFile; }
    void fail(const QString &message);
    void writeText(const QString &line);
    void endTextLine();
    // Appends a record part of the current record's bytes, cut and padded to its width,
    // when they are its text as they stand; false when it must go through its text.
    bool appendStoredText(const char *record, const TPartRec &part);
    void flushText();
    PageFont pageFont(const TFontRec &font) const;

    // whole tells which parts hold numbers, printed whole.
    void setLineTabs(const TLineRec &line, const std::function<Justify(const TPartRec &)> &justify, int boxLines,
                     bool (*whole)(const TPartRec &));
    int bodyBoxLines() const;
    void setBodyTabs();
    void printColumnHeaders();
    void printRecord();
    // recordParts: the parts are the current record's fields (partText()).
    void printParts(const TLineRec &line, const std::function<QString(const TPartRec &)> &textOf,
                    bool labelsRight, bool recordParts = false);
    bool printGroupHeader();
    bool printGroupSubtotal();
    void printHeading(const QString &heading);
    void printTotalsLine(const Totals &totals);
    void printTotals();
    bool groupChanged();

    QString fieldValue(int fieldNumber) const;
    QString partText(const TPartRec &part) const;
    QString totalsText(const TPartRec &part, const Totals &totals) const;
    void addToTotals();

    Table &table_;
    ReportRunSetup setup_;
    ReportEngine &engine_;
    QString error_;

    double printable_ = 0; // P, inches
    int lineWidth_ = 90;   // W, characters
    int group1_ = 0, group2_ = 0;
    QString key1_, key2_;
    bool headerPending_ = false, subtotalPending_ = false, firstGroup_ = true, finalPending_ = false;
    Totals grand_, group_;
    std::array<int, kFieldCount + 1> column_{}; // table column of each field number, -1 when absent
    int listPriceColumn_ = -1, purchPriceColumn_ = -1;

    qint64 printed_ = 0; // records printed so far
    std::unique_ptr<AtomicFile> file_;
    QByteArray pending_; // text waiting to be written
    bool suspended_ = false;
};

} // namespace kv
