#pragma once

#include "engine/expressions/ExpressionElement.h"

// A parameter in a parameter expression: the value at position index of the
// parameter vector. The label ("S0", "P1", "Sc", "St", or empty for lambda)
// only serves the printed form, where it appears in brackets.
class ParameterElement : public ExpressionElement
{
public:
    ParameterElement(std::string label, int index);

    std::unique_ptr<ExpressionElement> clone() const override;
    double value(const std::vector<double>& parameters) const override;
    const std::string& name() const override { return label; }
    std::ostream& print(std::ostream& stream) const override;

    int index() const { return position; }

private:
    std::string label;
    int position;
};
