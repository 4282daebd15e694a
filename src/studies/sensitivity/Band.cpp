#include "studies/sensitivity/Band.h"

#include "forms/core/InputField.h"
#include "studies/common/RunMonitor.h"
#include "studies/planning/search/PlanSearch.h"
#include "studies/sensitivity/DesignMeasure.h"

#include <QSet>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// The values of each interval searched first: gridPoints evenly spaced from
// its low to its high end (whole numbers, each once, for a release size).
QList<double> gridOf(const BandInput& input, bool whole)
{
    QList<double> values;
    if (input.low == input.high)
        return {input.low};
    for (int g = 0; g < bands::gridPoints; ++g) {
        double v = g == bands::gridPoints - 1
                       ? input.high
                       : input.low + (input.high - input.low) * g / (bands::gridPoints - 1);
        if (whole)
            v = std::round(v);
        if (!values.contains(v))
            values << v;
    }
    return values;
}

// Whether a is a better find than b for the extreme sought: larger for the
// greatest (sign 1), smaller for the least (sign -1).
bool better(double a, double b, int sign)
{
    return sign > 0 ? a > b : a < b;
}

// The extreme of f over [a, b] by golden-section search, to a bracket of
// tolerance: the bracket shrinks by the golden ratio per step, keeping the
// interior point with the better value. For whole numbers, a ternary search
// to the last three and a look at each.
QPair<double, double> goldenSection(const std::function<double(double)>& f, double a, double b,
                                    double tolerance, bool whole, int sign)
{
    if (whole) {
        while (b - a > 2) {
            const double m1 = a + std::floor((b - a) / 3);
            const double m2 = b - std::floor((b - a) / 3);
            if (better(f(m1), f(m2), sign))
                b = m2 - 1;
            else
                a = m1 + 1;
        }
        QPair<double, double> best{a, f(a)};
        for (double v = a + 1; v <= b; ++v) {
            const double m = f(v);
            if (better(m, best.second, sign))
                best = {v, m};
        }
        return best;
    }
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - ratio * (b - a);
    double x2 = a + ratio * (b - a);
    double f1 = f(x1);
    double f2 = f(x2);
    while (b - a > tolerance) {
        if (better(f2, f1, sign)) {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + ratio * (b - a);
            f2 = f(x2);
        } else {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - ratio * (b - a);
            f1 = f(x1);
        }
    }
    return better(f2, f1, sign) ? QPair<double, double>{x2, f2} : QPair<double, double>{x1, f1};
}

// The band's search at one point of the range.
class ExtremeSearch
{
public:
    ExtremeSearch(const QList<BandInput>& box, const QList<bool>& whole,
                  const std::function<double(const QList<double>&)>& measure)
        : box(box)
        , whole(whole)
        , measure(measure)
    {}

    // Moves extreme, found on the grid, to the extreme next to it: one input
    // at a time, within a grid step on either side. At an end of its
    // interval an input is searched only when a step inwards is better.
    void refine(BandExtreme& extreme, int sign) const
    {
        if (!std::isfinite(extreme.measure))
            return;
        const int cycles = box.size() > 1 ? 3 : 1;
        for (int cycle = 0; cycle < cycles; ++cycle) {
            bool moved = false;
            for (int d = 0; d < box.size(); ++d)
                moved = refineInput(extreme, d, sign) || moved;
            if (!moved)
                break;
        }
    }

private:
    bool refineInput(BandExtreme& extreme, int d, int sign) const
    {
        const BandInput& input = box[d];
        const double width = input.high - input.low;
        if (width <= 0)
            return false;
        const double step = width / (bands::gridPoints - 1);
        const double v = extreme.inputs[d];
        const auto along = [&](double t) {
            QList<double> values = extreme.inputs;
            values[d] = t;
            return measure(values);
        };
        if (v == input.low || v == input.high) {
            const double inwards = whole[d] ? 1.0 : step * 1e-3;
            const double probe = v == input.low ? v + inwards : v - inwards;
            if (!better(along(probe), extreme.measure, sign))
                return false;
        }
        double a = std::max(input.low, v - step);
        double b = std::min(input.high, v + step);
        if (whole[d]) {
            a = std::ceil(a);
            b = std::floor(b);
        }
        const auto [t, m] = goldenSection(along, a, b, width * 1e-7, whole[d], sign);
        if (!better(m, extreme.measure, sign))
            return false;
        extreme.inputs[d] = t;
        extreme.measure = m;
        return true;
    }

    const QList<BandInput>& box;
    const QList<bool>& whole;
    std::function<double(const QList<double>&)> measure;
};

bool interior(const QList<BandInput>& box, const QList<double>& values)
{
    for (int d = 0; d < box.size(); ++d) {
        if (values[d] > box[d].low && values[d] < box[d].high)
            return true;
    }
    return false;
}

