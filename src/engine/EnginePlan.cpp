#include "engine/EnginePlan.h"

#include "common/OrvantaError.h"
#include "engine/PairedArrays.h"
#include "engine/PlanSchedule.h"

#include <algorithm>
#include <memory>

namespace {

bool sameInstruction(const TInstruction& a, const TInstruction& b) {
    return a.OperandClass == b.OperandClass && a.Op == b.Op && a.Op1 == b.Op1 && a.Op2 == b.Op2 &&
           a.Res == b.Res && a.Line == b.Line;
}

bool planMatches(const EnginePlan& plan, const TCompiledProblem& problem,
                 const EngineState& engine) {
    if (plan.TermCount != engine.TermCount || plan.IndepVar != problem.IndepVar ||
        plan.IndepLine != problem.IndepLine || plan.VariableCount != problem.Coefficients.count() ||
        plan.IsConstant != problem.IsConstant ||
        plan.Active.size() != problem.ActiveInstructions.size())
        return false;
    if (problem.Coefficients.count() > 0 &&
        plan.BlockSize != problem.Coefficients.offset(problem.Coefficients.count() - 1) +
                              static_cast<std::size_t>(
                                  problem.Coefficients.length(problem.Coefficients.count() - 1)))
        return false;
    for (std::size_t i = 0; i < plan.Active.size(); ++i)
        if (!sameInstruction(plan.Active[i], problem.ActiveInstructions[i]))
            return false;
    return true;
}

class PlanBuilder {
  public:
    PlanBuilder(const TCompiledProblem& problem, const EngineState& engine, EnginePlan& plan)
        : problem_(problem), engine_(engine), plan_(plan) {}

    void build() {
        for (const TInstruction& instruction : problem_.ActiveInstructions)
            plan_.Steps.push_back(step(instruction));
        scheduleFastSteps(problem_.ActiveInstructions, problem_.Coefficients.count(), plan_);
        for (std::int32_t i = 0; i < problem_.NumMain; ++i) {
            if (!full(problem_.NumConst + i) || !full(problem_.DerivStart + i))
                throw OrvantaError("Main variables and right sides need every Taylor term");
            plan_.MainOffsets.push_back(offset(problem_.NumConst + i));
            plan_.DerivOffsets.push_back(offset(problem_.DerivStart + i));
        }
        startPairs(markPairedArrays(plan_));
    }

  private:
    // Each array the fast pass reads as pairs has its coefficient 0 split after order 0; the
    // pass splits what steps and main variables write at later orders, so only an array written
    // by neither is split whole.
    void startPairs(const std::unordered_set<std::uint32_t>& paired) {
        std::vector<bool> written(static_cast<std::size_t>(problem_.Coefficients.count()), false);
        for (const TInstruction& instruction : problem_.ActiveInstructions)
            if (full(instruction.Res))
                written[static_cast<std::size_t>(instruction.Res)] = true;
        for (std::int32_t i = 0; i < problem_.NumMain; ++i)
            written[static_cast<std::size_t>(problem_.NumConst + i)] = true;
        for (std::int32_t var = 0; var < problem_.Coefficients.count(); ++var)
            if (full(var) && paired.count(offset(var)))
                plan_.StartPairs.push_back(
                    {offset(var), written[static_cast<std::size_t>(var)]
                                      ? 1u
                                      : static_cast<std::uint32_t>(engine_.TermCount)});
    }

    std::uint32_t offset(std::int32_t var) const {
        return static_cast<std::uint32_t>(problem_.Coefficients.offset(var));
    }
    // The array has every order, so a recurrence may read beyond its value.
    bool full(std::int32_t var) const {
        return var >= 0 && var < problem_.Coefficients.count() &&
               problem_.Coefficients.length(var) >= engine_.TermCount;
    }
    bool isT(std::int32_t var) const { return var == problem_.IndepVar; }

