#pragma once

#include "engine/expressions/BinaryOperation.h"

// lhs × operand: the multiply step of a chain.
class MultiplyOperation : public BinaryOperation
{
public:
    explicit MultiplyOperation(Expression operand);

    std::unique_ptr<Operation> clone() const override;
    double apply(const std::vector<double>& parameters, double lhs) const override;
};
