#include "studies/sensitivity/SensitivityTables.h"

#include "studies/planning/search/PlanSearch.h"
#include "studies/sensitivity/Band.h"
#include "studies/sensitivity/DesignMeasure.h"
#include "studies/sensitivity/Sensitivity.h"

#include <QJsonArray>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QJsonValue jsonNumber(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

QString measureKey(const PlanTarget& target)
{
    return PlanTarget::measureKeys().value(static_cast<int>(target.measure));
}

// Rows of cells as text: every column as wide as its widest cell, the first
// left-aligned, the others right-aligned, a rule under the head row.
QString aligned(const QList<QStringList>& rows)
{
    QList<int> widths;
    for (const QStringList& row : rows) {
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths << 0;
            widths[c] = std::max(widths[c], static_cast<int>(row[c].size()));
        }
    }
    QStringList lines;
    for (int r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < rows[r].size(); ++c)
            cells << (c == 0 ? rows[r][c].leftJustified(widths[c])
                             : rows[r][c].rightJustified(widths[c]));
        lines << cells.join(QStringLiteral("  ")).trimmed();
        if (r == 0) {
            QStringList rules;
            for (int width : widths)
                rules << QString(width, QLatin1Char('-'));
            lines << rules.join(QStringLiteral("  "));
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString csvOf(const QList<QStringList>& rows)
{
    QStringList lines;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (const QString& cell : row)
            cells << csvCell(cell);
        lines << cells.join(QLatin1Char(','));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString csvNumber(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', QLocale::FloatingPointShortest)
                                : QString();
}

QList<QStringList> sensitivityRows(const Sensitivity& sensitivity, bool forText)
{
    const QString measure = PlanTarget::measureName(sensitivity.request.target.measure);
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("Input"),
                        QStringLiteral("Value"),
                        QStringLiteral("Low"),
                        QStringLiteral("High"),
                        measure + QStringLiteral(" at low"),
                        measure + QStringLiteral(" at high")};
    if (forText)
        rows[0] << QStringLiteral("Change");
    for (const SensitivityEntry& entry : sensitivity.inputs) {
        const auto number = [&](double v) {
            return forText ? planning::numberText(v) : csvNumber(v);
        };
        const auto measured = [&](double m) {
            return forText ? sensitivitytables::measureText(m) : csvNumber(m);
        };
        QStringList row{
            entry.key,          number(entry.value),        number(entry.low),
            number(entry.high), measured(entry.measureLow), measured(entry.measureHigh)};
        if (forText)
            row << sensitivitytables::measureText(entry.swing(sensitivity.base));
        rows << row;
    }
    return rows;
}

QList<QStringList> bandRows(const Band& band, bool forText)
{
    const QString measure = PlanTarget::measureName(band.target.measure);
    QStringList head;
    if (!band.xName.isEmpty())
        head << band.xName;
    head << QStringLiteral("Base") << QStringLiteral("Least %1").arg(measure);
    for (const BandInput& input : band.box)
        head << QStringLiteral("%1 at least").arg(input.key);
    head << QStringLiteral("Greatest %1").arg(measure);
    for (const BandInput& input : band.box)
        head << QStringLiteral("%1 at greatest").arg(input.key);
    if (!forText)
        head << QStringLiteral("Least inside") << QStringLiteral("Greatest inside");
    QList<QStringList> rows{head};
    const auto measured = [&](double m) {
        return forText ? sensitivitytables::measureText(m) : csvNumber(m);
    };
    const auto inside = [&](bool interior) {
        return forText ? (interior ? QStringLiteral(" *") : QString())
                       : QString(interior ? QStringLiteral("yes") : QStringLiteral("no"));
    };
    // A place inside an interval found by the search, to 7 digits in text.
    const auto input = [&](double v) {
        return forText && v != std::floor(v) ? QString::number(v, 'g', 7) : planning::numberText(v);
    };
    for (const BandRow& row : band.rows) {
        QStringList cells;
        if (!band.xName.isEmpty())
            cells << planning::numberText(row.x);
        cells << measured(row.base);
        cells << measured(row.min.measure) + (forText ? inside(row.min.interior) : QString());
        for (double v : row.min.inputs)
            cells << input(v);
        cells << measured(row.max.measure) + (forText ? inside(row.max.interior) : QString());
        for (double v : row.max.inputs)
            cells << input(v);
        if (!forText)
            cells << inside(row.min.interior) << inside(row.max.interior);
        rows << cells;
    }
    return rows;
}

QJsonObject inputsAt(const Band& band, const BandExtreme& extreme)
{
    QJsonObject at;
    for (int d = 0; d < band.box.size() && d < extreme.inputs.size(); ++d)
        at.insert(band.box[d].key, extreme.inputs[d]);
    return at;
}

} // namespace

