#include "engine/PlanSchedule.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>

namespace {

// Two products (c1 X) Y and (c2 X) Y by their list positions: the scaled copies and products.
struct ScaledPairing {
    std::int32_t scaled1, scaled2, product1, product2;
};

// What a unit of the fast pass runs as.
enum class UnitKind { Single, ScaledGroup, Chain, PowerPair };

// One piece of the fast pass: `count` list positions from `first` in the member pool; `index`
// points into groups_, chains_ or powerPairs_ by the kind.
struct Unit {
    std::int32_t first, count;
    UnitKind kind;
    std::int32_t index;
};

class Scheduler {
  public:
    Scheduler(const std::vector<TInstruction>& active, std::int32_t variableCount, EnginePlan& plan)
        : active_(active), plan_(plan), n_(static_cast<std::int32_t>(active.size())),
          producer_(static_cast<std::size_t>(variableCount), -1),
          reads_(static_cast<std::size_t>(variableCount), 0) {}

    void run() {
        // Reordering is only sound when every variable has one producer that precedes its
        // readers; anything else runs as listed.
        if (!indexProducers()) {
            plan_.FastSteps = plan_.Steps;
            return;
        }
        groupScaledPairings(pairScaledProducts());
        chainSums();
        pairPowers();
        makeUnits();
        if (!orderUnits()) {
            plan_.FastSteps = plan_.Steps;
            return;
        }
        emit();
    }

  private:
    static std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }
    std::int32_t producerOf(std::int32_t var) const { return producer_[at(var)]; }
    const PlanStep& step(std::int32_t i) const { return plan_.Steps[at(i)]; }
    const TInstruction& instruction(std::int32_t i) const { return active_[at(i)]; }

