#include "engine/expressions/BinaryOperation.h"

BinaryOperation::BinaryOperation(Kind kind, Expression operand)
    : Operation(kind)
    , right(std::move(operand))
{}

bool BinaryOperation::equals(const Operation& other) const
{
    if (!Operation::equals(other))
        return false;
    const Expression* theirs = other.operand();
    return theirs != nullptr && right.equals(*theirs);
}

bool BinaryOperation::isVariable() const
{
    return right.isVariable();
}

bool BinaryOperation::mentions(const std::string& text) const
{
    return right.mentions(text);
}

std::ostream& BinaryOperation::print(std::ostream& stream) const
{
    switch (kind()) {
    case Add:
        stream << '+';
        break;
    case Subtract:
        stream << '-';
        break;
    default:
        stream << '*';
        break;
    }
    return right.print(stream);
}
