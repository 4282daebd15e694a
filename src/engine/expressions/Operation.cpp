#include "engine/expressions/Operation.h"

const Expression* Operation::operand() const
{
    return nullptr;
}

bool Operation::equals(const Operation& other) const
{
    return operationKind == other.operationKind;
}

bool Operation::isVariable() const
{
    return false;
}

bool Operation::mentions(const std::string&) const
{
    return false;
}

std::ostream& Operation::print(std::ostream& stream) const
{
    return stream;
}
