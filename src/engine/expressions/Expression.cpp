#include "engine/expressions/Expression.h"

#include "engine/expressions/RCObject.h"

class Expression::ExpressionValue : public RCObject
{
public:
    explicit ExpressionValue(std::unique_ptr<ExpressionElement> element)
        : root(std::move(element))
    {}

    // A deep copy: the root and every operation are cloned (the operations'
    // operands are shared handles, which copy on write themselves).
    ExpressionValue(const ExpressionValue& other)
        : RCObject(other)
        , root(other.root->clone())
    {
        operations.reserve(other.operations.size());
        for (const auto& operation : other.operations)
            operations.push_back(operation->clone());
    }

    std::unique_ptr<ExpressionElement> root;
    std::vector<std::unique_ptr<Operation>> operations;
};

Expression::Expression(std::unique_ptr<ExpressionElement> root)
    : value(new ExpressionValue(std::move(root)))
{
    value->addReference();
}

Expression::Expression(const Expression& other)
    : value(other.value)
{
    value->addReference();
}

Expression& Expression::operator=(const Expression& other)
{
    other.value->addReference();
    value->removeReference();
    value = other.value;
    return *this;
}

Expression::~Expression()
{
    value->removeReference();
}

void Expression::append(std::unique_ptr<Operation> operation)
{
    if (value->isShared()) {
        auto* own = new ExpressionValue(*value);
        own->addReference();
        value->removeReference();
        value = own;
    }
    value->operations.push_back(std::move(operation));
}

double Expression::evaluate(const std::vector<double>& parameters) const
{
    double result = value->root->value(parameters);
    for (const auto& operation : value->operations)
        result = operation->apply(parameters, result);
    return result;
}

bool Expression::isVariable() const
{
    if (value->root->isVariable())
        return true;
    for (const auto& operation : value->operations)
        if (operation->isVariable())
            return true;
    return false;
}

bool Expression::mentions(const std::string& text) const
{
    if (value->root->hasName(text))
        return true;
    for (const auto& operation : value->operations)
        if (operation->mentions(text))
            return true;
    return false;
}

bool Expression::equals(const Expression& other) const
{
    if (value->root->name() != other.value->root->name())
        return false;
    const auto& mine = value->operations;
    const auto& theirs = other.value->operations;
    if (mine.size() != theirs.size())
        return false;
    for (std::size_t i = 0; i < mine.size(); ++i)
        if (mine[i]->notEquals(*theirs[i]))
            return false;
    return true;
}

std::ostream& Expression::print(std::ostream& stream) const
{
    value->root->print(stream);
    for (const auto& operation : value->operations)
        operation->print(stream);
    return stream;
}

const ExpressionElement& Expression::root() const
{
    return *value->root;
}

const std::vector<std::unique_ptr<Operation>>& Expression::operations() const
{
    return value->operations;
}
