#include "engine/PlanSchedule.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace {

// One piece of the fast pass: a single step, or the four steps (T1, T2, P1, P2) of a scaled
// pair that run as one.
struct Unit {
    std::array<std::int32_t, 4> members;
    std::int32_t count;
};

class Scheduler {
  public:
    Scheduler(const std::vector<TInstruction>& active, std::int32_t variableCount, EnginePlan& plan)
        : active_(active), plan_(plan), n_(static_cast<std::int32_t>(active.size())),
          producer_(static_cast<std::size_t>(variableCount), -1),
          reads_(static_cast<std::size_t>(variableCount), 0) {}

    void run() {
        if (!indexProducers()) {
            // Reordering is only sound when every variable has one producer that precedes its
            // readers; anything else runs as listed.
            plan_.FastSteps = plan_.Steps;
            return;
        }
        pairScaledProducts();
        makeUnits();
        if (!orderUnits()) {
            plan_.FastSteps = plan_.Steps;
            return;
        }
        emit();
    }

  private:
    std::int32_t producerOf(std::int32_t var) const {
        return producer_[static_cast<std::size_t>(var)];
    }
    const PlanStep& step(std::int32_t i) const { return plan_.Steps[static_cast<std::size_t>(i)]; }
    const TInstruction& instruction(std::int32_t i) const {
        return active_[static_cast<std::size_t>(i)];
    }

    bool indexProducers() {
        for (std::int32_t i = 0; i < n_; ++i) {
            const TInstruction& in = instruction(i);
            if (step(i).Kind == PlanKind::Broken || producerOf(in.Res) >= 0)
                return false;
            for (std::int32_t operand : {in.Op1, in.Op2}) {
                if (operand == in.Res)
                    return false;
                ++reads_[static_cast<std::size_t>(operand)];
            }
            producer_[static_cast<std::size_t>(in.Res)] = i;
        }
        for (std::int32_t i = 0; i < n_; ++i)
            for (std::int32_t operand : {instruction(i).Op1, instruction(i).Op2})
                if (producerOf(operand) > i)
                    return false;
        return true;
    }

    // The step that makes product i's first factor as c X, when nothing else reads it; -1 else.
    std::int32_t scaledFactorOf(std::int32_t i) const {
        if (step(i).Kind != PlanKind::MulVV)
            return -1;
        const std::int32_t factor = instruction(i).Op1;
        const std::int32_t p = producerOf(factor);
        if (p < 0 || step(p).Kind != PlanKind::ConstTimesW ||
            reads_[static_cast<std::size_t>(factor)] != 1)
            return -1;
        return p;
    }

