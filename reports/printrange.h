#pragma once
// The page range asked for when printing part of a previewed report.
#include <QString>

namespace kv {

inline constexpr char kInvalidStartPage[] = "Invalid Starting Page specified. Please correct.";
inline constexpr char kInvalidEndPage[] = "Invalid Ending Page specified.  Please correct.";

enum class RangeProblem { None, Start, End };

// A page number as typed: its leading digits (after blanks and a sign); 0 when none.
int pageNumberOf(const QString &text);

// Characters a page box takes: the digits of pageCount, and never fewer than 3.
int pageBoxLength(int pageCount);

// Start must lie in 1 ... pageCount, end from start to pageCount.
RangeProblem checkPageRange(int start, int end, int pageCount);

} // namespace kv