// Why design cannot take box: a null string when it can.
QString boxError(const Design& design, const QList<BandInput>& box)
{
    if (box.isEmpty())
        return QStringLiteral("The band names no input: give intervals as P2=0.5..0.8");
    if (box.size() > bands::maximumInputs)
        return QStringLiteral("A band takes at most %1 inputs: %2 were given")
            .arg(bands::maximumInputs)
            .arg(box.size());
    QSet<QString> seen;
    for (const BandInput& input : box) {
        if (!design.inputs.hasField(input.key)) {
            QStringList keys;
            for (const InputField& field : design.inputs.fields()) {
                if (field.enabled)
                    keys << field.key;
            }
            return QStringLiteral("The %1 design has no input \"%2\": its inputs are %3")
                .arg(designs::info(design.kind).title, input.key, keys.join(QStringLiteral(", ")));
        }
        const InputField& field = design.inputs.field(input.key);
        if (!field.enabled)
            return QStringLiteral("%1 is not used by the design as it is set: it follows another "
                                  "input or is switched off")
                .arg(input.key);
        if (design.inputs.holdsRange(input.key))
            return QStringLiteral("%1 holds the range, so it cannot be in the band: give it one "
                                  "value, or the range to another input")
                .arg(input.key);
        if (seen.contains(input.key))
            return QStringLiteral("%1 is given twice in the band").arg(input.key);
        seen.insert(input.key);
        const QString interval =
            QStringLiteral("%1 = %2..%3")
                .arg(input.key, planning::numberText(input.low), planning::numberText(input.high));
        if (!(input.low <= input.high))
            return QStringLiteral("The interval %1 runs downwards: give the low end first")
                .arg(interval);
        if (!DesignMeasure::accepts(design, input.key, input.low) ||
            !DesignMeasure::accepts(design, input.key, input.high)) {
            if (field.editType == RangeArithmetic::Integer &&
                (input.low != std::floor(input.low) || input.high != std::floor(input.high)))
                return QStringLiteral("The interval %1 is of fish: its ends are whole numbers")
                    .arg(interval);
            return QStringLiteral("The interval %1 goes beyond the values the design takes for "
                                  "%2")
                .arg(interval, field.name);
        }
    }
    return QString();
}

} // namespace

QString Band::boxText() const
{
    QStringList parts;
    for (const BandInput& input : box)
        parts << QStringLiteral("%1 = %2..%3")
                     .arg(input.key, planning::numberText(input.low),
                          planning::numberText(input.high));
    return parts.join(QStringLiteral(", "));
}

const BandExtreme& Band::worst(int row) const
{
    return DesignMeasure::largerIsWorse(target) ? rows[row].max : rows[row].min;
}

namespace bands {

bool parseBox(const QString& text, QList<BandInput>* box, QString* error)
{
    QList<BandInput> read;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList sides = part.trimmed().split(QLatin1Char('='));
        const QStringList ends =
            sides.size() == 2 ? sides[1].split(QStringLiteral("..")) : QStringList();
        bool lowOk = false;
        bool highOk = false;
        BandInput input;
        if (ends.size() == 2) {
            input.key = sides[0].trimmed();
            input.low = ends[0].trimmed().toDouble(&lowOk);
            input.high = ends[1].trimmed().toDouble(&highOk);
        }
        if (!lowOk || !highOk || input.key.isEmpty() || !std::isfinite(input.low) ||
            !std::isfinite(input.high)) {
            *error = QStringLiteral("Cannot read the interval \"%1\": it is an input's name, an "
                                    "equals sign and two numbers joined by \"..\", as in "
                                    "P2=0.5..0.8")
                         .arg(part.trimmed());
            return false;
        }
        read << input;
    }
    *box = read;
    return true;
}

Design withInputs(const Design& design, const QList<BandInput>& box, const QList<double>& values)
{
    Design varied = design;
    for (int d = 0; d < box.size(); ++d)
        varied.inputs.field(box[d].key).text = planning::numberText(values[d]);
    return varied;
}