    PlanKind kindOf(const TInstruction& in) const {
        const std::int32_t u = in.Op1, w = in.Op2;
        if (!full(in.Res))
            return PlanKind::Fail;
        switch (in.OperandClass) {
        case ClassCV:
            if (in.Op == OpPolynomial)
                return PlanKind::Polynomial;
            if (in.Op == OpCopy)
                return full(u) ? PlanKind::CopyU : PlanKind::Fail;
            if (!full(w))
                return PlanKind::Fail;
            switch (in.Op) {
            case OpMul:
                return PlanKind::ConstTimesW;
            case OpAdd:
                return PlanKind::CopyW;
            case OpSub:
                return PlanKind::NegW;
            case OpDiv:
                return isT(w) ? PlanKind::ConstDivT : PlanKind::ConstDiv;
            default:
                return PlanKind::Fail;
            }
        case ClassVC:
            if (!full(u))
                return PlanKind::Fail;
            switch (in.Op) {
            case OpCos:
                return !full(w) ? PlanKind::Fail : isT(u) ? PlanKind::CosT : PlanKind::Cos;
            case OpSin:
                return !full(w) ? PlanKind::Fail : isT(u) ? PlanKind::SinT : PlanKind::Sin;
            case OpTan:
                return full(w) ? PlanKind::Tan : PlanKind::Fail;
            case OpArccos:
                return full(w) ? PlanKind::Arccos : PlanKind::Fail;
            case OpArcsin:
            case OpArctan:
                return full(w) ? PlanKind::Arcsin : PlanKind::Fail;
            case OpExp:
                return isT(u) ? PlanKind::ExpT : PlanKind::Exp;
            case OpLn:
                return isT(u) ? PlanKind::LnT : PlanKind::Ln;
            case OpSqrt:
                return isT(u) ? PlanKind::SqrtT : PlanKind::Sqrt;
            case OpOnePlusSquare:
            case OpSquare:
                return PlanKind::Square;
            case OpOneMinusSquare:
                return PlanKind::NegSquare;
            case OpMul:
                return PlanKind::UTimesConst;
            case OpDiv:
                return PlanKind::UDivConst;
            case OpAdd:
            case OpSub:
            case OpCopy:
                return PlanKind::CopyU;
            case OpPow:
                return isT(u) ? PlanKind::PowT : PlanKind::Pow;
            default:
                return PlanKind::Fail;
            }
        case ClassVV:
            if (!full(u) || !full(w))
                return PlanKind::Fail;
            switch (in.Op) {
            case OpAdd:
                return PlanKind::AddVV;
            case OpSub:
                return PlanKind::SubVV;
            case OpCopy:
                return PlanKind::CopyU;
            case OpMul:
                return isT(u) ? PlanKind::MulTW : isT(w) ? PlanKind::MulWT : PlanKind::MulVV;
            case OpDiv:
                return isT(w) ? PlanKind::DivVT : PlanKind::DivVV;
            default:
                return PlanKind::Fail;
            }
        default:
            return PlanKind::Fail;
        }
    }

    // The exponent's weight table, shared by every power with the same constant exponent.
    std::uint32_t powerWeights(Extended exponent) {
        for (std::size_t i = 0; i < plan_.Powers.size(); ++i)
            if (plan_.Powers[i].Exponent == exponent)
                return static_cast<std::uint32_t>(i);
        const std::uint32_t start = static_cast<std::uint32_t>(plan_.WeightPool.size());
        const std::size_t size = triangleRow(engine_.TermCount + 1);
        plan_.WeightPool.resize(start + size);
        plan_.WeightPairs.resize(start + size);
        bool paired = true;
        for (std::int32_t k = 1; k <= engine_.TermCount; ++k)
            for (std::int32_t j = 0; j <= k; ++j) {
                const std::size_t at = triangleRow(k) + j;
                const Extended weight = exponent * engine_.FracKJ[at] - engine_.FracJK[at];
                plan_.WeightPool[start + at] = weight;
                plan_.WeightPairs[start + at] = splitValue(weight);
                paired = paired && splitsExactly(plan_.WeightPairs[start + at], weight);
            }
        plan_.Powers.push_back({exponent, start, paired});
        return static_cast<std::uint32_t>(plan_.Powers.size() - 1);
    }

    PlanStep step(const TInstruction& in) {
        const std::int32_t count = problem_.Coefficients.count();
        const bool inRange = in.Op1 >= 0 && in.Op1 < count && in.Op2 >= 0 && in.Op2 < count &&
                             in.Res >= 0 && in.Res < count;
        PlanStep result{PlanKind::Fail, false, in.Op, 0, 0, 0, 0};
        if (!inRange) {
            result.Kind = PlanKind::Broken;
            return result;
        }
        result.R = offset(in.Res);
        result.U = offset(in.Op1);
        result.W = offset(in.Op2);
        result.Kind = kindOf(in);
        if (result.Kind == PlanKind::Pow)
            result.Aux = powerWeights(problem_.Coefficients[in.Op2][0]);
        return result;
    }

    const TCompiledProblem& problem_;
    const EngineState& engine_;
    EnginePlan& plan_;
};

} // namespace

const EnginePlan& planFor(TCompiledProblem& problem, const EngineState& engine) {
    if (problem.Plan && planMatches(*problem.Plan, problem, engine))
        return *problem.Plan;
    auto plan = std::make_shared<EnginePlan>();
    PlanBuilder(problem, engine, *plan).build();
    plan->Active = problem.ActiveInstructions;
    plan->IsConstant = problem.IsConstant;
    plan->TermCount = engine.TermCount;
    plan->IndepVar = problem.IndepVar;
    plan->IndepLine = problem.IndepLine;
    plan->VariableCount = problem.Coefficients.count();
    if (problem.Coefficients.count() > 0)
        plan->BlockSize =
            problem.Coefficients.offset(problem.Coefficients.count() - 1) +
            static_cast<std::size_t>(problem.Coefficients.length(problem.Coefficients.count() - 1));
    problem.Plan = plan;
    return *problem.Plan;
}
