#include "app/display/viewerconfig.h"

#include "base/numbertext.h"

#include <vector>

namespace kv {

namespace {

constexpr int kMinWidth = 1;
constexpr int kMaxWidth = 255;
constexpr int kFallbackWidth = 10;

QString storedCaption(const QString &name) { return name.left(kCaptionLength); }

QString textAt(const QStringList &list, int i) { return i < list.size() ? list.at(i) : QString(); }

} // namespace

QString fontText(const QFont &font)
{
    return QString::number(font.pointSize()) + QStringLiteral("pt ") + font.family();
}

QStringList orderRows(const Settings &s)
{
    QStringList rows(kFieldCount);
    for (int n = 1; n <= kFieldCount; ++n) {
        const int position = s.field(n).order;
        if (position >= 1 && position <= kFieldCount)
            rows[position - 1] = s.field(n).caption;
    }
    return rows;
}

QStringList defaultOrderRows(const Settings &s)
{
    QStringList rows;
    for (const FieldSettings &f : s.fields)
        rows << f.caption;
    return rows;
}

QString toggledDisplayText(const QString &text)
{
    return QString::fromLatin1(text == QLatin1String(kDisplayYes) ? kDisplayNo : kDisplayYes);
}

int widthFromText(const QString &text)
{
    const std::optional<int> width = readWholeNumber(text.trimmed());
    return width && *width >= kMinWidth && *width <= kMaxWidth ? *width : kFallbackWidth;
}

std::optional<DuplicateCaption> findDuplicateCaption(const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i) {
        const QString caption = storedCaption(names.at(i));
        for (int j = i + 1; j < names.size(); ++j) {
            if (storedCaption(names.at(j)) == caption) {
                return DuplicateCaption{i, j,
                                        QStringLiteral("Two field names have the same name \"") + caption
                                            + QStringLiteral("\".  Please change one.")};
            }
        }
    }
    return std::nullopt;
}

ViewerConfigClose closeViewerConfig(Settings &s, const ViewerConfigTexts &texts)
{
    ViewerConfigClose result;
    result.refused = findDuplicateCaption(texts.names);
    if (result.refused)
        return result;

    for (int n = 1; n <= kFieldCount; ++n) {
        const int width = widthFromText(textAt(texts.widths, n - 1));
        s.field(n).width = width;
        result.widths << QString::number(width);
    }
    for (int n = 1; n <= kFieldCount; ++n)
        s.field(n).shown = textAt(texts.display, n - 1) == QLatin1String(kDisplayYes);

    // Matched by the captions the list was filled with, before any rename takes effect.
    std::vector<bool> taken(size_t(texts.order.size()), false);
    for (int n = 1; n <= kFieldCount; ++n) {
        for (int row = 0; row < texts.order.size() && row < kFieldCount; ++row) {
            if (!taken[size_t(row)] && texts.order.at(row) == s.field(n).caption) {
                taken[size_t(row)] = true;
                s.field(n).order = row + 1;
                break;
            }
        }
    }
    for (int n = 1; n <= kFieldCount; ++n)
        s.field(n).caption = storedCaption(textAt(texts.names, n - 1));
    return result;
}

} // namespace kv
