#pragma once

#include "engine/expressions/ExpressionElement.h"
#include "engine/expressions/Operation.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// A cell probability or part of one, built once per case and evaluated at
// every perturbed parameter vector of the numerical Hessian. It is a root
// element followed by a left-to-right chain of operations, with no
// precedence: the chain root, −a, +b, ×c means ((root − a) + b) × c. Nesting
// comes from the operands, which are whole expressions evaluated first.
//
// Expression is a handle to a reference-counted value: copies share the
// value (the chi expressions are shared by many cells this way), and append
// first detaches a shared value into a private deep copy.
class Expression
{
public:
    // Takes ownership of root.
    explicit Expression(std::unique_ptr<ExpressionElement> root);
    Expression(const Expression& other);
    Expression& operator=(const Expression& other);
    ~Expression();

    // Adds operation at the end of the chain (takes ownership).
    void append(std::unique_ptr<Operation> operation);

    double evaluate(const std::vector<double>& parameters) const;
    // True when the root or any operand involves a parameter.
    bool isVariable() const;
    // True when the root is named text or any operand mentions text.
    bool mentions(const std::string& text) const;
    // Same root name and pairwise equal operations.
    bool equals(const Expression& other) const;
    // The root's text followed by each operation's text, without separators.
    std::ostream& print(std::ostream& stream) const;

    const ExpressionElement& root() const;
    const std::vector<std::unique_ptr<Operation>>& operations() const;
    // True when both handles refer to the same value.
    bool sharesValueWith(const Expression& other) const { return value == other.value; }

private:
    class ExpressionValue;

    ExpressionValue* value;
};
