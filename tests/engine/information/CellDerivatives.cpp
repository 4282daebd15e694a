#include "CellDerivatives.h"

#include "engine/expressions/ParameterElement.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace quorvel::test {

namespace {

// Value, gradient and Hessian of an expression, by the parameters it
// mentions (indices), which keeps the long cell expressions cheap.
struct CellDerivatives
{
    std::vector<int> indices;
    double value = 0.0;
    std::vector<double> gradient;
    Matrix hessian;
};

void collectIndices(const Expression& expression, std::vector<int>& indices)
{
    if (const auto* parameter = dynamic_cast<const ParameterElement*>(&expression.root()))
        indices.push_back(parameter->index());
    for (const auto& operation : expression.operations())
        if (const Expression* operand = operation->operand())
            collectIndices(*operand, indices);
}

class Walker
{
public:
    Walker(const std::vector<int>& indices, const std::vector<double>& parameters)
        : indices(indices)
        , parameters(parameters)
    {}

    CellDerivatives evaluate(const Expression& expression) const
    {
        CellDerivatives result = element(expression.root());
        for (const auto& operation : expression.operations()) {
            const CellDerivatives rhs = evaluate(*operation->operand());
            switch (operation->kind()) {
            case Operation::Add:
                combineLinear(result, rhs, 1.0);
                break;
            case Operation::Subtract:
                combineLinear(result, rhs, -1.0);
                break;
            case Operation::Multiply:
                multiply(result, rhs);
                break;
            default:
                throw std::logic_error("unknown operation kind");
            }
        }
        return result;
    }

private:
    CellDerivatives blank() const
    {
        CellDerivatives d;
        d.indices = indices;
        d.gradient.assign(indices.size(), 0.0);
        d.hessian = Matrix(size(), size());
        return d;
    }

    int size() const { return static_cast<int>(indices.size()); }

    CellDerivatives element(const ExpressionElement& root) const
    {
        CellDerivatives d = blank();
        d.value = root.value(parameters);
        if (const auto* parameter = dynamic_cast<const ParameterElement*>(&root)) {
            const auto at = std::lower_bound(indices.begin(), indices.end(), parameter->index());
            d.gradient[static_cast<std::size_t>(at - indices.begin())] = 1.0;
        }
        return d;
    }

    void combineLinear(CellDerivatives& lhs, const CellDerivatives& rhs, double sign) const
    {
        lhs.value += sign * rhs.value;
        for (int i = 0; i < size(); ++i) {
            lhs.gradient[i] += sign * rhs.gradient[i];
            for (int j = 0; j < size(); ++j)
                lhs.hessian(i, j) += sign * rhs.hessian(i, j);
        }
    }

    // (ab)'' = a b'' + b a'' + a' b'^T + b' a'^T.
    void multiply(CellDerivatives& lhs, const CellDerivatives& rhs) const
    {
        const double a = lhs.value;
        const double b = rhs.value;
        for (int i = 0; i < size(); ++i)
            for (int j = 0; j < size(); ++j)
                lhs.hessian(i, j) = a * rhs.hessian(i, j) + b * lhs.hessian(i, j) +
                                    lhs.gradient[i] * rhs.gradient[j] +
                                    rhs.gradient[i] * lhs.gradient[j];
        for (int i = 0; i < size(); ++i)
            lhs.gradient[i] = a * rhs.gradient[i] + b * lhs.gradient[i];
        lhs.value = a * b;
    }

    const std::vector<int>& indices;
    const std::vector<double>& parameters;
};

CellDerivatives differentiate(const Expression& expression, const std::vector<double>& parameters)
{
    std::vector<int> indices;
    collectIndices(expression, indices);
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return Walker(indices, parameters).evaluate(expression);
}

} // namespace

Matrix enumeratedHessian(const ReleaseRecaptureLikelihoodFunc& likelihood,
                         const std::vector<double>& parameters)
{
    const int n = static_cast<int>(parameters.size());
    Matrix hessian(n, n);
    for (int k = 0; k < likelihood.cellCount(); ++k) {
        const double count = likelihood.expectedCount(k);
        if (!(count > 0.0))
            continue;
        const CellDerivatives cell = differentiate(likelihood.cell(k), parameters);
        if (!(cell.value > 0.0))
            continue;
        const int m = static_cast<int>(cell.indices.size());
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < m; ++j)
                hessian(cell.indices[i], cell.indices[j]) +=
                    count * (cell.gradient[i] * cell.gradient[j] / (cell.value * cell.value) -
                             cell.hessian(i, j) / cell.value);
    }
    return hessian;
}

} // namespace quorvel::test
