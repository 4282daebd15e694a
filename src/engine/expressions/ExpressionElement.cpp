#include "engine/expressions/ExpressionElement.h"

#include "engine/expressions/Expression.h"

Expression& ExpressionElement::toExpression(Expression& out) const
{
    out = Expression(clone());
    return out;
}

bool ExpressionElement::hasName(const std::string& text) const
{
    return name() == text;
}
