#include "compiler/InstructionIndex.h"

#include <algorithm>

InstructionIndex::Key InstructionIndex::keyOf(const TInstruction& instruction) {
    Key key{instruction.OperandClass, instruction.Op, instruction.Op1, instruction.Op2};
    switch (instruction.Op) {
    case OpCos:
    case OpSin:
    case OpTan:
    case OpArccos:
    case OpArcsin:
    case OpArctan:
    case OpExp:
    case OpLn:
    case OpSqrt:
        key.second = 0;
        break;
    case OpMul:
    case OpAdd:
        if (key.first > key.second)
            std::swap(key.first, key.second);
        break;
    default:
        break;
    }
    return key;
}

std::size_t InstructionIndex::KeyHash::operator()(const Key& key) const {
    std::uint64_t operands =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.first)) << 32) |
        static_cast<std::uint32_t>(key.second);
    std::uint64_t kind = (static_cast<std::uint64_t>(key.op) << 8) | key.operandClass;
    std::uint64_t mixed = operands * 0x9E3779B97F4A7C15ULL ^ (kind + (operands >> 29));
    mixed ^= mixed >> 31;
    mixed *= 0xBF58476D1CE4E5B9ULL;
    return static_cast<std::size_t>(mixed ^ (mixed >> 27));
}

void InstructionIndex::add(const TInstruction& instruction, std::int32_t position) {
    if (instruction.Op == OpCopy)
        return;
    positions_.emplace(keyOf(instruction), position);
}

std::int32_t InstructionIndex::find(const TInstruction& instruction) const {
    if (instruction.Op == OpCopy)
        return -1;
    auto found = positions_.find(keyOf(instruction));
    return found == positions_.end() ? -1 : found->second;
}
