#pragma once

#include "engine/expressions/Expression.h"
#include "engine/expressions/Operation.h"

// What the add, subtract and multiply operations share: an owned operand
// expression, compared, searched and printed (after the operation's symbol)
// as part of the chain.
class BinaryOperation : public Operation
{
public:
    const Expression* operand() const override { return &right; }
    // Same kind and equal operands.
    bool equals(const Operation& other) const override;
    bool isVariable() const override;
    bool mentions(const std::string& text) const override;
    std::ostream& print(std::ostream& stream) const override;

protected:
    BinaryOperation(Kind kind, Expression operand);

    double operandValue(const std::vector<double>& parameters) const
    {
        return right.evaluate(parameters);
    }

private:
    Expression right;
};
