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

QString firstFailingField(const StudyInputs& inputs, const QList<FieldCheck>& checks)
{
    for (const FieldCheck& check : checks) {
        if (!inputs.field(check.key).enabled)
            continue;
        if (!inputs.delivers(check.key, check.bounds))
            return inputs.field(check.key).name;
    }
    return QString();
}

QString refusedField(const StudyInputs& inputs, const QString& failingName)
{
    if (!failingName.isNull())
        return failingName;
    return inputs.numPoints() <= 0 ? inputs.rangeName() : QString();
}
