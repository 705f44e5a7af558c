#pragma once
// The engine's own page format: every page as the texts and lines drawn on it, in
// inches from the physical page's top-left corner. Laid out once, it is drawn on any
// device at any scale: a PDF, a printer, the preview at any zoom. The stream is only
// ever kept in memory.
#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <vector>

class QPainter;

namespace kv {

struct PageFont {
    QString family;
    double points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    QRgb color = 0xff000000;

    bool operator==(const PageFont &) const = default;
    QFont font() const;
};

struct PageText {
    QPointF baseline; // left end of the baseline, inches
    QString text;
    int font = 0;     // index into the stream's fonts
    double scale = 1; // horizontal scale of the glyphs: below 1 when condensed to fit
};

struct Page {
    std::vector<PageText> texts;
    std::vector<QLineF> lines; // inches
};

class PageStream {
public:
    QSizeF pageSize() const { return size_; } // inches, as laid out (orientation applied)
    void setPageSize(const QSizeF &inches) { size_ = inches; }

    int pageCount() const { return int(pages_.size()); }
    const Page &page(int index) const { return pages_.at(size_t(index)); }
    Page &page(int index) { return pages_.at(size_t(index)); }
    const std::vector<PageFont> &fonts() const { return fonts_; }

    // The index of font, added when new.
    int fontIndex(const PageFont &font);
    Page &addPage();
    // Frees a page's contents once an output has taken it; its place stays.
    void releasePage(int index);
    void clear();

    // Draws page index with the painter's device units at dotsPerInch, its origin at
    // the page's top-left corner. Monochrome draws every colour black.
    void paintPage(QPainter &painter, int index, double dotsPerInch, bool monochrome = false) const;

    // The text of a page, one line per baseline from top to bottom, each line's texts
    // from left to right separated by a blank: for tests and the command line.
    QStringList pageLines(int index) const;

private:
    QSizeF size_;
    std::vector<PageFont> fonts_;
    std::vector<Page> pages_;
};

} // namespace kv
