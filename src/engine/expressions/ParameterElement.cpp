#include "engine/expressions/ParameterElement.h"

ParameterElement::ParameterElement(std::string label, int index)
    : ExpressionElement(true)
    , label(std::move(label))
    , position(index)
{}

std::unique_ptr<ExpressionElement> ParameterElement::clone() const
{
    return std::make_unique<ParameterElement>(*this);
}

double ParameterElement::value(const std::vector<double>& parameters) const
{
    return parameters[static_cast<std::size_t>(position)];
}

std::ostream& ParameterElement::print(std::ostream& stream) const
{
    return stream << '[' << label << ']';
}
