#include "app/display/contrast.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

double channel(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double luminance(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

QColor mixed(const QColor &from, const QColor &to, double t)
{
    const auto mix = [t](double a, double b) { return a + (b - a) * t; };
    QColor c;
    c.setRgbF(float(mix(from.redF(), to.redF())), float(mix(from.greenF(), to.greenF())),
              float(mix(from.blueF(), to.blueF())));
    return c;
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor &text, const QColor &background)
{
    if (contrastRatio(text, background) >= kReadableContrast)
        return text;
    const QColor black(Qt::black), white(Qt::white);
    const QColor towards = contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    for (int step = 1; step < 20; ++step) {
        const QColor c = mixed(text.toRgb(), towards, step / 20.0);
        if (contrastRatio(c, background) >= kReadableContrast)
            return c;
    }
    return towards;
}

} // namespace kv
