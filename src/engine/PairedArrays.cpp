#include "engine/PairedArrays.h"

namespace {

// The operands a step of this kind reads in a loop over j (see stepOrderK).
struct LoopReads {
    bool R, U, W;
};

LoopReads loopReads(PlanKind kind) {
    switch (kind) {
    case PlanKind::ConstDiv:
    case PlanKind::DivVV:
    case PlanKind::Arccos:
    case PlanKind::Arcsin:
        return {true, false, true};
    case PlanKind::MulVV:
    case PlanKind::MulVVPair:
    case PlanKind::Cos:
    case PlanKind::Sin:
    case PlanKind::Tan:
        return {false, true, true};
    case PlanKind::Exp:
    case PlanKind::Ln:
    case PlanKind::Sqrt:
    case PlanKind::Pow:
        return {true, true, false};
    case PlanKind::Square:
    case PlanKind::NegSquare:
        return {false, true, false};
    case PlanKind::ScaledProducts:
        return {false, false, true};
    default:
        return {false, false, false};
    }
}

void addLoopReads(const PlanStep& step, std::unordered_set<std::uint32_t>& paired) {
    const LoopReads reads = loopReads(step.Kind);
    if (reads.R)
        paired.insert(step.R);
    if (reads.U)
        paired.insert(step.U);
    if (reads.W)
        paired.insert(step.W);
}

} // namespace

std::unordered_set<std::uint32_t> markPairedArrays(EnginePlan& plan) {
    std::unordered_set<std::uint32_t> paired;
    for (const PlanStep& step : plan.FastSteps) {
        addLoopReads(step, paired);
        if (step.Kind == PlanKind::MulVVPair) {
            paired.insert(plan.Partners[step.Aux].U);
            paired.insert(plan.Partners[step.Aux].W);
        } else if (step.Kind == PlanKind::ScaledProducts) {
            const ScaledProductGroup& group = plan.ScaledGroups[step.Aux];
            for (std::uint32_t m = 0; m < group.Count; ++m)
                paired.insert(group.Members[m].X);
        } else if (step.Kind == PlanKind::PowPair) {
            addLoopReads(plan.PowerPairs[step.Aux].First, paired);
            addLoopReads(plan.PowerPairs[step.Aux].Second, paired);
        }
    }
    // A copy moves the pair with the value, so the source of a paired copy is paired too.
    for (bool grown = true; grown;) {
        grown = false;
        for (const PlanStep& step : plan.FastSteps) {
            const bool copy = step.Kind == PlanKind::CopyU || step.Kind == PlanKind::CopyW ||
                              step.Kind == PlanKind::NegW;
            const std::uint32_t source = step.Kind == PlanKind::CopyU ? step.U : step.W;
            if (copy && paired.count(step.R) && paired.insert(source).second)
                grown = true;
        }
    }
    auto flag = [&](PlanStep& step) { step.PairR = paired.count(step.R) != 0; };
    for (PlanStep& step : plan.FastSteps)
        flag(step);
    for (PlanStep& step : plan.ChainSteps)
        flag(step);
    for (PowerPair& pair : plan.PowerPairs) {
        flag(pair.First);
        flag(pair.Second);
    }
    for (PlanPartner& partner : plan.Partners)
        partner.PairR = paired.count(partner.R) != 0;
    for (ScaledProductGroup& group : plan.ScaledGroups)
        for (std::uint32_t m = 0; m < group.Count; ++m) {
            ScaledProductGroup::Member& member = group.Members[m];
            member.PairScaled1 = paired.count(member.Scaled1) != 0;
            member.PairScaled2 = paired.count(member.Scaled2) != 0;
            member.PairProduct1 = paired.count(member.Product1) != 0;
            member.PairProduct2 = paired.count(member.Product2) != 0;
        }
    plan.MainPaired.clear();
    for (const std::uint32_t offset : plan.MainOffsets)
        plan.MainPaired.push_back(paired.count(offset) != 0 ? 1 : 0);
    return paired;
}