bool compute(const Design& design, const PlanTarget& target, const QList<BandInput>& box,
             Band* band, QString* error, RunMonitor* monitor)
{
    const QString refused = boxError(design, box);
    if (!refused.isNull()) {
        *error = refused;
        return false;
    }
    const Design measured = DesignMeasure::measured(design, target);
    QString quantityError;
    const QStringList known = planner::quantities(measured, &quantityError);
    if (known.isEmpty()) {
        *error = quantityError;
        return false;
    }
    if (!known.contains(target.quantity)) {
        *error = QStringLiteral("The %1 design does not estimate \"%2\": its quantities are %3")
                     .arg(designs::info(design.kind).title, target.quantity,
                          known.join(QStringLiteral(", ")));
        return false;
    }

    QList<bool> whole;
    QList<QList<double>> grids;
    int nodes = 1;
    for (const BandInput& input : box) {
        whole << (design.inputs.field(input.key).editType == RangeArithmetic::Integer);
        grids << gridOf(input, whole.last());
        nodes *= grids.last().size();
    }
    const int points = design.inputs.numPoints();
    if (monitor != nullptr)
        monitor->setTotalSteps(nodes + points);
    DesignMeasure measure(target, monitor);

    Band result;
    result.target = target;
    result.box = box;
    result.xName = design.inputs.rangeHolder().isEmpty() ? QString() : design.inputs.rangeName();
    result.xType = design.inputs.range().editType();
    QString baseMessage;
    const QList<double> base = measure.atPoints(measured, &baseMessage);
    for (int i = 0; i < points; ++i) {
        BandRow row;
        row.x = result.xName.isEmpty() ? 0.0 : design.inputs.pointAt(i);
        row.base = base.value(i, infinity);
        row.min.measure = infinity;
        row.max.measure = -infinity;
        result.rows << row;
    }

    // Every grid point over the whole range at once.
    QVector<int> digits(box.size(), 0);
    for (int node = 0; node < nodes; ++node) {
        if (monitor != nullptr)
            monitor->setStep(node);
        QList<double> values;
        for (int d = 0; d < box.size(); ++d)
            values << grids[d][digits[d]];
        QString message;
        const QList<double> measures =
            measure.atPoints(withInputs(measured, box, values), &message);
        if (measure.cancelled()) {
            *error = QStringLiteral("Cancelled!");
            return false;
        }
        for (int i = 0; i < points; ++i) {
            BandRow& row = result.rows[i];
            const double m = measures.value(i, infinity);
            if (std::isfinite(m) ? m < row.min.measure : row.min.inputs.isEmpty())
                row.min = {m, values, false, std::isfinite(m) ? QString() : message};
            if (m > row.max.measure)
                row.max = {m, values, false, std::isfinite(m) ? QString() : message};
        }
        for (int d = box.size() - 1; d >= 0; --d) {
            if (++digits[d] < grids[d].size())
                break;
            digits[d] = 0;
        }
    }

    for (int i = 0; i < points; ++i) {
        if (monitor != nullptr)
            monitor->setStep(nodes + i);
        const Design point = planning::atPoint(measured, i);
        const ExtremeSearch search(box, whole, [&](const QList<double>& values) {
            return measure.at(withInputs(point, box, values));
        });
        BandRow& row = result.rows[i];
        search.refine(row.min, -1);
        search.refine(row.max, 1);
        if (measure.cancelled()) {
            *error = QStringLiteral("Cancelled!");
            return false;
        }
        row.min.interior = interior(box, row.min.inputs);
        row.max.interior = interior(box, row.max.inputs);
    }
    if (monitor != nullptr)
        monitor->setStep(nodes + points);
    *band = result;
    return true;
}

bool planWorstCase(const Design& design, const QList<BandInput>& box, const PlanRequest& request,
                   Plan* plan, Band* band, QString* error, RunMonitor* monitor)
{
    for (const BandInput& input : box) {
        const bool solved = request.solve == PlanRequest::Probability ? input.key == request.field
                            : request.solve == PlanRequest::ReleaseSize
                                ? planner::releaseFields(design).contains(input.key)
                                : planner::groupFields(design.kind).first == input.key ||
                                      planner::groupFields(design.kind).second == input.key;
        if (solved) {
            *error = QStringLiteral("%1 is solved for, so it cannot be in the band").arg(input.key);
            return false;
        }
    }
    const QString refusal = planner::requestRefusal(design, request);
    if (!refusal.isNull()) {
        *error = refusal;
        return false;
    }

    Band found;
    if (!compute(design, request.target, box, &found, error, monitor))
        return false;
    Plan result;
    result.request = request;
    result.xName = found.xName;
    result.xType = found.xType;
    for (int i = 0; i < found.rows.size(); ++i) {
        const BandExtreme& worst = found.worst(i);
        PlanRow row;
        row.x = found.rows[i].x;
        if (!std::isfinite(worst.measure)) {
            row.message = QStringLiteral("the design cannot be computed at the worst case of the "
                                         "band: %1")
                              .arg(worst.message);
            row.achieved = infinity;
            result.rows << row;
            continue;
        }
        const Design worstDesign = withInputs(planning::atPoint(design, i), box, worst.inputs);
        Plan planned;
        if (!planner::plan(worstDesign, request, &planned, error, monitor))
            return false;
        row = planned.rows.value(0);
        row.x = found.rows[i].x;
        result.rows << row;
    }
    *plan = result;
    if (band != nullptr)
        *band = found;
    return true;
}

} // namespace bands
