#pragma once

#include "engine/expressions/ExpressionElement.h"

// A constant in a parameter expression, such as the 1 of 1 − S or a known
// removal proportion. Its text is the number in fixed notation with 15
// decimals (1 prints as 1.000000000000000).
class LiteralElement : public ExpressionElement
{
public:
    explicit LiteralElement(double number);

    std::unique_ptr<ExpressionElement> clone() const override;
    double value(const std::vector<double>& parameters) const override;
    const std::string& name() const override { return text; }
    std::ostream& print(std::ostream& stream) const override;

    double number() const { return constant; }

private:
    double constant;
    std::string text;
};
