#pragma once
// The page-layout engine that reports and labels drive. Positions and sizes are in
// inches from the physical page's top-left corner. Lines are placed within a band
// (absolute top and bottom edges) one line height at a time; tab stops cut a line into
// cells. A run calls back for every page: header, page, footer; the pages go to the
// output given (page stream, PDF file, printer). Layout is measured at one fixed
// resolution, so every output gets the same pages.
#include "report_engine/pageoutput.h"
#include "report_engine/pagestream.h"

#include <QFontMetricsF>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kv {

enum class Justify { Centre = 0, Left = 1, Right = 2 };

// Box-line bits of a tab stop.
namespace box {
inline constexpr int Left = 1, Right = 2, Top = 4, Bottom = 8, All = 15, Verticals = 3, Horizontals = 12;
}

struct TabStop {
    Justify justify = Justify::Left;
    int boxLines = 0;
    int shade = 0;         // always 0
    double margin = 0.02;  // inner margin, inches
    double width = 0;      // inches; 0 or less: no box and no room
    double position = -1;  // inches from the page's left edge; negative: after the previous stop
    bool whole = false;    // holds a number (or a date): condensed as far as it needs, never cut
};

// A text as it goes into its room: its glyphs condensed, or cut and condensed.
struct FittedText {
    QString text;
    double scale = 1; // horizontal scale of the glyphs; 1 when the text fits as it is
};

// A text is condensed to no less than this before it is cut.
inline constexpr double kMinCondense = 0.75;

// text fitted into room (inches), measure giving a text's width in inches: as it is when
// it fits; else condensed to fit, down to kMinCondense; else cut from its end until the
// rest fits at kMinCondense. A whole text (a number) is condensed as far as it needs and
// never cut: a cut year or price reads as another value.
FittedText fitToRoom(const QString &text, double room, bool whole,
                     const std::function<double(const QString &)> &measure);

// A layout operation called while no run is printing.
class EngineNotPrinting : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class ReportEngine {
public:
    struct Callbacks {
        std::function<void()> onBeforePrint;
        std::function<void()> onPrintHeader;
        std::function<bool()> onPrintPage; // true: another page follows
        std::function<void()> onPrintFooter;
        std::function<void()> onAfterPrint;
        std::function<void(const QString &status)> onStatus; // at each page's start
    };

    static constexpr char kJobTitle[] = "Test Report";
    static constexpr char kNoPrinters[] = "No printers are defined, aborting print job.";

    explicit ReportEngine(PageOutput &output);

    // Before a run.
    void setOrientation(QPageLayout::Orientation orientation) { orientation_ = orientation; }
    QPageLayout::Orientation orientation() const { return orientation_; }
    void setCallbacks(Callbacks callbacks) { callbacks_ = std::move(callbacks); }
    void setJobTitle(const QString &title) { jobTitle_ = title; }

    // The run: false with errorString() when the output cannot start or fails; a
    // cancelled run that wrote its pages is true, with aborted() set.
    bool start();
    // Stops the run at the end of the current page.
    void cancel() { aborted_ = true; }
    // Stops the run at once as failed, with message as its errorString(): the page in
    // hand is not finished and the output drops what it has (a file keeps its old
    // contents).
    void fail(const QString &message);
    bool aborted() const { return aborted_; }
    bool printing() const { return printing_; }
    int pageNumber() const { return page_; }
    QString errorString() const { return error_; }

    // "%p" the page number, "%0" and "%1" the two status lines.
    void setStatusFormat(const QString &format) { statusFormat_ = format; }
    void setStatusText(int line, const QString &text);
    QString statusLine() const;

    // Layout, valid while printing.
    void setMargins(double left, double right, double top, double bottom);
    double leftMargin() const { return left_; }
    double rightMargin() const { return right_; }
    double pageWidth() const;
    double pageHeight() const;
    void setBandTop(double y);
    void setBandBottom(double y);
    double bandTop() const { return bandTop_; }
    double bandBottom() const { return bandBottom_; }
    void home();
    double cursorX() const { return x_; }
    double cursorY() const { return y_; }
    void moveTo(double x, double y);
    int linesLeft() const;

    void setFont(const PageFont &font);
    const PageFont &font() const { return font_; }
    double lineHeight() const { return font_.points / 60.0; }

    void clearTabs();
    void addTab(const TabStop &stop);
    int tabCount() const { return int(tabs_.size()); }
    const TabStop &tab(int index) const { return tabs_.at(size_t(index)); }
    double usableWidth(int index) const;

    // Height of the current font's glyphs (ascent and descent), inches.
    double fontHeight() const;
    // Width of text in the current font, inches.
    double textWidth(const QString &text) const;
    // text fitted into width in the current font (fitToRoom).
    FittedText fit(const QString &text, double width, bool whole = false) const;

    void print(const QString &text);
    void printLine(const QString &text);
    void newLine();
    void printCentred(const QString &text, double x);
    void footerText(const QString &text, Justify justify);

private:
    void requirePrinting(const char *operation) const;
    void beginPage();
    bool finishPage();
    void makeRoom();
    void place(const QString &text, double x, double scale = 1);
    void drawCell(const TabStop &stop, double left, const QString &text);

    PageOutput &output_;
    Callbacks callbacks_;
    QString jobTitle_ = QString::fromLatin1(kJobTitle);
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    QString statusFormat_;
    QString statusText_[2];
    QString error_;

    bool printing_ = false;
    bool aborted_ = false;
    bool stopped_ = false;  // cancelled at a page's end inside a page callback
    bool inPageEdge_ = false; // header or footer callback running
    bool failed_ = false;
    int page_ = 0;
    int pageIndex_ = -1;    // the page being laid out in the output's stream

    QSizeF size_;
    double left_ = 0.5, right_ = 0.5, top_ = 0.5, bottom_ = 0.5;
    double bandTop_ = 0, bandBottom_ = 0;
    double x_ = 0, y_ = 0;
    PageFont font_;
    int fontIndex_ = -1;
    std::optional<QFontMetricsF> metrics_; // of font_, at the layout resolution
    mutable QString measuredText_;         // the last text measured, and its width
    mutable int measuredFont_ = -1;
    mutable double measuredWidth_ = 0;
    std::vector<TabStop> tabs_;
    int nextTab_ = 0;
};

} // namespace kv
