// A problem's jet as machine code: the recurrences of its plan written out as C++ for every
// order, compiled by the system's C++ compiler into a library loaded at run time. The code does
// the same operations on the same values in the same order as the interpreted pass, so it gives
// the same bits; what it saves is the interpretation, and the round trip through memory of each
// coefficient just made: the first and last terms of a sum read the newest coefficients from
// registers, where the interpreted pass reads them back from the pairs it has just split.
#pragma once

#include "common/Extended.h"
#include "engine/ValuePair.h"

#include <cstdint>
#include <memory>
#include <string>

struct EnginePlan;

// What the compiled jet reads besides the block: the power weights of the plan, the engine's
// recurrence tables as pairs, and the power x^y at order 0, as the interpreted pass takes them.
struct NativeJetTables {
    const ValuePair* Weights;
    const ValuePair* FracKJ;
    const ValuePair* FracJK;
    const ValuePair* FracSqrt;
    Extended (*Power)(Extended x, Extended y);
};

// Every coefficient of every array, with coefficient 0 of the main variables and the constants in
// place. Returns 0, or 1 when a value did not split into a pair exactly, 2 when an exponent is no
// longer the one the code was written for: then nothing it made is to be used. Faults are left
// in the flags.
using NativeJetFunction = int (*)(Extended* block, ValuePair* pairs, const NativeJetTables* tables,
                                  std::int32_t terms);

class NativeJet {
  public:
    NativeJet(void* library, NativeJetFunction run) : library_(library), run_(run) {}
    ~NativeJet();
    NativeJet(const NativeJet&) = delete;
    NativeJet& operator=(const NativeJet&) = delete;

    int run(Extended* block, ValuePair* pairs, const NativeJetTables& tables,
            std::int32_t terms) const {
        return run_(block, pairs, &tables, terms);
    }

  private:
    void* library_;
    NativeJetFunction run_;
};

// The source of the plan's jet, or an empty text with `why` saying which step it cannot write.
// Beyond order 0 it stores the coefficients of the arrays below block offset `keptBelow` and
// those of every array it reads in a loop (as pairs); the other arrays' values stay in registers.
std::string nativeJetSource(const EnginePlan& plan, std::uint32_t keptBelow, std::string& why);

// Compiles and loads a jet's source, or gives the one this process already built from it; null
// with `why` set when the compiler or the loader fails. The compiler is $ORVANTA_CXX, or c++ from
// the path.
std::shared_ptr<const NativeJet> buildNativeJet(const std::string& source, std::string& why);
