#include "forms/core/RangeArithmetic.h"

#include <QStringList>

#include <cmath>
#include <cstdint>
#include <limits>

RangeArithmetic::RangeArithmetic(double start, double end, EditType type, int maxPoints)
    : first(start)
    , last(end)
    , type(type)
    , pointLimit(maxPoints)
{}

bool RangeArithmetic::parse(const QString& text, double* start, double* end)
{
    const QStringList parts = text.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return false;
    *start = parts[0].toDouble();
    *end = parts[1].toDouble();
    return true;
}

// The span is taken in 64 bits so that release sizes in the billions cannot
// overflow.
int RangeArithmetic::numPoints() const
{
    if (type == Real)
        return pointLimit;

    const double span = std::trunc(last - first);
    if (std::isnan(span))
        return 0;
    if (span <= 0.0)
        return span < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
                                                      : static_cast<int>(span);
    // Spans beyond 2^62 are far past any count of points and are thinned alike.
    std::int64_t n = span < 0x1p62 ? static_cast<std::int64_t>(span) : std::int64_t{1} << 62;
    while (n > pointLimit)
        n /= 10;
    return static_cast<int>(n);
}

double RangeArithmetic::pointAt(int i) const
{
    const int n = numPoints();
    if (i == 0)
        return first;
    if (i == n - 1)
        return last;
    return first + (last - first) / n * i;
}

QList<double> RangeArithmetic::points() const
{
    QList<double> values;
    const int n = numPoints();
    for (int i = 0; i < n; ++i)
        values.append(pointAt(i));
    return values;
}

QString RangeArithmetic::toString(char format, int precision) const
{
    return QString::number(first, format, precision) + QLatin1Char(':') +
           QString::number(last, format, precision);
}
