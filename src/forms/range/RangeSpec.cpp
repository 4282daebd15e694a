#include "forms/range/RangeSpec.h"

#include <QStringList>

#include <cmath>
#include <cstdint>
#include <limits>

RangeSpec::RangeSpec(int maxPoints)
    : maxPoints_(maxPoints)
{}

void RangeSpec::addEdit(RangeLineEdit* edit)
{
    edits_.append(edit);
    edit->rangeSpec_ = this;
}

bool RangeSpec::isOwner(const QString& name) const
{
    return !ownerName_.isEmpty() && ownerName_ == name;
}

void RangeSpec::setOwner(const QString& name)
{
    ownerName_ = name;
}

void RangeSpec::clearOwner()
{
    ownerName_ = QString();
}

// Only a text with exactly one colon becomes a range. A part that is not a
// number reads as 0, so the unfinished "5:" is the range 5 to 0.
void RangeSpec::parse(const QString& text, const QString& name, RangeLineEdit::EditType type)
{
    editType_ = type;
    const QStringList parts = text.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    if (parts.size() == 2) {
        start_ = parts[0].toDouble();
        end_ = parts[1].toDouble();
        ownerName_ = name;
    } else if (parts.size() == 1) {
        start_ = parts[0].toDouble();
    }
}

// A Real range always has maxPoints points. An Integer range steps by whole
// numbers: n = end - start, truncated, divided by ten until it is at most
// maxPoints, so 100:1000 gives 90 points 10 apart. The span is taken in 64 bits
// so that release sizes in the billions cannot overflow; n <= 0 means the range
// yields no points at all.
int RangeSpec::numPoints() const
{
    if (ownerName_.isNull())
        return 1;
    if (editType_ == RangeLineEdit::Real)
        return maxPoints_;

    const double span = std::trunc(end_ - start_);
    if (std::isnan(span))
        return 0;
    if (span <= 0.0)
        return span < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                      : static_cast<int>(span);
    // Spans beyond 2^62 are far past any count of points and are thinned alike.
    std::int64_t n = span < 0x1p62 ? static_cast<std::int64_t>(span) : std::int64_t{1} << 62;
    while (n > maxPoints_)
        n /= 10;
    return static_cast<int>(n);
}

// With n points the step is (end - start) / n: point i lies at start + i * step
// for 0 < i < n - 1, and the last point is end itself, one longer step on.
double RangeSpec::pointAt(int i) const
{
    const int n = numPoints();
    if (i == 0)
        return start_;
    if (i == n - 1)
        return end_;
    return start_ + (end_ - start_) / n * i;
}

QList<double> RangeSpec::points() const
{
    QList<double> values;
    const int n = numPoints();
    for (int i = 0; i < n; ++i)
        values.append(pointAt(i));
    return values;
}

QString RangeSpec::toString(char format, int precision) const
{
    return QString::number(start_, format, precision) + QLatin1Char(':') +
           QString::number(end_, format, precision);
}
