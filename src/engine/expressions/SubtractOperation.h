#pragma once

#include "engine/expressions/BinaryOperation.h"

// lhs − operand: the subtract step of a chain, as in 1 − S.
class SubtractOperation : public BinaryOperation
{
public:
    explicit SubtractOperation(Expression operand);

    std::unique_ptr<Operation> clone() const override;
    double apply(const std::vector<double>& parameters, double lhs) const override;
};
