#include "forms/range/RangeSpec.h"

#include "forms/range/RangeLineEdit.h"

RangeSpec::RangeSpec(int maxPoints)
    : range_(0.0, 0.0, RangeArithmetic::Real, maxPoints)
{}

RangeSpec::~RangeSpec()
{
    for (RangeLineEdit* edit : edits_)
        static_cast<RangeField*>(edit)->shareRange(nullptr);
}

void RangeSpec::addEdit(RangeLineEdit* edit)
{
    edits_.append(edit);
    static_cast<RangeField*>(edit)->shareRange(this);
}

void RangeSpec::removeEdit(RangeLineEdit* edit)
{
    edits_.removeAll(edit);
}

bool RangeSpec::isOwner(const QString& name) const
{
    return !ownerName_.isEmpty() && ownerName_ == name;
}

void RangeSpec::setOwner(const QString& name)
{
    ownerName_ = name;
}

void RangeSpec::clearOwner()
{
    ownerName_ = QString();
}

// Only a text with exactly one colon becomes a range; a text without one moves
// the start alone. The edit type is taken in any case.
void RangeSpec::parse(const QString& text, const QString& name, RangeArithmetic::EditType type)
{
    double start = range_.start();
    double end = range_.end();
    if (RangeArithmetic::parse(text, &start, &end))
        ownerName_ = name;
    else if (!text.contains(QLatin1Char(':')))
        start = text.toDouble();
    range_ = RangeArithmetic(start, end, type, range_.maxPoints());
}

void RangeSpec::followHolder(const QString& text, RangeArithmetic::EditType type)
{
    if (text.contains(QLatin1Char(':')))
        parse(text, ownerName_, type);
    else
        clearOwner();
}

int RangeSpec::numPoints() const
{
    return current().numPoints();
}

double RangeSpec::pointAt(int i) const
{
    return current().pointAt(i);
}

QList<double> RangeSpec::points() const
{
    return current().points();
}

QString RangeSpec::toString(char format, int precision) const
{
    return range_.toString(format, precision);
}

// Without a holder the record stands for its start alone: one point.
RangeArithmetic RangeSpec::current() const
{
    if (ownerName_.isNull())
        return RangeArithmetic(range_.start(), range_.end(), RangeArithmetic::Real, 1);
    return range_;
}
