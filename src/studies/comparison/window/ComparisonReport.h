#pragma once

class QTextCursor;
struct Comparison;

namespace ryn {
class RynStyle;
}

// The answer of a comparison in the report's style: what the designs were
// compared on, a table with one row per design (its file, quantity, the fish
// it releases in all, its release sizes, the measure and whether the target
// is met) and the design that needs the fewest fish or reaches the best
// measure. The comparison window shows, saves and prints it.
class ComparisonReport
{
public:
    ComparisonReport(const ryn::RynStyle& style, const Comparison& comparison);

    void write(QTextCursor& cursor) const;

private:
    const ryn::RynStyle& style;
    const Comparison& comparison;
};
