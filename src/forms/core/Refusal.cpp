#include "forms/core/Refusal.h"

QString Refusal::text() const
{
    if (isNull())
        return QString();
    return fieldrules::refusalText(name, rule);
}

namespace fieldrules {

QString refusalText(const QString& name, const QString& rule)
{
    return name + QLatin1Char(' ') + rule;
}

} // namespace fieldrules
