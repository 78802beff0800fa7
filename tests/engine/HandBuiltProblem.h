// Compiled problems written by hand, instruction by instruction, as the code generator would
// emit them: fixtures for the engine and the integrator that need no parser.
#pragma once

#include "compiler/CompiledProblem.h"

#include <cstdint>
#include <vector>

struct HandVariable {
    Extended value = 0;
    bool constant = false;
};

inline TInstruction instruction(std::uint8_t operandClass, std::uint16_t op, std::int32_t op1,
                                std::int32_t op2, std::int32_t res, std::int32_t line = 0) {
    return TInstruction{operandClass, op, op1, op2, res, line};
}

// Lays out `variables` (constants first, then main, auxiliary, derivative and generated ones)
// with TermCount terms for the variables and one for the constants.
inline TCompiledProblem handBuilt(std::int32_t numConst, std::int32_t numMain, std::int32_t numAux,
                                  const std::vector<HandVariable>& variables,
                                  const std::vector<TInstruction>& instructions,
                                  std::int32_t indepLine, std::int32_t termCount) {
    TCompiledProblem p;
    p.NumConst = numConst;
    p.NumMain = numMain;
    p.DerivStart = numConst + numMain + numAux;
    p.IndepLine = indepLine;
    p.IndepVar = indepLine >= 0 ? numConst + indepLine : -1;
    std::vector<std::int32_t> lengths;
    for (const auto& v : variables) {
        lengths.push_back(v.constant ? 1 : termCount);
        p.IsConstant.push_back(v.constant ? 1 : 0);
    }
    p.Coefficients.layout(lengths);
    for (std::size_t v = 0; v < variables.size(); ++v)
        p.Coefficients[static_cast<std::int32_t>(v)][0] = variables[v].value;
    p.Instructions = instructions;
    for (const auto& in : instructions)
        if (in.OperandClass != ClassCC)
            p.ActiveInstructions.push_back(in);
    p.StepTable.assign(static_cast<std::size_t>(p.DerivStart - numConst),
                       std::vector<Extended>(static_cast<std::size_t>(termCount), 0.0L));
    for (std::int32_t i = 0; i < numMain; ++i)
        p.InitialValues.push_back(variables[static_cast<std::size_t>(numConst + i)].value);
    if (indepLine >= 0)
        p.CurrentIndep = variables[static_cast<std::size_t>(p.IndepVar)].value;
    p.Compiled = true;
    return p;
}

// t' = 1 and one auxiliary r = f(t) made by `op` (class vc) with the constant operand `b`, and
// the companion in the next variable where the operation needs one. Variables: b (0), t (1),
// r (2), t' (3), companion (4).
inline TCompiledProblem functionOfT(std::uint16_t op, Extended t0, Extended b,
                                    std::int32_t termCount, std::uint16_t companionOp = 0xFFFF) {
    std::vector<HandVariable> vars = {{b, true}, {t0, false}, {0, false}, {1, false}, {0, false}};
    std::vector<TInstruction> code;
    if (companionOp == 0xFFFF) {
        code.push_back(instruction(ClassVC, op, 1, 0, 2, 2));
    } else {
        code.push_back(instruction(ClassVC, op, 1, 4, 2, 2));
        code.push_back(instruction(ClassVC, companionOp, 1, 2, 4, 2));
    }
    return handBuilt(1, 1, 1, vars, code, 0, termCount);
}

// The Lorenz system with sigma 10, rho 28, beta 8/3 from (1, 1, 1) and t' = 1.
inline TCompiledProblem handBuiltLorenz(std::int32_t termCount) {
    // 0 sigma, 1 rho, 2 beta, 3 t, 4 x, 5 y, 6 z, 7 t', 8 x', 9 y', 10 z', 11.. temporaries
    std::vector<HandVariable> vars = {{10, true}, {28, true}, {8.0L / 3.0L, true}, {0, false},
                                      {1, false}, {1, false}, {1, false},          {1, false},
                                      {0, false}, {0, false}, {0, false},          {0, false},
                                      {0, false}, {0, false}, {0, false},          {0, false}};
    std::vector<TInstruction> code = {
        instruction(ClassVV, OpSub, 5, 4, 11, 8),  instruction(ClassCV, OpMul, 0, 11, 8, 8),
        instruction(ClassCV, OpSub, 1, 6, 12, 9),  instruction(ClassVV, OpMul, 4, 12, 13, 9),
        instruction(ClassVV, OpSub, 13, 5, 9, 9),  instruction(ClassVV, OpMul, 4, 5, 14, 10),
        instruction(ClassCV, OpMul, 2, 6, 15, 10), instruction(ClassVV, OpSub, 14, 15, 10, 10)};
    return handBuilt(3, 4, 0, vars, code, 0, termCount);
}

// Kepler's problem x'' = -x/r^3 with t' = 1, from (x, y, vx, vy).
inline TCompiledProblem handBuiltKepler(Extended x, Extended y, Extended vx, Extended vy,
                                        std::int32_t termCount) {
    // 0 zero, 1 exponent -1.5, 2 t, 3 x, 4 y, 5 vx, 6 vy, 7 r3 (aux), 8 t', 9 x', 10 y',
    // 11 vx', 12 vy', 13 x^2, 14 y^2, 15 x^2+y^2, 16 x*r3, 17 y*r3
    std::vector<HandVariable> vars = {
        {0, true},   {-1.5L, true}, {0, false}, {x, false}, {y, false}, {vx, false},
        {vy, false}, {0, false},    {1, false}, {0, false}, {0, false}, {0, false},
        {0, false},  {0, false},    {0, false}, {0, false}, {0, false}, {0, false}};
    std::vector<TInstruction> code = {
        instruction(ClassVC, OpSquare, 3, 0, 13, 7), instruction(ClassVC, OpSquare, 4, 0, 14, 7),
        instruction(ClassVV, OpAdd, 13, 14, 15, 7),  instruction(ClassVC, OpPow, 15, 1, 7, 7),
        instruction(ClassVV, OpCopy, 5, 5, 9, 9),    instruction(ClassVV, OpCopy, 6, 6, 10, 10),
        instruction(ClassVV, OpMul, 3, 7, 16, 11),   instruction(ClassCV, OpSub, 0, 16, 11, 11),
        instruction(ClassVV, OpMul, 4, 7, 17, 12),   instruction(ClassCV, OpSub, 0, 17, 12, 12)};
    return handBuilt(2, 5, 1, vars, code, 0, termCount);
}
