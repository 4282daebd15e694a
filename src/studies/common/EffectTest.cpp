#include "studies/common/EffectTest.h"

#include "numerics/NormalDistribution.h"

#include <QRegularExpression>

#include <cmath>

double waldPower(double estimate, double se, double nullValue, double alpha, bool twoSided)
{
    if (!(se >= 0.0) || std::isnan(estimate) || std::isnan(nullValue) || !(alpha > 0.0) ||
        !(alpha < 1.0))
        return std::numeric_limits<double>::quiet_NaN();
    const double distance = std::fabs(estimate - nullValue);
    // A table or a plot asks for thousands of powers at one level: the
    // critical value of the last level asked on this thread is kept.
    thread_local double lastLevel = std::numeric_limits<double>::quiet_NaN();
    thread_local double lastCritical = 0.0;
    const double level = twoSided ? 1.0 - alpha / 2.0 : 1.0 - alpha;
    if (level != lastLevel) {
        lastCritical = normalQuantile(level);
        lastLevel = level;
    }
    const double z = lastCritical;
    if (se == 0.0) {
        // No spread at all: the test rejects every false null value and, at
        // the null value itself, keeps its level.
        return distance > 0.0 ? 1.0 : alpha;
    }
    const double standardised = distance / se;
    const double power = normalCdf(standardised - z);
    return twoSided ? power + normalCdf(-standardised - z) : power;
}

const QStringList& EffectTest::ratioQuantities()
{
    static const QStringList names = {QStringLiteral("St"), QStringLiteral("T"),
                                      QStringLiteral("Sdam")};
    return names;
}

double EffectTest::nullValueOf(const QString& quantity) const
{
    const auto given = nullValues.constFind(quantity);
    if (given != nullValues.constEnd())
        return given.value();
    if (!std::isnan(commonNull))
        return commonNull;
    return ratioQuantities().contains(quantity) ? 1.0 : std::numeric_limits<double>::quiet_NaN();
}

bool EffectTest::hasNullValue(const QString& quantity) const
{
    return !std::isnan(nullValueOf(quantity));
}

double EffectTest::powerOf(const QString& quantity, double estimate, double variance) const
{
    if (!(variance >= 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    return waldPower(estimate, std::sqrt(variance), nullValueOf(quantity), alpha, twoSided);
}

bool EffectTest::readNullValue(const QString& text, QString* quantity, double* value)
{
    const int equals = text.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? QString() : text.left(equals).trimmed();
    bool number = false;
    *value = (equals < 0 ? text : text.mid(equals + 1)).trimmed().toDouble(&number);
    if (!number || !std::isfinite(*value) || (equals >= 0 && name.isEmpty()))
        return false;
    *quantity = name;
    return true;
}

QString EffectTest::nullValuesText() const
{
    QStringList entries;
    for (auto value = nullValues.constBegin(); value != nullValues.constEnd(); ++value)
        entries << value.key() + QLatin1Char('=') + QString::number(value.value(), 'g', 10);
    if (!std::isnan(commonNull))
        entries << QString::number(commonNull, 'g', 10);
    return entries.join(QStringLiteral(", "));
}

QString EffectTest::readNullValues(const QString& text)
{
    QMap<QString, double> values;
    double common = std::numeric_limits<double>::quiet_NaN();
    // Entries pasted from a spreadsheet come between tabs or lines. A comma
    // right before a digit is a decimal comma ("0,8"), which must be refused
    // rather than read as two values.
    static const QRegularExpression separator(QStringLiteral("[;\\t\\n]|,(?!\\d)"));
    const QStringList entries = text.split(separator);
    for (const QString& entry : entries) {
        if (entry.trimmed().isEmpty())
            continue;
        QString quantity;
        double value = 0.0;
        if (!readNullValue(entry, &quantity, &value))
            return QStringLiteral("Cannot read the null value \"%1\": it is a number, or a "
                                  "quantity, an equals sign and a number, as in St=1.05")
                .arg(entry.trimmed());
        if (quantity.isNull()) {
            if (!std::isnan(common))
                return QStringLiteral("Only one null value may stand without a quantity: "
                                      "\"%1\" is a second")
                    .arg(entry.trimmed());
            common = value;
        } else {
            values.insert(quantity, value);
        }
    }
    nullValues = values;
    commonNull = common;
    return QString();
}

bool EffectTest::isDefault() const
{
    return *this == EffectTest();
}

QString EffectTest::error() const
{
    if (!unreadable.isEmpty())
        return unreadable;
    if (!(alpha > 0.0) || !(alpha < 1.0))
        return QStringLiteral("The level alpha must lie between 0 and 1: %1 was given")
            .arg(QString::number(alpha, 'g', 6));
    for (auto value = nullValues.constBegin(); value != nullValues.constEnd(); ++value) {
        if (!std::isfinite(value.value()))
            return QStringLiteral("The null value of %1 must be a number").arg(value.key());
    }
    if (std::isinf(commonNull))
        return QStringLiteral("The null value must be a number");
    return QString();
}

QString EffectTest::describeNullValues(const QStringList& ratios) const
{
    const auto number = [](double v) { return QString::number(v, 'g', 6); };
    QStringList parts;
    for (auto value = nullValues.constBegin(); value != nullValues.constEnd(); ++value)
        parts << QStringLiteral("%1 against %2").arg(value.key(), number(value.value()));
    if (!std::isnan(commonNull)) {
        parts << (nullValues.isEmpty() ? QStringLiteral("every quantity against %1")
                                       : QStringLiteral("every other quantity against %1"))
                     .arg(number(commonNull));
    } else {
        QStringList kept;
        for (const QString& ratio : ratios)
            if (ratioQuantities().contains(ratio) && !nullValues.contains(ratio))
                kept << ratio;
        if (kept.size() > 1)
            parts << QStringLiteral("%1 and %2 against 1")
                         .arg(kept.mid(0, kept.size() - 1).join(QStringLiteral(", ")), kept.last());
        else if (kept.size() == 1)
            parts << QStringLiteral("%1 against 1").arg(kept.first());
    }
    return parts.join(QStringLiteral("; "));
}

QString EffectTest::describe() const
{
    return QStringLiteral("%1 test at alpha = %2")
        .arg(twoSided ? QStringLiteral("two-sided") : QStringLiteral("one-sided"),
             QString::number(alpha, 'g', 6));
}

bool operator==(const EffectTest& a, const EffectTest& b)
{
    const bool sameCommon =
        (std::isnan(a.commonNull) && std::isnan(b.commonNull)) || a.commonNull == b.commonNull;
    return a.nullValues == b.nullValues && sameCommon && a.alpha == b.alpha &&
           a.twoSided == b.twoSided && a.unreadable == b.unreadable;
}
