#include "engine/expressions/Expression.h"
#include "engine/expressions/AddOperation.h"
#include "engine/expressions/LiteralElement.h"
#include "engine/expressions/MultiplyOperation.h"
#include "engine/expressions/ParameterElement.h"
#include "engine/expressions/ParameterMap.h"
#include "engine/expressions/SubtractOperation.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

Expression literal(double number)
{
    return Expression(std::make_unique<LiteralElement>(number));
}

Expression parameter(const std::string& label, int index)
{
    return Expression(std::make_unique<ParameterElement>(label, index));
}

std::string text(const Expression& e)
{
    std::ostringstream stream;
    e.print(stream);
    return stream.str();
}

} // namespace

TEST(Expression, ChainEvaluatesLeftToRightAndOperandsFirst)
{
    // 2, −3, +4, ×5 is ((2 − 3) + 4) × 5, not 2 − 3 + 4·5.
    Expression chain = literal(2);
    chain.append(std::make_unique<SubtractOperation>(literal(3)));
    chain.append(std::make_unique<AddOperation>(literal(4)));
    chain.append(std::make_unique<MultiplyOperation>(literal(5)));
    EXPECT_DOUBLE_EQ(chain.evaluate({}), 15.0);

    // 1 − [S] with S = 0.25, then an operand chain [S]·[P] evaluated whole.
    Expression oneMinus = literal(1.0);
    oneMinus.append(std::make_unique<SubtractOperation>(parameter("S3", 0)));
    EXPECT_DOUBLE_EQ(oneMinus.evaluate({0.25, 0.5}), 0.75);
    Expression product = parameter("S3", 0);
    product.append(std::make_unique<MultiplyOperation>(parameter("P", 1)));
    oneMinus.append(std::make_unique<AddOperation>(product));
    EXPECT_DOUBLE_EQ(oneMinus.evaluate({0.25, 0.5}), 0.75 + 0.125);

    EXPECT_EQ(text(oneMinus), "1.000000000000000-[S3]+[S3]*[P]");
    EXPECT_TRUE(oneMinus.isVariable());
    EXPECT_FALSE(chain.isVariable());
    EXPECT_TRUE(oneMinus.mentions("P"));
    EXPECT_FALSE(oneMinus.mentions("S"));
    EXPECT_EQ(LiteralElement(0.1).name(), "0.100000000000000");
}

TEST(Expression, AppendToSharedValueCopiesOnWrite)
{
    Expression original = parameter("S0", 0);
    original.append(std::make_unique<MultiplyOperation>(literal(2)));
    Expression shared = original;
    EXPECT_TRUE(shared.sharesValueWith(original));

    shared.append(std::make_unique<AddOperation>(literal(1)));
    EXPECT_FALSE(shared.sharesValueWith(original));
    EXPECT_DOUBLE_EQ(original.evaluate({3.0}), 6.0);
    EXPECT_DOUBLE_EQ(shared.evaluate({3.0}), 7.0);
    EXPECT_EQ(original.operations().size(), 1u);

    // The detached copy keeps sharing the operands it did not change.
    EXPECT_EQ(shared.operations()[0]->kind(), Operation::Multiply);
    EXPECT_TRUE(
        shared.operations()[0]->operand()->sharesValueWith(*original.operations()[0]->operand()));
}

TEST(Expression, EqualityComparesRootNamesAndOperations)
{
    Expression a = parameter("S1", 0);
    a.append(std::make_unique<MultiplyOperation>(parameter("P1", 1)));
    Expression b = parameter("S1", 5);
    b.append(std::make_unique<MultiplyOperation>(parameter("P1", 6)));
    EXPECT_TRUE(a.equals(b));

    Expression differentKind = parameter("S1", 0);
    differentKind.append(std::make_unique<AddOperation>(parameter("P1", 1)));
    EXPECT_FALSE(a.equals(differentKind));
    EXPECT_TRUE(a.operations()[0]->notEquals(*differentKind.operations()[0]));

    Expression differentOperand = parameter("S1", 0);
    differentOperand.append(std::make_unique<MultiplyOperation>(parameter("P2", 1)));
    EXPECT_FALSE(a.equals(differentOperand));
    EXPECT_FALSE(a.equals(parameter("S1", 0)));
}

TEST(ParameterMap, EqualLabelsShareIndicesInOrderOfFirstAppearance)
{
    const ParameterMap map({0, 1, 1, 3}, 2);
    EXPECT_EQ(map.positionIndices(), (std::vector<int>{2, 3, 3, 4}));
    EXPECT_EQ(map.nextIndex(), 5);
    EXPECT_EQ(map.createdCount(), 3);
    EXPECT_EQ(map.labelOfIndex(4), 3);
    EXPECT_EQ(map.labelOfIndex(5), std::nullopt);
    // Not found is not a label: -1 may be one.
    EXPECT_EQ(ParameterMap({-1}, 0).labelOfIndex(0), -1);
    EXPECT_EQ(ParameterMap({-1}, 0).labelOfIndex(-1), std::nullopt);

    const ParameterMap unordered({5, 2, 5}, 0);
    EXPECT_EQ(unordered.positionIndices(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(unordered.labelOfIndex(0), 5);
    EXPECT_EQ(unordered.labelOfIndex(1), 2);
}
