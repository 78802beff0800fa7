// The Results array: the full Taylor expansion of the stored variables at every accepted point,
// circular or growing, with its creation, growth and memory checks.
#pragma once

#include "common/Extended.h"
#include "common/Ui.h"
#include "compiler/CompiledProblem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ProgramState;

struct ResultsArray {
    std::vector<Extended> Values;           // [slot][variable][term], Length x Vars x Terms
    std::vector<std::int32_t> ResultsIndep; // the problem's IndepLine when the slot was stored
    std::int32_t Length = 0;                // L, the number of elements; 0 stores nothing
    std::int32_t Vars = 0;                  // V: the main variables, and the auxiliary ones too
    std::int32_t Terms = 0;                 // N when the array was created
    bool Circular = false;                  // oldest points overwritten instead of appending

    bool empty() const { return Length == 0; }
    Extended* at(std::int32_t slot, std::int32_t var) {
        return Values.data() + (static_cast<std::size_t>(slot) * Vars + var) * Terms;
    }
    const Extended* at(std::int32_t slot, std::int32_t var) const {
        return Values.data() + (static_cast<std::size_t>(slot) * Vars + var) * Terms;
    }
    void clear();
};

// Bytes of one stored value (an extended real on disk and in the messages).
constexpr std::int64_t BytesPerValue = 10;
// Requests from this size on are refused outright.
constexpr std::int64_t MaxResultsBytes = 2147483639;

// a * b * c * d, saturated at the largest int64 instead of wrapping.
std::int64_t saturatedProduct(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d);

// Available and total physical memory in bytes, from /proc/meminfo.
struct MemoryStatus {
    std::int64_t Available = 0;
    std::int64_t Total = 0;
};
std::optional<MemoryStatus> readMemoryStatus();

bool CheckMemory(ProgramState& state, Ui& ui, std::int64_t bytes);

// Copies the stored variables of the current point into slot StepIndex mod L.
void StoreResultPoint(ProgramState& state, const TCompiledProblem& problem);

// What the "Main variables" box and the length edit show after an attempt to create the array.
struct ResultsCreation {
    bool Created = false;
    std::optional<std::string> LengthText; // text to put back into the length edit
};
// Creates an array of the length in `lengthText` for the stored variables of `problem` (the
// auxiliary ones too when `auxVarsToo`) and stores the current point in slot 0.
ResultsCreation createResults(ProgramState& state, const TCompiledProblem& problem, Ui& ui,
                              const std::string& lengthText, bool auxVarsToo, bool circular);

// Offers to grow a growing array through the "Appending Results" input box; false when the user
// cancelled.
bool AppendResults(ProgramState& state, Ui& ui);

// The circular switch: returns the state the box ends in (leaving circular mode is refused when
// the array has already wrapped).
bool setCircular(ProgramState& state, Ui& ui, bool circular);

// " Total %d elements\n\r require %d Kb\n\r Available %.0f Kb"
std::string resultsMemoryText(const ProgramState& state);