namespace sensitivitytables {

QString inputText(double value)
{
    const QString text = QString::number(value, 'g', 10);
    return text.toDouble() == std::round(value) && value != std::round(value)
               ? QString::number(value, 'g', QLocale::FloatingPointShortest)
               : text;
}

QString measureText(double measure)
{
    return std::isfinite(measure) ? QString::number(measure, 'g', 7) : QStringLiteral("none");
}

QString text(const Sensitivity& sensitivity)
{
    QString out = QStringLiteral("Sensitivity of the %1\n\nBase: %2\n\n")
                      .arg(sensitivity.title(), measureText(sensitivity.base));
    out += aligned(sensitivityRows(sensitivity, true));
    for (const SensitivityEntry& entry : sensitivity.inputs) {
        if (!entry.message.isEmpty())
            out += QStringLiteral("\n%1: %2").arg(entry.key, entry.message);
    }
    return out;
}

QString csv(const Sensitivity& sensitivity)
{
    return csvOf(sensitivityRows(sensitivity, false));
}

QJsonObject json(const Sensitivity& sensitivity)
{
    QJsonArray inputs;
    for (const SensitivityEntry& entry : sensitivity.inputs)
        inputs.append(QJsonObject{{QStringLiteral("name"), entry.key},
                                  {QStringLiteral("value"), entry.value},
                                  {QStringLiteral("low"), entry.low},
                                  {QStringLiteral("high"), entry.high},
                                  {QStringLiteral("measureLow"), jsonNumber(entry.measureLow)},
                                  {QStringLiteral("measureHigh"), jsonNumber(entry.measureHigh)}});
    QJsonObject object{{QStringLiteral("quantity"), sensitivity.request.target.quantity},
                       {QStringLiteral("measure"), measureKey(sensitivity.request.target)},
                       {QStringLiteral("spread"), sensitivity.request.spread},
                       {QStringLiteral("base"), jsonNumber(sensitivity.base)},
                       {QStringLiteral("inputs"), inputs}};
    if (!sensitivity.xName.isEmpty())
        object.insert(QStringLiteral("point"),
                      QJsonObject{{QStringLiteral("name"), sensitivity.xName},
                                  {QStringLiteral("value"), sensitivity.x}});
    return object;
}

QString text(const Band& band)
{
    QString out = QStringLiteral("Band of the %1 of %2 over %3\n\n")
                      .arg(PlanTarget::measureName(band.target.measure), band.target.quantity,
                           band.boxText());
    out += aligned(bandRows(band, true));
    bool interior = false;
    for (const BandRow& row : band.rows)
        interior = interior || row.min.interior || row.max.interior;
    if (interior)
        out += QStringLiteral("\n* reached inside the box, not at a corner\n");
    for (const BandRow& row : band.rows) {
        for (const BandExtreme* extreme : {&row.min, &row.max}) {
            if (!extreme->message.isEmpty()) {
                out += QStringLiteral("\n%1: %2\n")
                           .arg(band.xName.isEmpty() ? QStringLiteral("The band")
                                                     : band.xName + QStringLiteral(" = ") +
                                                           planning::numberText(row.x),
                                extreme->message);
                break;
            }
        }
    }
    return out;
}

QString csv(const Band& band)
{
    return csvOf(bandRows(band, false));
}

QJsonObject json(const Band& band)
{
    QJsonArray box;
    for (const BandInput& input : band.box)
        box.append(QJsonObject{{QStringLiteral("name"), input.key},
                               {QStringLiteral("low"), input.low},
                               {QStringLiteral("high"), input.high}});
    QJsonArray points;
    for (const BandRow& row : band.rows) {
        QJsonObject point{{QStringLiteral("base"), jsonNumber(row.base)},
                          {QStringLiteral("min"), jsonNumber(row.min.measure)},
                          {QStringLiteral("minAt"), inputsAt(band, row.min)},
                          {QStringLiteral("minInterior"), row.min.interior},
                          {QStringLiteral("max"), jsonNumber(row.max.measure)},
                          {QStringLiteral("maxAt"), inputsAt(band, row.max)},
                          {QStringLiteral("maxInterior"), row.max.interior}};
        if (!band.xName.isEmpty())
            point.insert(QStringLiteral("x"), row.x);
        points.append(point);
    }
    QJsonObject object{{QStringLiteral("quantity"), band.target.quantity},
                       {QStringLiteral("measure"), measureKey(band.target)},
                       {QStringLiteral("box"), box},
                       {QStringLiteral("points"), points}};
    if (!band.xName.isEmpty())
        object.insert(QStringLiteral("xName"), band.xName);
    return object;
}

} // namespace sensitivitytables
