#include "engine/expressions/MultiplyOperation.h"

MultiplyOperation::MultiplyOperation(Expression operand)
    : BinaryOperation(Multiply, std::move(operand))
{}

std::unique_ptr<Operation> MultiplyOperation::clone() const
{
    return std::make_unique<MultiplyOperation>(*this);
}

double MultiplyOperation::apply(const std::vector<double>& parameters, double lhs) const
{
    return operandValue(parameters) * lhs;
}
