#include "engine/expressions/LiteralElement.h"

#include <cstdio>

LiteralElement::LiteralElement(double number)
    : ExpressionElement(false)
    , constant(number)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.15f", number);
    text = buffer;
}

std::unique_ptr<ExpressionElement> LiteralElement::clone() const
{
    return std::make_unique<LiteralElement>(*this);
}

double LiteralElement::value(const std::vector<double>&) const
{
    return constant;
}

std::ostream& LiteralElement::print(std::ostream& stream) const
{
    return stream << text;
}
