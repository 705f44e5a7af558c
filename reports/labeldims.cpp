#include "reports/labeldims.h"

#include "reports/labelstock.h"

#include <algorithm>

namespace kv {

namespace {

constexpr const char *kInvalid[6] = {
    "Invalid top margin specified.  Please correct", "Invalid left margin specified.  Please correct",
    "Invalid width specified.  Please correct",      "Invalid height specified.  Please correct",
    "Invalid gap specified.  Please correct",        "Invalid count specified.  Please correct",
};
constexpr char kCountHeld[] = "A sheet holds from 1 to 16 labels: the %1 label count has been set to %2.";

QString real(double inches) { return QString::number(inches, 'f', 4); }

} // namespace

LabelDimsForm labelDimsForm(const LabelDimensions &d)
{
    return {real(d.faceTopMargin),  real(d.faceLeftMargin),  real(d.faceWidth),  real(d.faceHeight),
            real(d.faceGap),        QString::number(d.faceCount),
            real(d.spineTopMargin), real(d.spineLeftMargin), real(d.spineWidth), real(d.spineHeight),
            real(d.spineGap),       QString::number(d.spineCount)};
}

LabelDimsCheck checkLabelDims(const LabelDimsForm &form, Prompt &prompt)
{
    std::array<double, kLabelDimBoxes> values{};
    for (int box = 0; box < kLabelDimBoxes; ++box) {
        bool ok = false;
        const QString text = form[size_t(box)].trimmed();
        values[size_t(box)] = box % 6 == int(LabelDimBox::Count) ? text.toInt(&ok) : text.toDouble(&ok);
        if (!ok) {
            prompt.showError(QString::fromLatin1(kInvalid[box % 6]));
            return {std::nullopt, box};
        }
    }
    LabelDimensions d;
    d.faceTopMargin = values[0];
    d.faceLeftMargin = values[1];
    d.faceWidth = values[2];
    d.faceHeight = values[3];
    d.faceGap = values[4];
    d.faceCount = int(values[5]);
    d.spineTopMargin = values[6];
    d.spineLeftMargin = values[7];
    d.spineWidth = values[8];
    d.spineHeight = values[9];
    d.spineGap = values[10];
    d.spineCount = int(values[11]);
    for (auto [count, kind] : {std::pair{&d.faceCount, "face"}, std::pair{&d.spineCount, "spine"}}) {
        const int held = std::clamp(*count, 1, kMaxLabelPositions);
        if (held != *count)
            prompt.showMessage(QStringLiteral("Notice"),
                               QString::fromLatin1(kCountHeld).arg(QLatin1String(kind)).arg(held));
        *count = held;
    }
    return {d, -1};
}

} // namespace kv
