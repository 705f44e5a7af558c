#pragma once
// The user-defined label stock as the dimensions dialog shows and checks it: six boxes
// per kind, reals with four decimals, counts without.
#include "app/settings/settings.h"
#include "base/prompt.h"

#include <QString>
#include <array>
#include <optional>

namespace kv {

// The boxes in the order they are checked: face top, left, width, height, gap, count,
// then the same for spine.
enum class LabelDimBox { Top, Left, Width, Height, Gap, Count };
inline constexpr int kLabelDimBoxes = 12;
using LabelDimsForm = std::array<QString, kLabelDimBoxes>;

LabelDimsForm labelDimsForm(const LabelDimensions &dims);

struct LabelDimsCheck {
    std::optional<LabelDimensions> dims; // set when every box is valid
    int failedBox = -1;                  // 0 ... 11, the box to focus
};
// The first box that does not read gives its message and nothing is taken. A count
// outside 1 ... 16 is held to that range, with a notice saying so.
LabelDimsCheck checkLabelDims(const LabelDimsForm &form, Prompt &prompt);

} // namespace kv
