// The lookup behind FindSameInstruction: finds the first earlier instruction that computes the
// same value without scanning the list.
#pragma once

#include "compiler/CompiledProblem.h"

#include <cstdint>
#include <unordered_map>

// Two instructions match when class and opcode are equal and: for the one-argument functions
// with a companion or none (cos ... arctan, exp, ln, sqrt) the first operands are equal; for "*"
// and "+" the operand pairs are equal in either order; a copy "=" never matches; for the rest
// both operands are equal.
class InstructionIndex {
  public:
    // Adds an instruction that now stands in the list at `position`; an earlier match keeps
    // its place, so lookups give the first match as a scan from the front would.
    void add(const TInstruction& instruction, std::int32_t position);
    // Position of the first matching instruction, or -1.
    std::int32_t find(const TInstruction& instruction) const;
    void clear() { positions_.clear(); }
    void reserve(std::size_t count) { positions_.reserve(count); }

  private:
    struct Key {
        std::uint8_t operandClass;
        std::uint16_t op;
        std::int32_t first;
        std::int32_t second;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    static Key keyOf(const TInstruction& instruction);

    std::unordered_map<Key, std::int32_t, KeyHash> positions_;
};
