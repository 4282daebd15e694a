#include "forms/core/InputField.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace fieldrules {

namespace {

// Whether v truncated toward zero is an int.
constexpr double intMin = std::numeric_limits<int>::min();
constexpr double intMax = std::numeric_limits<int>::max();

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

QString boundsRule(const Interval& bounds, bool integer)
{
    const auto number = [](double v) { return QString::number(v, 'g', 10); };
    QString what;
    if (std::isfinite(bounds.low) && std::isfinite(bounds.high))
        what = QStringLiteral("in ") + (bounds.lowOpen ? QLatin1Char('(') : QLatin1Char('[')) +
               number(bounds.low) + QStringLiteral(", ") + number(bounds.high) +
               (bounds.highOpen ? QLatin1Char(')') : QLatin1Char(']'));
    else if (std::isfinite(bounds.low))
        what = (bounds.lowOpen ? QStringLiteral("above ") : QStringLiteral("at least ")) +
               number(bounds.low);
    else if (std::isfinite(bounds.high))
        what = (bounds.highOpen ? QStringLiteral("below ") : QStringLiteral("at most ")) +
               number(bounds.high);
    if (integer) {
        const QString joint =
            what.startsWith(QLatin1String("at ")) ? QStringLiteral(" of ") : QStringLiteral(" ");
        return what.isEmpty() ? QStringLiteral("must be a whole number")
                              : QStringLiteral("must be a whole number") + joint + what;
    }
    if (what.isEmpty())
        return QStringLiteral("must be a number");
    return (what.startsWith(QLatin1String("in ")) ? QStringLiteral("must lie ")
                                                  : QStringLiteral("must be ")) +
           what;
}

QString noPointsRule(const QString& rangeText)
{
    return QStringLiteral("holds the range ") + rangeText +
           QStringLiteral(", which has no points: its end must lie above its start");
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
    return breach(field, holdsRange, bounds).isNull();
}

QString breach(const InputField& field, bool holdsRange, const Interval& bounds)
{
    const bool integer = field.editType == RangeArithmetic::Integer;
    // The rule is worded only for a refusal: the checks of a design pass far
    // more often than they fail, and are asked at every varied design.
    bool beyondInt = false;
    const auto rule = [&] {
        QString text = boundsRule(bounds, integer);
        if (beyondInt)
            text += QStringLiteral(", at most ") + QString::number(intMax, 'g', 10);
        return text;
    };
    // Whether v is in bounds; a release size must also be a whole number an
    // int holds, whose limit then joins the rule.
    const auto inside = [&](double v) {
        if (integer && !truncatesToInt(v))
            beyondInt = true;
        return bounds.contains(v) && (!integer || (truncatesToInt(v) && v == std::trunc(v)));
    };
    const QString text = field.text.trimmed();
    if (text.isEmpty())
        return QStringLiteral("is empty: it ") + rule();
    if (!holdsRange) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok)
            return QStringLiteral("holds \"") + text + QStringLiteral("\", not a number: it ") +
                   rule();
        return inside(v) ? QString() : rule();
    }
    const QStringList parts = text.split(QLatin1Char(':'));
    bool startOk = false;
    bool endOk = false;
    const double start = parts.size() == 2 ? parts[0].toDouble(&startOk) : 0.0;
    const double end = parts.size() == 2 ? parts[1].toDouble(&endOk) : 0.0;
    if (!startOk || !endOk)
        return QStringLiteral("holds \"") + text +
               QStringLiteral("\", not a range start:end of two numbers");
    if (RangeArithmetic(start, end, field.editType).numPoints() <= 0)
        return noPointsRule(text);
    const bool startInside = inside(start);
    const bool endInside = inside(end);
    return startInside && endInside ? QString() : rule() + QStringLiteral(" at every point");
}

QString rangeStartText(const QString& rangeText)
{
    const QString typed = rangeText.section(QLatin1Char(':'), 0, 0);
    bool ok = false;
    typed.toDouble(&ok);
    return ok ? typed : QStringLiteral("0");
}

} // namespace fieldrules
