#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class Expression;

// One step of an expression's chain: it combines the running value with its
// right-hand side. The add, subtract and multiply operations carry a whole
// expression as their right-hand side (the operand).
class Operation
{
public:
    enum Kind { Add = 0, Subtract = 1, Multiply = 3 };

    virtual ~Operation() = default;

    virtual std::unique_ptr<Operation> clone() const = 0;
    // The new running value, given the running value lhs.
    virtual double apply(const std::vector<double>& parameters, double lhs) const = 0;
    // The right-hand expression; none for an operation without one.
    virtual const Expression* operand() const;
    // Here: the same kind. Operations with an operand also compare it.
    virtual bool equals(const Operation& other) const;
    bool notEquals(const Operation& other) const { return !equals(other); }
    virtual bool isVariable() const;
    virtual bool mentions(const std::string& text) const;
    virtual std::ostream& print(std::ostream& stream) const;

    int kind() const { return operationKind; }

protected:
    explicit Operation(Kind kind)
        : operationKind(kind)
    {}

private:
    int operationKind;
};
