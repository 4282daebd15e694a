#include "engine/expressions/AddOperation.h"

AddOperation::AddOperation(Expression operand)
    : BinaryOperation(Add, std::move(operand))
{}

std::unique_ptr<Operation> AddOperation::clone() const
{
    return std::make_unique<AddOperation>(*this);
}

double AddOperation::apply(const std::vector<double>& parameters, double lhs) const
{
    return operandValue(parameters) + lhs;
}