    // Pairs each product (c1 X) Y with the next one in list order that reads the same X and Y.
    void pairScaledProducts() {
        partner_.assign(static_cast<std::size_t>(n_), -1);
        std::unordered_map<std::uint64_t, std::int32_t> waiting;
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t scaled = scaledFactorOf(i);
            if (scaled < 0)
                continue;
            const std::uint64_t key =
                (static_cast<std::uint64_t>(static_cast<std::uint32_t>(instruction(scaled).Op2))
                 << 32) |
                static_cast<std::uint32_t>(instruction(i).Op2);
            const auto [at, fresh] = waiting.try_emplace(key, i);
            if (fresh)
                continue;
            partner_[static_cast<std::size_t>(at->second)] = i;
            partner_[static_cast<std::size_t>(i)] = at->second;
            waiting.erase(at);
        }
    }

    // Units in the order of their first step in the list.
    void makeUnits() {
        unitOf_.assign(static_cast<std::size_t>(n_), -1);
        std::vector<Unit> fused;
        std::vector<std::int32_t> fusedUnitOf(static_cast<std::size_t>(n_), -1);
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t other = partner_[static_cast<std::size_t>(i)];
            if (other < i)
                continue;
            const Unit unit{{scaledFactorOf(i), scaledFactorOf(other), i, other}, 4};
            for (std::int32_t member : unit.members)
                fusedUnitOf[static_cast<std::size_t>(member)] =
                    static_cast<std::int32_t>(fused.size());
            fused.push_back(unit);
        }
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t f = fusedUnitOf[static_cast<std::size_t>(i)];
            if (f < 0) {
                add(Unit{{i, 0, 0, 0}, 1});
                continue;
            }
            const Unit& unit = fused[static_cast<std::size_t>(f)];
            if (i == *std::min_element(unit.members.begin(), unit.members.end()))
                add(unit);
        }
    }

    void add(const Unit& unit) {
        for (std::int32_t m = 0; m < unit.count; ++m)
            unitOf_[static_cast<std::size_t>(unit.members[static_cast<std::size_t>(m)])] =
                static_cast<std::int32_t>(units_.size());
        units_.push_back(unit);
    }

    // A topological order of the units that runs each one as soon as its last input is made,
    // so that consumers read their operands' arrays while they are still in the first-level
    // cache; false if the units depend on each other in a cycle.
    bool orderUnits() {
        const std::size_t units = units_.size();
        std::vector<std::int32_t> edgeStart(units + 1, 0), pending(units, 0);
        auto forEachPredecessor = [this](std::size_t u, auto&& visit) {
            const Unit& unit = units_[u];
            for (std::int32_t m = 0; m < unit.count; ++m) {
                const TInstruction& in = instruction(unit.members[static_cast<std::size_t>(m)]);
                for (std::int32_t operand : {in.Op1, in.Op2}) {
                    const std::int32_t p = producerOf(operand);
                    const std::int32_t from = p >= 0 ? unitOf_[static_cast<std::size_t>(p)] : -1;
                    if (from >= 0 && from != static_cast<std::int32_t>(u))
                        visit(static_cast<std::size_t>(from));
                }
            }
        };
        for (std::size_t u = 0; u < units; ++u)
            forEachPredecessor(u, [&](std::size_t from) {
                ++edgeStart[from + 1];
                ++pending[u];
            });
        for (std::size_t u = 0; u < units; ++u)
            edgeStart[u + 1] += edgeStart[u];
        std::vector<std::int32_t> successors(static_cast<std::size_t>(edgeStart[units]));
        std::vector<std::int32_t> fill(edgeStart.begin(), edgeStart.end() - 1);
        for (std::size_t u = 0; u < units; ++u)
            forEachPredecessor(u, [&](std::size_t from) {
                successors[static_cast<std::size_t>(fill[from]++)] = static_cast<std::int32_t>(u);
            });
        // A stack of ready units: the one made ready last runs next.
        std::vector<std::int32_t> ready;
        for (std::size_t u = units; u-- > 0;)
            if (pending[u] == 0)
                ready.push_back(static_cast<std::int32_t>(u));
        order_.clear();
        while (!ready.empty()) {
            const std::size_t u = static_cast<std::size_t>(ready.back());
            ready.pop_back();
            order_.push_back(u);
            for (std::int32_t e = edgeStart[u + 1]; e-- > edgeStart[u];) {
                const std::size_t next =
                    static_cast<std::size_t>(successors[static_cast<std::size_t>(e)]);
                if (--pending[next] == 0)
                    ready.push_back(static_cast<std::int32_t>(next));
            }
        }
        return order_.size() == units;
    }

    void emit() {
        for (std::size_t at = 0; at < order_.size(); ++at) {
            const Unit& unit = units_[order_[at]];
            if (unit.count == 4) {
                emitScaledPair(unit);
                continue;
            }
            const PlanStep& first = step(unit.members[0]);
            // A plain product followed by another that does not read it: sum both side by side.
            if (first.Kind == PlanKind::MulVV && at + 1 < order_.size() &&
                units_[order_[at + 1]].count == 1) {
                const PlanStep& second = step(units_[order_[at + 1]].members[0]);
                if (second.Kind == PlanKind::MulVV && second.U != first.R && second.W != first.R) {
                    PlanStep pair = first;
                    pair.Kind = PlanKind::MulVVPair;
                    pair.Aux = static_cast<std::uint32_t>(plan_.Partners.size());
                    plan_.Partners.push_back({second.R, second.U, second.W});
                    plan_.FastSteps.push_back(pair);
                    ++at;
                    continue;
                }
            }
            plan_.FastSteps.push_back(first);
        }
    }

    void emitScaledPair(const Unit& unit) {
        const PlanStep& t1 = step(unit.members[0]);
        const PlanStep& t2 = step(unit.members[1]);
        const PlanStep& p1 = step(unit.members[2]);
        const PlanStep& p2 = step(unit.members[3]);
        PlanStep fused{PlanKind::ScaledProductPair,
                       OpMul,
                       p1.R,
                       t1.W,
                       p1.W,
                       static_cast<std::uint32_t>(plan_.ScaledPairs.size())};
        plan_.ScaledPairs.push_back({t1.U, t2.U, t1.R, t2.R, p2.R});
        plan_.FastSteps.push_back(fused);
    }

    const std::vector<TInstruction>& active_;
    EnginePlan& plan_;
    std::int32_t n_;
    std::vector<std::int32_t> producer_, reads_, partner_, unitOf_;
    std::vector<std::size_t> order_;
    std::vector<Unit> units_;
};

} // namespace

void scheduleFastSteps(const std::vector<TInstruction>& active, std::int32_t variableCount,
                       EnginePlan& plan) {
    Scheduler(active, variableCount, plan).run();
}
