#pragma once

#include "engine/expressions/BinaryOperation.h"

// lhs + operand: the add step of a chain.
class AddOperation : public BinaryOperation
{
public:
    explicit AddOperation(Expression operand);

    std::unique_ptr<Operation> clone() const override;
    double apply(const std::vector<double>& parameters, double lhs) const override;
};
