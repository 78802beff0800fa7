// The execution plan of a compiled problem: its active instructions with operands resolved to
// offsets in the coefficient block and the recurrence chosen once, so that each order runs one
// tight loop over small steps.
#pragma once

#include "compiler/CompiledProblem.h"
#include "engine/EngineState.h"
#include "engine/NativeJet.h"

#include <cstdint>
#include <memory>
#include <vector>

// The recurrence a step runs at orders k >= 1. The suffix T marks the shortcut taken when an
// operand is the independent variable (coefficients t0, 1, 0, ...).
enum class PlanKind : std::uint8_t {
    Broken, // operands outside the variable table: fails at every order
    Fail,   // no recurrence for this opcode in its class
    CopyU,
    CopyW,
    NegW,
    ConstTimesW,
    UTimesConst,
    UDivConst,
    ConstDiv,
    ConstDivT,
    AddVV,
    SubVV,
    MulVV,
    MulTW,
    MulWT,
    DivVV,
    DivVT,
    Cos,
    CosT,
    Sin,
    SinT,
    Tan,
    Arccos,
    Arcsin,
    Exp,
    ExpT,
    Ln,
    LnT,
    Sqrt,
    SqrtT,
    Square,
    NegSquare,
    Pow,
    PowT,
    Polynomial,
    MulVVPair,      // two independent products summed side by side; Aux indexes Partners
    ScaledProducts, // (c1 Xi) Y and (c2 Xi) Y for up to three Xi; Aux indexes ScaledGroups
    SumChain,       // a run of sums, each adding to the one before; Aux indexes Chains
    PowPair         // two Pow steps with the same exponent side by side; Aux indexes PowerPairs
};

struct PlanStep {
    PlanKind Kind;
    bool PairR;            // the fast pass keeps R's pairs (see PairedArrays.h)
    std::uint16_t Op;      // the instruction's opcode (order 0 and error reports)
    std::uint32_t R, U, W; // offsets of the result and the operands in the coefficient block
    std::uint32_t Aux;     // Pow: index into Powers; MulVVPair: Partners; ScaledProducts:
                           // ScaledGroups; SumChain: Chains; PowPair: PowerPairs
};

// The second product of a MulVVPair step.
struct PlanPartner {
    std::uint32_t R, U, W;
    bool PairR;
};

// Products that read Y and the same two constants c1, c2 through scaled copies: for each X of the
// group, P1 = T1 Y and P2 = T2 Y with T1 = c1 X and T2 = c2 X. This is the shape of an n-body
// force and its reaction along each axis. Each term of the sums loads Y[k-j] once for the
// group and X[j] once for both products; the step still stores T1[k] and T2[k]. The step's W is
// Y.
struct ScaledProductGroup {
    static constexpr std::uint32_t MaxCount = 3;
    struct Member {
        std::uint32_t X, Scaled1, Scaled2, Product1, Product2;
        bool PairScaled1, PairScaled2, PairProduct1, PairProduct2;
    };
    std::uint32_t Scale1, Scale2; // the constants c1, c2
    std::uint32_t Count;          // 1 .. MaxCount
    Member Members[MaxCount];
};

// Sums where each adds to or subtracts from the one before, as the code generator writes a long
// sum of terms: the running value stays in a register instead of being reloaded. The first step
// is AddVV, SubVV, NegW or CopyW, the rest AddVV or SubVV whose U is the previous result; every
// result is still stored. Steps [First, First + Count) of EnginePlan::ChainSteps.
struct ChainSpan {
    std::uint32_t First, Count;
};

// Two powers of one exponent that do not wait for each other: their sums run interleaved and
// share each load of the weight.
struct PowerPair {
    PlanStep First, Second;
};

// Weights (B(k-j) - j)/k of the power rule for one exponent B, laid out like the tables.
struct PowerWeights {
    Extended Exponent;
    std::uint32_t Offset; // into EnginePlan::WeightPool and WeightPairs
    bool Paired;          // every weight splits exactly into its pair
};

// Coefficients [Offset, Offset + Count) of the block, split into pairs after order 0.
struct PairSpan {
    std::uint32_t Offset, Count;
};

struct EnginePlan {
    std::vector<PlanStep> Steps; // one per active instruction, in list order
    // The same work in an order that runs each step soon after its operands are made (see
    // PlanSchedule), with shapes that share operands fused into one step. Used at orders k >= 1
    // when no fault occurs; order 0 and a pass that faults run Steps in list order.
    std::vector<PlanStep> FastSteps;
    std::vector<PlanPartner> Partners;
    std::vector<ScaledProductGroup> ScaledGroups;
    std::vector<ChainSpan> Chains;
    std::vector<PowerPair> PowerPairs;
    std::vector<PlanStep> ChainSteps;
    std::vector<std::uint32_t> MainOffsets, DerivOffsets; // per main variable
    std::vector<std::uint8_t> MainPaired;                 // per main variable
    std::vector<PowerWeights> Powers;
    std::vector<Extended> WeightPool;
    std::vector<ValuePair> WeightPairs;
    // What the fast pass splits once order 0 is made: coefficient 0 of every array it reads as
    // pairs, and every coefficient of such an array that no step or main variable writes.
    std::vector<PairSpan> StartPairs;

    // The jet as machine code, once asked for (see useNativeJet); a plan rebuilt starts without.
    mutable std::shared_ptr<const NativeJet> Native;

    // What the plan was built from; a plan that no longer matches its problem is rebuilt.
    std::vector<TInstruction> Active;
    std::vector<std::uint8_t> IsConstant;
    std::int32_t TermCount = 0, IndepVar = -1, IndepLine = -1, VariableCount = 0;
    std::size_t BlockSize = 0;
};

// The problem's plan for the engine's current TermCount, built or rebuilt when needed.
const EnginePlan& planFor(TCompiledProblem& problem, const EngineState& engine);
