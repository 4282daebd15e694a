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

QStringList quantityHeaders(const QString& name)
{
    return {name + QStringLiteral(" estimate"), name + QStringLiteral(" variance"),
            name + QStringLiteral(" SE"), name + QStringLiteral(" half 90%"),
            name + QStringLiteral(" half 95%")};
}

QStringList quantityFields(const PrecisionTable& precision, int point, int q)
{
    const double variance = precision.variances(point, q);
    const double se = std::sqrt(variance);
    return {number(precision.estimates(point, q)), number(variance), number(se),
            number(halfWidth90(se)), number(halfWidth95(se))};
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

QString table(const PrecisionTable& precision)
{
    QStringList header = {precision.xName};
    for (const QString& name : precision.names)
        header << quantityHeaders(name);
    QString text = row(header << knownHeader);
    for (int i = 0; i < precision.pointCount(); ++i) {
        QStringList fields = {rangedValue(precision, i)};
        for (int q = 0; q < precision.names.size(); ++q)
            fields << quantityFields(precision, i, q);
        text += row(fields << knownNames(precision, i));
    }
    return text;
}

QString batch(const QList<QPair<QString, PrecisionTable>>& runs)
{
    QStringList names;
    for (const auto& run : runs) {
        for (const QString& name : run.second.names) {
            if (!names.contains(name))
                names << name;
        }
    }
    QStringList header = {QStringLiteral("design"), QStringLiteral("range"),
                          QStringLiteral("value")};
    for (const QString& name : names)
        header << quantityHeaders(name);
    QString text = row(header << knownHeader);
    for (const auto& [design, precision] : runs) {
        for (int i = 0; i < precision.pointCount(); ++i) {
            QStringList fields = {design, precision.xName, rangedValue(precision, i)};
            for (const QString& name : names) {
                const int q = precision.names.indexOf(name);
                fields << (q < 0
                               ? QStringList{QString(), QString(), QString(), QString(), QString()}
                               : quantityFields(precision, i, q));
            }
            text += row(fields << knownNames(precision, i));
        }
    }
    return text;
}

} // namespace ResultsCsv
