#pragma once
// How well a text colour reads on a background: the contrast ratio of their relative
// luminances (1:1 to 21:1), and a text colour made to read at 4.5:1 at least.
#include <QColor>

namespace kv {

inline constexpr double kReadableContrast = 4.5;

double contrastRatio(const QColor &a, const QColor &b);

// The text colour as it is when it reads on the background; otherwise the same colour
// taken towards black or white (whichever the background sets off better) just far
// enough to read.
QColor readableOn(const QColor &text, const QColor &background);

} // namespace kv
