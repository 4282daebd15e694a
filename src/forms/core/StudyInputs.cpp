#include "forms/core/StudyInputs.h"

#include <stdexcept>

void StudyInputs::addField(const InputField& field)
{
    if (index.contains(field.key))
        throw std::invalid_argument("StudyInputs: field " + field.key.toStdString() +
                                    " added twice");
    index.insert(field.key, fieldList.size());
    fieldList.append(field);
}

const InputField& StudyInputs::field(const QString& key) const
{
    const auto found = index.constFind(key);
    if (found == index.constEnd())
        throw std::invalid_argument("StudyInputs: no field " + key.toStdString());
    return fieldList[*found];
}

InputField& StudyInputs::field(const QString& key)
{
    const auto found = index.constFind(key);
    if (found == index.constEnd())
        throw std::invalid_argument("StudyInputs: no field " + key.toStdString());
    return fieldList[*found];
}

void StudyInputs::setRangeHolder(const QString& key)
{
    if (!key.isEmpty() && !index.contains(key))
        throw std::invalid_argument("StudyInputs: no field " + key.toStdString() +
                                    " to hold the range");
    holder = key;
}

void StudyInputs::disableField(const QString& key)
{
    InputField& f = field(key);
    f.enabled = false;
    if (holdsRange(key)) {
        f.text = fieldrules::rangeStartText(f.text);
        holder.clear();
    }
}

QString StudyInputs::rangeName() const
{
    return holder.isEmpty() ? QString() : field(holder).name;
}

RangeArithmetic StudyInputs::range() const
{
    if (holder.isEmpty())
        return {};
    const InputField& f = field(holder);
    double start = 0.0;
    double end = 0.0;
    RangeArithmetic::parse(f.text, &start, &end);
    return RangeArithmetic(start, end, f.editType);
}

int StudyInputs::numPoints() const
{
    return holder.isEmpty() ? 1 : range().numPoints();
}

double StudyInputs::pointAt(int i) const
{
    return holder.isEmpty() ? 0.0 : fieldrules::computedValue(field(holder), range().pointAt(i));
}

QList<double> StudyInputs::points() const
{
    if (holder.isEmpty())
        return {0.0};
    QList<double> values = range().points();
    for (double& v : values)
        v = fieldrules::computedValue(field(holder), v);
    return values;
}

double StudyInputs::valueAt(const QString& key, int i) const
{
    if (!holdsRange(key))
        return fieldrules::valueAt(field(key), nullptr, i);
    const RangeArithmetic r = range();
    return fieldrules::valueAt(field(key), &r, i);
}

int StudyInputs::intValueAt(const QString& key, int i) const
{
    if (!holdsRange(key))
        return fieldrules::intValueAt(field(key), nullptr, i);
    const RangeArithmetic r = range();
    return fieldrules::intValueAt(field(key), &r, i);
}

bool StudyInputs::delivers(const QString& key, const Interval& bounds) const
{
    return fieldrules::delivers(field(key), holdsRange(key), bounds);
}

Refusal refusal(const StudyInputs& inputs, const QString& key, const QString& rule)
{
    return {key, inputs.field(key).name, rule};
}

Refusal firstFailingField(const StudyInputs& inputs, const QList<FieldCheck>& checks)
{
    for (const FieldCheck& check : checks) {
        const InputField& field = inputs.field(check.key);
        if (!field.enabled)
            continue;
        const QString rule = fieldrules::breach(field, inputs.holdsRange(check.key), check.bounds);
        if (!rule.isNull())
            return refusal(inputs, check.key, rule);
    }
    return {};
}

Refusal refusedField(const StudyInputs& inputs, const Refusal& failing)
{
    if (!failing.isNull() || inputs.numPoints() > 0)
        return failing;
    const QString holder = inputs.rangeHolder();
    return refusal(inputs, holder, fieldrules::noPointsRule(inputs.field(holder).text.trimmed()));
}
