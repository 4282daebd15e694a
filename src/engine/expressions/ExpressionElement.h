#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class Expression;

// A leaf of a parameter expression: a numeric literal or a parameter looked
// up by its index in the parameter vector.
class ExpressionElement
{
public:
    virtual ~ExpressionElement() = default;

    virtual std::unique_ptr<ExpressionElement> clone() const = 0;
    virtual double value(const std::vector<double>& parameters) const = 0;
    // The element's text: the literal's digits, or the parameter's label.
    virtual const std::string& name() const = 0;
    // Sets out to a new expression whose root is a copy of this element.
    virtual Expression& toExpression(Expression& out) const;
    // True when name() equals text exactly.
    virtual bool hasName(const std::string& text) const;
    virtual std::ostream& print(std::ostream& stream) const = 0;

    // True for parameters, false for literals.
    bool isVariable() const { return variable; }

protected:
    explicit ExpressionElement(bool isVariable)
        : variable(isVariable)
    {}

private:
    bool variable;
};
