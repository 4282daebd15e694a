#include "studies/common/ResultsCsv.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace ResultsCsv {

namespace {

// A field quoted when it holds a separator, a quote, a line break or
// surrounding blanks, its quotes doubled.
QString field(const QString& text)
{
    const bool plain = !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
                       !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
                       text.trimmed() == text;
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString row(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& text : fields)
        quoted << field(text);
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

namespace {

QStringList quantityHeaders(const QString& name, bool tested)
{
    QStringList headers = {name + QStringLiteral(" estimate"), name + QStringLiteral(" variance"),
                           name + QStringLiteral(" SE"), name + QStringLiteral(" half 90%"),
                           name + QStringLiteral(" half 95%")};
    if (tested)
        headers << name + QStringLiteral(" null") << name + QStringLiteral(" power");
    return headers;
}

// The fields of quantity q at point; with tested, its null value and power
// under test (empty when test gives it no null value).
QStringList quantityFields(const PrecisionTable& precision, int point, int q, bool tested,
                           const EffectTest& test)
{
    const double variance = precision.variances(point, q);
    const double se = std::sqrt(variance);
    QStringList fields = {number(precision.estimates(point, q)), number(variance), number(se),
                          number(halfWidth90(se)), number(halfWidth95(se))};
    if (tested) {
        const QString& name = precision.names[q];
        if (test.hasNullValue(name))
            fields << number(test.nullValueOf(name))
                   << number(test.powerOf(name, precision.estimates(point, q), variance));
        else
            fields << QString() << QString();
    }
    return fields;
}

QString rangedValue(const PrecisionTable& precision, int point)
{
    return precision.xName.isEmpty() ? QString() : number(precision.x[point]);
}

// The last column: the quantities known exactly at the point, by name,
// separated by blanks.
const QString knownHeader = QStringLiteral("known");

QString knownNames(const PrecisionTable& precision, int point)
{
    QStringList known;
    for (int q = 0; q < precision.names.size(); ++q)
        if (precision.isKnown(point, q))
            known << precision.names[q];
    return known.join(QLatin1Char(' '));
}

} // namespace

QString table(const PrecisionTable& precision, const EffectTest* test)
{
    const EffectTest none;
    QStringList header = {precision.xName};
    for (const QString& name : precision.names)
        header << quantityHeaders(name, test != nullptr && test->hasNullValue(name));
    QString text = row(header << knownHeader);
    for (int i = 0; i < precision.pointCount(); ++i) {
        QStringList fields = {rangedValue(precision, i)};
        for (int q = 0; q < precision.names.size(); ++q) {
            const bool tested = test != nullptr && test->hasNullValue(precision.names[q]);
            fields << quantityFields(precision, i, q, tested, tested ? *test : none);
        }
        text += row(fields << knownNames(precision, i));
    }
    return text;
}

QString batch(const QList<QPair<QString, PrecisionTable>>& runs, const QList<EffectTest>& tests)
{
    QStringList names;
    QStringList tested;
    for (int r = 0; r < runs.size(); ++r) {
        for (const QString& name : runs[r].second.names) {
            if (!names.contains(name))
                names << name;
            if (r < tests.size() && tests[r].hasNullValue(name) && !tested.contains(name))
                tested << name;
        }
    }
    QStringList header = {QStringLiteral("design"), QStringLiteral("range"),
                          QStringLiteral("value")};
    for (const QString& name : names)
        header << quantityHeaders(name, tested.contains(name));
    QString text = row(header << knownHeader);
    for (int r = 0; r < runs.size(); ++r) {
        const auto& [design, precision] = runs[r];
        const EffectTest test = r < tests.size() ? tests[r] : EffectTest();
        for (int i = 0; i < precision.pointCount(); ++i) {
            QStringList fields = {design, precision.xName, rangedValue(precision, i)};
            for (const QString& name : names) {
                const int q = precision.names.indexOf(name);
                const bool withPower = tested.contains(name);
                if (q < 0) {
                    for (int f = 0; f < (withPower ? 7 : 5); ++f)
                        fields << QString();
                } else {
                    fields << quantityFields(precision, i, q, withPower, test);
                }
            }
            text += row(fields << knownNames(precision, i));
        }
    }
    return text;
}

} // namespace ResultsCsv
