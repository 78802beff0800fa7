// The compiled problem: the variable table with every variable's Taylor coefficients, the
// straight-line instruction lists the engine runs, and the integrator's per-problem state.
#pragma once

#include "common/Extended.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum OperandClass : std::uint8_t { ClassCC = 0, ClassCV = 1, ClassVC = 2, ClassVV = 3 };

// Opcodes: 0..13 are the positions of the function names; the rest are character codes.
enum Opcode : std::uint16_t {
    OpCos = 0,
    OpSin = 1,
    OpTan = 2,
    OpArccos = 3,
    OpArcsin = 4,
    OpArctan = 5,
    OpExp = 6,
    OpLn = 7,
    OpLog = 8,
    OpSqrt = 9,
    OpMod = 10,
    OpMCn = 11,
    OpPolynomial = 12,
    OpAbs = 13,
    OpFactorial = '!',
    OpMul = '*',
    OpAdd = '+',
    OpSub = '-',
    OpDiv = '/',
    OpPow = '^',
    OpCopy = '=',
    OpOnePlusSquare = '1',
    OpSquare = '2',
    OpOneMinusSquare = '3'
};

struct TInstruction {
    std::uint8_t OperandClass = ClassCC;
    std::uint16_t Op = 0;
    std::int32_t Op1 = 0;
    std::int32_t Op2 = 0;
    std::int32_t Res = 0;
    std::int32_t Line = 0;
};

// One designed polynomial as the engine evaluates it: p(t) + sum a*x + sum b*x^2 + sum c*x*y.
struct TCompiledPolynomial {
    std::vector<Extended> IndepCoefficients; // p0 .. pd of the part in the independent variable
    struct Linear {
        Extended Coefficient;
        std::int32_t Var;
    };
    struct Square {
        Extended Coefficient;
        std::int32_t Var;
    };
    struct Product {
        Extended Coefficient;
        std::int32_t VarA;
        std::int32_t VarB;
    };
    std::vector<Linear> LinearTerms;
    std::vector<Square> SquareTerms;
    std::vector<Product> ProductTerms;
};

// Coefficient arrays of all variables in one contiguous block: a constant keeps one element
// (its value), every other variable TermCount elements; element k is the Taylor coefficient
// of order k.
class CoefficientTable {
  public:
    // Lays the arrays out with the given lengths, zero-filled.
    void layout(const std::vector<std::int32_t>& lengths);
    void clear();

    Extended* operator[](std::int32_t var) { return values_.data() + offsets_[var]; }
    const Extended* operator[](std::int32_t var) const { return values_.data() + offsets_[var]; }
    std::int32_t length(std::int32_t var) const { return lengths_[var]; }
    std::int32_t count() const { return static_cast<std::int32_t>(lengths_.size()); }
    bool empty() const { return lengths_.empty(); }
    std::size_t offset(std::int32_t var) const { return offsets_[var]; }
    Extended* data() { return values_.data(); }
    const Extended* data() const { return values_.data(); }

  private:
    std::vector<Extended> values_;
    std::vector<std::size_t> offsets_;
    std::vector<std::int32_t> lengths_;
};

// The engine's execution plan for one compiled problem (built on first use, see engine/).
struct EnginePlan;

struct TCompiledProblem {
    // Set by the compile driver before code generation.
    std::int32_t NumMain = 0;
    std::int32_t NumConst = 0;
    std::int32_t DerivStart = 0;
    std::int32_t IndepLine = -1;
    std::int32_t IndepVar = -1;
    std::string IndepName;

    // Integrator state.
    Extended Radius = 0;
    Extended Step = 0;
    Extended CurrentIndep = 0;
    Extended TPrev = 0;
    Extended PathLength = 0;
    // The independent variable is the compensated sum of the steps: IndepLow is the rounding that
    // CurrentIndep leaves out, valid while CurrentIndep still equals IndepLowOf (whatever sets
    // CurrentIndep directly starts the sum afresh); TPrevLow is TPrev's.
    Extended IndepLow = 0;
    Extended IndepLowOf = 0;
    Extended TPrevLow = 0;
    // The step that reached the current point, valid while CurrentIndep equals TakenStepEnd.
    Extended TakenStep = 0;
    Extended TakenStepEnd = 0;
    // In "Tolerance per step" the main variables too are compensated sums of their steps: the
    // rounding each value leaves out, valid while the value still equals its StateLowOf.
    std::vector<Extended> StateLow, StateLowOf;

    std::vector<TCompiledPolynomial> Polynomials;
    std::vector<TInstruction> Instructions;
    std::vector<TInstruction> ActiveInstructions;
    CoefficientTable Coefficients;
    // Rows for the main and auxiliary variables, TermCount each: the copy of a main variable's
    // coefficients taken at the start of a step.
    std::vector<std::vector<Extended>> StepTable;
    std::vector<Extended> SpecialValues; // empty when no special point is set
    Extended SpecialPoint = 0;
    Extended SpecialWindow = 0;
    std::vector<Extended> InitialValues;
    std::vector<Extended> BackVal;
    std::vector<Extended> HalfVal;
    std::vector<Extended> AbsTol;
    std::vector<Extended> RelTol;
    std::vector<std::uint8_t> AbsOn;
    std::vector<std::uint8_t> RelOn;
    Extended TEnd = 0;
    bool TermArmed = false;
    bool Terminated = false;
    std::vector<std::uint8_t> IsConstant; // one per variable
    bool Compiled = false;
    Extended Direction = 1;
    std::int32_t Status = 0;

    // Built from the instruction list and the coefficient layout; reset whenever they change.
    std::shared_ptr<const EnginePlan> Plan;

    bool hasSpecialPoint() const { return !SpecialValues.empty(); }
};