    // Producers, read counts and each step's depth (longest chain of steps it waits for).
    bool indexProducers() {
        depth_.assign(at(n_), 0);
        for (std::int32_t i = 0; i < n_; ++i) {
            const TInstruction& in = instruction(i);
            // A polynomial reads the variables of its terms, which its operands do not name.
            if (step(i).Kind == PlanKind::Broken || step(i).Kind == PlanKind::Polynomial ||
                producerOf(in.Res) >= 0)
                return false;
            for (std::int32_t operand : {in.Op1, in.Op2}) {
                if (operand == in.Res)
                    return false;
                ++reads_[at(operand)];
                if (producerOf(operand) >= 0)
                    depth_[at(i)] = std::max(depth_[at(i)], depth_[at(producerOf(operand))] + 1);
            }
            producer_[at(in.Res)] = i;
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
        if (p < 0 || step(p).Kind != PlanKind::ConstTimesW || reads_[at(factor)] != 1)
            return -1;
        return p;
    }

    // Pairs each product (c1 X) Y with the next one in list order that reads the same X and Y.
    std::vector<ScaledPairing> pairScaledProducts() const {
        std::vector<ScaledPairing> pairings;
        std::unordered_map<std::uint64_t, std::int32_t> waiting;
        for (std::int32_t i = 0; i < n_; ++i) {
            const std::int32_t scaled = scaledFactorOf(i);
            if (scaled < 0)
                continue;
            const std::uint64_t key =
                static_cast<std::uint64_t>(static_cast<std::uint32_t>(instruction(scaled).Op2))
                    << 32 |
                static_cast<std::uint32_t>(instruction(i).Op2);
            const auto [found, fresh] = waiting.try_emplace(key, i);
            if (fresh)
                continue;
            const std::int32_t first = found->second;
            pairings.push_back({scaledFactorOf(first), scaled, first, i});
            waiting.erase(found);
        }
        return pairings;
    }

    // Gathers up to three pairings with the same Y, the same two constants and the same depth
    // (so that none can wait for another, and a group cannot close a cycle).
    void groupScaledPairings(const std::vector<ScaledPairing>& pairings) {
        std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>, std::int32_t>
            open;
        for (const ScaledPairing& pairing : pairings) {
            const auto key =
                std::make_tuple(instruction(pairing.product1).Op2, instruction(pairing.scaled1).Op1,
                                instruction(pairing.scaled2).Op1, depth_[at(pairing.product1)]);
            auto found = open.find(key);
            if (found == open.end()) {
                found = open.emplace(key, static_cast<std::int32_t>(groups_.size())).first;
                groups_.emplace_back();
            }
            std::vector<ScaledPairing>& group = groups_[at(found->second)];
            group.push_back(pairing);
            if (group.size() == ScaledProductGroup::MaxCount)
                open.erase(found);
        }
    }

    static bool startsChain(PlanKind kind) {
        return kind == PlanKind::AddVV || kind == PlanKind::SubVV || kind == PlanKind::NegW ||
               kind == PlanKind::CopyW;
    }

    // Follows each sum whose first operand is the previous sum of a chain and read by nothing
    // else. Such a chain cannot close a cycle between units: only its last sum is read outside
    // it, and that sum truly waits for every term of the chain.
    void chainSums() {
        std::vector<std::int32_t> chainOf(at(n_), -1);
        for (std::int32_t i = 0; i < n_; ++i) {
            const PlanKind kind = step(i).Kind;
            const std::int32_t previous = producerOf(instruction(i).Op1);
            if ((kind == PlanKind::AddVV || kind == PlanKind::SubVV) && previous >= 0 &&
                chainOf[at(previous)] >= 0 && reads_[at(instruction(i).Op1)] == 1) {
                chainOf[at(i)] = chainOf[at(previous)];
                chains_[at(chainOf[at(i)])].push_back(i);
            } else if (startsChain(kind)) {
                chainOf[at(i)] = static_cast<std::int32_t>(chains_.size());
                chains_.push_back({i});
            }
        }
        std::erase_if(chains_, [](const std::vector<std::int32_t>& c) { return c.size() < 2; });
    }

    // Pairs each power with the next one in list order of the same exponent and depth.
    void pairPowers() {
        std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> waiting;
        for (std::int32_t i = 0; i < n_; ++i) {
            if (step(i).Kind != PlanKind::Pow)
                continue;
            const auto [found, fresh] = waiting.try_emplace({instruction(i).Op2, depth_[at(i)]}, i);
            if (fresh)
                continue;
            powerPairs_.push_back({found->second, i});
            waiting.erase(found);
        }
    }

    // Units in the order of their first step in the list.
    void makeUnits() {
        struct Fused {
            UnitKind kind;
            std::int32_t index;
            std::vector<std::int32_t> members;
        };
        std::vector<Fused> fused;
        for (std::size_t g = 0; g < groups_.size(); ++g) {
            Fused piece{UnitKind::ScaledGroup, static_cast<std::int32_t>(g), {}};
            for (const ScaledPairing& pairing : groups_[g])
                piece.members.insert(piece.members.end(), {pairing.scaled1, pairing.scaled2,
                                                           pairing.product1, pairing.product2});
            fused.push_back(std::move(piece));
        }
        for (std::size_t c = 0; c < chains_.size(); ++c)
            fused.push_back({UnitKind::Chain, static_cast<std::int32_t>(c), chains_[c]});
        for (std::size_t w = 0; w < powerPairs_.size(); ++w)
            fused.push_back({UnitKind::PowerPair,
                             static_cast<std::int32_t>(w),
                             {powerPairs_[w].first, powerPairs_[w].second}});
        // A fused unit takes the place of its first step in the list.
        std::vector<std::int32_t> fusedOf(at(n_), -1), fusedAt(at(n_), -1);
        for (std::size_t f = 0; f < fused.size(); ++f) {
            const auto& members = fused[f].members;
            for (std::int32_t member : members)
                fusedOf[at(member)] = static_cast<std::int32_t>(f);
            fusedAt[at(*std::min_element(members.begin(), members.end()))] =
                static_cast<std::int32_t>(f);
        }
        unitOf_.assign(at(n_), -1);
        for (std::int32_t i = 0; i < n_; ++i) {
            if (fusedOf[at(i)] < 0) {
                addUnit({i}, UnitKind::Single, -1);
            } else if (fusedAt[at(i)] >= 0) {
                const Fused& piece = fused[at(fusedAt[at(i)])];
                addUnit(piece.members, piece.kind, piece.index);
            }
        }
    }

    void addUnit(const std::vector<std::int32_t>& members, UnitKind kind, std::int32_t index) {
        const std::int32_t unit = static_cast<std::int32_t>(units_.size());
        units_.push_back({static_cast<std::int32_t>(members_.size()),
                          static_cast<std::int32_t>(members.size()), kind, index});
        for (std::int32_t member : members) {
            unitOf_[at(member)] = unit;
            members_.push_back(member);
        }
    }

    // A topological order of the units that runs each one as soon as its last input is made,
    // so that consumers read their operands' arrays while they are still in the first-level
    // cache; false if the units depend on each other in a cycle.
    bool orderUnits() {
        const std::size_t units = units_.size();
        std::vector<std::int32_t> edgeStart(units + 1, 0), pending(units, 0);
        auto forEachPredecessor = [this](std::size_t u, auto&& visit) {
            const Unit& unit = units_[u];
            for (std::int32_t m = unit.first; m < unit.first + unit.count; ++m) {
                const TInstruction& in = instruction(members_[at(m)]);
                for (std::int32_t operand : {in.Op1, in.Op2}) {
                    const std::int32_t p = producerOf(operand);
                    const std::int32_t from = p >= 0 ? unitOf_[at(p)] : -1;
                    if (from >= 0 && from != static_cast<std::int32_t>(u))
                        visit(at(from));
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
        std::vector<std::int32_t> successors(at(edgeStart[units]));
        std::vector<std::int32_t> fill(edgeStart.begin(), edgeStart.end() - 1);
        for (std::size_t u = 0; u < units; ++u)
            forEachPredecessor(u, [&](std::size_t from) {
                successors[at(fill[from]++)] = static_cast<std::int32_t>(u);
            });
        // A stack of ready units: the one made ready last runs next.
        std::vector<std::int32_t> ready;
        for (std::size_t u = units; u-- > 0;)
            if (pending[u] == 0)
                ready.push_back(static_cast<std::int32_t>(u));
        order_.clear();
        while (!ready.empty()) {
            const std::size_t u = at(ready.back());
            ready.pop_back();
            order_.push_back(u);
            for (std::int32_t e = edgeStart[u + 1]; e-- > edgeStart[u];) {
                const std::size_t next = at(successors[at(e)]);
                if (--pending[next] == 0)
                    ready.push_back(static_cast<std::int32_t>(next));
            }
        }
        return order_.size() == units;
    }

    void emit() {
        emitted_.assign(units_.size(), 0);
        for (std::size_t position = 0; position < order_.size(); ++position) {
            const std::size_t u = order_[position];
            if (emitted_[u])
                continue; // run earlier as a product's partner
            emitted_[u] = 1;
            const Unit& unit = units_[u];
            switch (unit.kind) {
            case UnitKind::ScaledGroup:
                emitGroup(groups_[at(unit.index)]);
                continue;
            case UnitKind::Chain:
                emitChain(chains_[at(unit.index)]);
                continue;
            case UnitKind::PowerPair:
                emitPowerPair(powerPairs_[at(unit.index)]);
                continue;
            case UnitKind::Single:
                break;
            }
            const PlanStep& first = step(members_[at(unit.first)]);
            // A plain product with another one that can run now: both sums side by side.
            const std::size_t partner = first.Kind == PlanKind::MulVV ? partnerAfter(position) : 0;
            if (partner != 0) {
                const PlanStep& second = step(members_[at(units_[order_[partner]].first)]);
                emitted_[order_[partner]] = 1;
                PlanStep pair = first;
                pair.Kind = PlanKind::MulVVPair;
                pair.Aux = static_cast<std::uint32_t>(plan_.Partners.size());
                plan_.Partners.push_back({second.R, second.U, second.W, false});
                plan_.FastSteps.push_back(pair);
                continue;
            }
            plan_.FastSteps.push_back(first);
        }
    }

    // How far ahead in the order a product looks for a partner.
    static constexpr std::size_t PartnerLookahead = 32;

    // The position of a plain product a little later in the order whose operands are all made
    // by units emitted before the product at `position`: it can run now, beside that one. One
    // that shares a factor with it in the same place is preferred (the pair loads it once). 0
    // when there is none.
    std::size_t partnerAfter(std::size_t position) const {
        const PlanStep& first = step(members_[at(units_[order_[position]].first)]);
        const std::size_t end = std::min(order_.size(), position + 1 + PartnerLookahead);
        std::size_t found = 0;
        for (std::size_t q = position + 1; q < end; ++q) {
            const Unit& unit = units_[order_[q]];
            if (emitted_[order_[q]] || unit.kind != UnitKind::Single)
                continue;
            const std::int32_t i = members_[at(unit.first)];
            if (step(i).Kind != PlanKind::MulVV || !operandsMadeBefore(i, order_[position]))
                continue;
            if (step(i).U == first.U || step(i).W == first.W)
                return q;
            if (found == 0)
                found = q;
        }
        return found;
    }

    bool operandsMadeBefore(std::int32_t i, std::size_t current) const {
        for (std::int32_t operand : {instruction(i).Op1, instruction(i).Op2}) {
            const std::int32_t p = producerOf(operand);
            if (p < 0)
                continue;
            const std::size_t maker = at(unitOf_[at(p)]);
            if (!emitted_[maker] || maker == current)
                return false;
        }
        return true;
    }

    void emitPowerPair(const std::pair<std::int32_t, std::int32_t>& pair) {
        PlanStep fused = step(pair.first);
        fused.Kind = PlanKind::PowPair;
        fused.Aux = static_cast<std::uint32_t>(plan_.PowerPairs.size());
        plan_.PowerPairs.push_back({step(pair.first), step(pair.second)});
        plan_.FastSteps.push_back(fused);
    }

    void emitChain(const std::vector<std::int32_t>& chain) {
        PlanStep fused = step(chain.front());
        fused.Kind = PlanKind::SumChain;
        fused.Aux = static_cast<std::uint32_t>(plan_.Chains.size());
        plan_.Chains.push_back({static_cast<std::uint32_t>(plan_.ChainSteps.size()),
                                static_cast<std::uint32_t>(chain.size())});
        for (std::int32_t member : chain)
            plan_.ChainSteps.push_back(step(member));
        plan_.FastSteps.push_back(fused);
    }

    void emitGroup(const std::vector<ScaledPairing>& pairings) {
        ScaledProductGroup group{};
        group.Scale1 = step(pairings[0].scaled1).U;
        group.Scale2 = step(pairings[0].scaled2).U;
        group.Count = static_cast<std::uint32_t>(pairings.size());
        for (std::size_t m = 0; m < pairings.size(); ++m) {
            const ScaledPairing& pairing = pairings[m];
            group.Members[m] = {step(pairing.scaled1).W,
                                step(pairing.scaled1).R,
                                step(pairing.scaled2).R,
                                step(pairing.product1).R,
                                step(pairing.product2).R,
                                false,
                                false,
                                false,
                                false};
        }
        const PlanStep& product = step(pairings[0].product1);
        plan_.FastSteps.push_back({PlanKind::ScaledProducts, false, OpMul, product.R,
                                   group.Members[0].X, product.W,
                                   static_cast<std::uint32_t>(plan_.ScaledGroups.size())});
        plan_.ScaledGroups.push_back(group);
    }

    const std::vector<TInstruction>& active_;
    EnginePlan& plan_;
    std::int32_t n_;
    std::vector<std::int32_t> producer_, reads_, depth_, unitOf_, members_;
    std::vector<std::vector<ScaledPairing>> groups_;
    std::vector<std::vector<std::int32_t>> chains_;
    std::vector<std::pair<std::int32_t, std::int32_t>> powerPairs_;
    std::vector<Unit> units_;
    std::vector<std::size_t> order_;
    std::vector<std::uint8_t> emitted_; // per unit, while emitting
};

} // namespace

void scheduleFastSteps(const std::vector<TInstruction>& active, std::int32_t variableCount,
                       EnginePlan& plan) {
    Scheduler(active, variableCount, plan).run();
}
