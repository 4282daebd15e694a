#include "forms/core/InputField.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace fieldrules {

namespace {

// Whether v truncated toward zero is an int.
bool truncatesToInt(double v)
{
    return v > std::numeric_limits<int>::min() - 1.0 && v < std::numeric_limits<int>::max() + 1.0;
}

} // namespace

QString outOfRangeText(const InputField& field, double value)
{
    return QStringLiteral("Out of range value in ") + field.name + QStringLiteral(": ") +
           QString::number(value, 'g', 6);
}

QString illegalValueText(const QString& name)
{
    return QStringLiteral("Illegal value for \"") + name + QStringLiteral(".\"");
}

bool isFieldCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
           c == QLatin1Char(':');
}

double valueAt(const InputField& field, const RangeArithmetic* range, int i)
{
    const double v = range ? range->pointAt(i) : field.text.toDouble();
    // Written so that a value that is not a number fails as well.
    if (!(v >= field.editMin && v < field.editMax))
        throw outOfRangeText(field, v);
    return v;
}

int intValueAt(const InputField& field, const RangeArithmetic* range, int i)
{
    const double v = valueAt(field, range, i);
    if (!truncatesToInt(v))
        throw outOfRangeText(field, v);
    return static_cast<int>(computedValue(field, v));
}

double computedValue(const InputField& field, double v)
{
    return field.editType == RangeArithmetic::Integer ? std::trunc(v) : v;
}

bool delivers(const InputField& field, bool holdsRange, const Interval& bounds)
{
    const bool integer = field.editType == RangeArithmetic::Integer;
    const auto inside = [&bounds, integer](double v) {
        return bounds.contains(v) && (!integer || truncatesToInt(v));
    };
    if (!holdsRange) {
        bool ok = false;
        const double v = field.text.toDouble(&ok);
        return ok && inside(v);
    }
    const QStringList parts = field.text.split(QLatin1Char(':'));
    bool startOk = false;
    bool endOk = false;
    if (parts.size() != 2)
        return false;
    const double start = parts[0].toDouble(&startOk);
    const double end = parts[1].toDouble(&endOk);
    return startOk && endOk && RangeArithmetic(start, end, field.editType).numPoints() > 0 &&
           inside(start) && inside(end);
}

QString rangeStartText(const QString& rangeText)
{
    const QString typed = rangeText.section(QLatin1Char(':'), 0, 0);
    bool ok = false;
    typed.toDouble(&ok);
    return ok ? typed : QStringLiteral("0");
}

} // namespace fieldrules
