#include "engine/expressions/SubtractOperation.h"

SubtractOperation::SubtractOperation(Expression operand)
    : BinaryOperation(Subtract, std::move(operand))
{}

std::unique_ptr<Operation> SubtractOperation::clone() const
{
    return std::make_unique<SubtractOperation>(*this);
}

double SubtractOperation::apply(const std::vector<double>& parameters, double lhs) const
{
    return lhs - operandValue(parameters);
}
