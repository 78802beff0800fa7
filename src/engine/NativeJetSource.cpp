#include "compiler/Language.h"
#include "engine/EnginePlan.h"
#include "engine/NativeJet.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace {

constexpr std::size_t SumsPerLoop = 4;

// The generated file's own pair helpers: the split of ValuePair.h (splitInto, then
// splitsExactly's test of Hi's exponent) and the join, so that it needs no header of ours.
constexpr const char* Prelude = R"jet(#include <math.h>
typedef long double E;
struct P { double Hi, Lo; };
struct T { const P* w; const P* kj; const P* jk; const P* sq; E (*power)(E, E); };
static inline void split(P& q, E x, int& bad) {
    __asm__("fstl %0\n\tfldl %0\n\tfsub %%st(1), %%st\n\tfchs\n\tfstpl %1"
            : "+m"(q.Hi), "+m"(q.Lo) : "t"(x) : "st(7)");
    unsigned long long bits;
    __builtin_memcpy(&bits, &q.Hi, sizeof bits);
    const unsigned field = (unsigned)(bits >> 52) & 0x7ffu;
    if (!(field - 13u <= 2046u - 13u || x == 0))
        bad = 1;
}
static inline E J(const P& q) { return (E)q.Hi + (E)q.Lo; }
)jet";

std::string exactLiteral(Extended value) {
    char text[64];
    std::snprintf(text, sizeof text, "%LaL", value);
    return text;
}

// Writes the jet: order 0 of every step in list order, then the loop over orders k >= 1. Offsets
// are the arrays' places in the block; v<off> holds coefficient k of an array once this order
// (or, for a main variable, the last) has made it; coefficient 0 is read from the pairs.
class SourceWriter {
  public:
    SourceWriter(const EnginePlan& plan, std::uint32_t keptBelow)
        : plan_(plan), keptBelow_(keptBelow) {}

    bool write(std::string& why) {
        for (const PlanStep& step : plan_.Steps)
            if (!markReads(step, why))
                return false;
        for (const PlanStep& step : plan_.Steps)
            written_.insert(step.R);
        if (!inOrder(why) || !writeOrder0(why))
            return false;
        writeLoop();
        std::ostringstream file;
        file << Prelude << "extern \"C\" int orvanta_native_jet(E* b, P* p, const T* t, int n) {\n"
             << "    int bad = 0;\n"
             << guards_.str() << order0_.str();
        for (const std::uint32_t at : zeros_)
            if (!paired_.count(at))
                file << "    split(p[" << at << "], b[" << at << "], bad);\n";
        writeStartPairs(file);
        for (const std::uint32_t at : written_)
            file << "    E v" << at << ";\n";
        for (const std::uint32_t at : plan_.MainOffsets)
            file << "    E v" << at << " = b[" << at + 1 << "];\n";
        file << "    for (int k = 1; k < n; ++k) {\n"
             << body_.str() << "    }\n    return bad;\n}\n";
        source_ = file.str();
        return true;
    }

    const std::string& source() const { return source_; }

  private:
    // What a step reads in its loops (those arrays are kept as pairs) and at coefficient 0; false
    // for a step this writer has no code for.
    bool markReads(const PlanStep& step, std::string& why) {
        // The arrays a step reads in its loop and those it reads at coefficient 0.
        auto reads = [&](std::initializer_list<std::uint32_t> inLoop,
                         std::initializer_list<std::uint32_t> atZero) {
            paired_.insert(inLoop);
            zeros_.insert(atZero);
            return true;
        };
        switch (step.Kind) {
        case PlanKind::CopyU:
        case PlanKind::CopyW:
        case PlanKind::NegW:
        case PlanKind::AddVV:
        case PlanKind::SubVV:
            return true;
        case PlanKind::ConstTimesW:
            return reads({}, {step.U});
        case PlanKind::UTimesConst:
        case PlanKind::UDivConst:
            return reads({}, {step.W});
        case PlanKind::Square:
        case PlanKind::NegSquare:
            return reads({step.U}, {step.U});
        case PlanKind::MulTW:
            return reads({step.W}, {step.U});
        case PlanKind::MulWT:
            return reads({step.U}, {step.W});
        case PlanKind::DivVT:
        case PlanKind::ConstDivT:
            return reads({step.R}, {step.W});
        case PlanKind::CosT:
        case PlanKind::SinT:
            return reads({step.W}, {});
        case PlanKind::ExpT:
            return reads({step.R}, {});
        case PlanKind::LnT:
        case PlanKind::SqrtT:
            return reads({step.R}, {step.U});
        case PlanKind::Pow: {
            const PowerWeights& weights = plan_.Powers[step.Aux];
            const Extended exponent = weights.Exponent;
            if (exponent == 0 || exponent == 1) {
                why = "a power to the exponent 0 or 1";
                return false;
            }
            if (!weights.Paired) {
                why = "a power whose weights are not kept as pairs";
                return false;
            }
            guards_ << "    if (b[" << step.W << "] != " << exactLiteral(exponent)
                    << ") return 2;\n";
            markSum(step);
            return true;
        }
        default:
            if (sumShape(step)) {
                markSum(step);
                return true;
            }
            why = "an operation without native code (plan step " +
                  std::to_string(static_cast<int>(step.Kind)) + ")";
            return false;
        }
    }

    // Order 0 of every step in list order, as the interpreted pass forms it (see stepOrder0),
    // then coefficient 1 of the main variables.
    bool writeOrder0(std::string& why) {
        for (const PlanStep& step : plan_.Steps) {
            std::string value;
            switch (step.Op) {
            case OpCopy:
                value = "a";
                break;
            case OpOnePlusSquare:
                value = "a * a + 1";
                break;
            case OpSquare:
                value = "a * a";
                break;
            case OpOneMinusSquare:
                value = "1 - a * a";
                break;
            case OpMul:
                value = "a * c";
                break;
            case OpAdd:
                value = "a + c";
                break;
            case OpSub:
                value = "a - c";
                break;
            case OpDiv:
                value = "a / c";
                break;
            case OpPow:
                value = "t->power(a, c)";
                break;
            case OpCos:
                value = "cosl(a)";
                break;
            case OpSin:
                value = "sinl(a)";
                break;
            case OpTan:
                value = "tanl(a)";
                break;
            case OpArccos:
                value = "atan2l(sqrtl((1 + a) * (1 - a)), a)";
                break;
            case OpArcsin:
                value = "atan2l(a, sqrtl(1 - a * a))";
                break;
            case OpArctan:
                value = "atanl(a)";
                break;
            case OpExp:
                value = "expl(a)";
                break;
            case OpLn:
                value = "logl(a)";
                break;
            case OpSqrt:
                value = "sqrtl(a)";
                break;
            default:
                why = "an operation without native code at order 0";
                return false;
            }
            order0_ << "    { const E a = b[" << step.U << "], c = b[" << step.W << "]; b["
                    << step.R << "] = " << value << "; }\n";
        }
        for (std::size_t i = 0; i < plan_.MainOffsets.size(); ++i)
            order0_ << "    b[" << plan_.MainOffsets[i] + 1 << "] = b[" << plan_.DerivOffsets[i]
                    << "] / (E)1;\n";
        return true;
    }

    bool isMain(std::uint32_t at) const {
        for (const std::uint32_t main : plan_.MainOffsets)
            if (main == at)
                return true;
        return false;
    }

    // Pairs of what order 0 left: coefficient 0 of every paired array, coefficient 1 of the main
    // variables, and the whole of an array that nothing writes after order 0.
    void writeStartPairs(std::ostringstream& file) const {
        for (const std::uint32_t at : paired_) {
            if (isMain(at))
                file << "    split(p[" << at << "], b[" << at << "], bad);\n    split(p[" << at + 1
                     << "], b[" << at + 1 << "], bad);\n";
            else if (written_.count(at))
                file << "    split(p[" << at << "], b[" << at << "], bad);\n";
            else
                file << "    for (int i = 0; i < n; ++i) split(p[" << at << " + i], b[" << at
                     << " + i], bad);\n";
        }
    }

    // Coefficient k of an array: from its register once this order made it, or for a main
    // variable of a small problem from the register the last order left it in (with more main
    // variables the eight registers of the x87 stack spill), else from the block.
    std::string newest(std::uint32_t at) const {
        if (madeThisOrder_.count(at) || (isMain(at) && plan_.MainOffsets.size() <= 4))
            return "v" + std::to_string(at);
        return "b[" + std::to_string(at) + " + k]";
    }
    static std::string pair(std::uint32_t at, const char* index) {
        return "J(p[" + std::to_string(at) + " + " + index + "])";
    }
    // Coefficient 0, read from its pair: held in a register for the whole jet it would crowd out
    // the values that the next terms need.
    static std::string zero(std::uint32_t at) { return pair(at, "0"); }

    // Coefficient k of a step without a sum into r, as the interpreted pass forms it (see
    // stepOrderK).
    std::string value(const PlanStep& step) const {
        const std::uint32_t u = step.U, w = step.W;
        switch (step.Kind) {
        case PlanKind::CopyU:
            return "r = " + newest(u) + ";";
        case PlanKind::CopyW:
            return "r = " + newest(w) + ";";
        case PlanKind::NegW:
            return "r = -" + newest(w) + ";";
        case PlanKind::ConstTimesW:
            return "r = " + zero(u) + " * " + newest(w) + ";";
        case PlanKind::UTimesConst:
            return "r = " + newest(u) + " * " + zero(w) + ";";
        case PlanKind::UDivConst:
            return "r = " + newest(u) + " / " + zero(w) + ";";
        case PlanKind::AddVV:
            return "r = " + newest(u) + " + " + newest(w) + ";";
        case PlanKind::SubVV:
            return "r = " + newest(u) + " - " + newest(w) + ";";
        // The shortcuts where an operand is t (coefficients t0, 1, 0, ...): coefficient k - 1 of
        // the partner or of the result itself, from its pair.
        case PlanKind::MulTW:
            return "r = " + zero(u) + " * " + newest(w) + " + " + pair(w, "k - 1") + ";";
        case PlanKind::MulWT:
            return "r = " + newest(u) + " * " + zero(w) + " + " + pair(u, "k - 1") + ";";
        case PlanKind::DivVT:
            return "r = (" + newest(u) + " - " + pair(step.R, "k - 1") + ") / " + zero(w) + ";";
        case PlanKind::ConstDivT:
            return "r = -" + pair(step.R, "k - 1") + " / " + zero(w) + ";";
        case PlanKind::CosT:
            return "r = -" + pair(w, "k - 1") + " / (E)k;";
        case PlanKind::SinT:
            return "r = " + pair(w, "k - 1") + " / (E)k;";
        case PlanKind::ExpT:
            return "r = " + pair(step.R, "k - 1") + " / (E)k;";
        case PlanKind::LnT:
            return "r = (" + newest(u) + " - J(t->jk[(long)k * (k + 1) / 2 + k - 1]) * " +
                   pair(step.R, "k - 1") + ") / " + zero(u) + ";";
        case PlanKind::SqrtT:
            return "r = (E)(3 - 2 * k) / (E)(2 * k) * " + pair(step.R, "k - 1") + " / " + zero(u) +
                   ";";
        default:
            return {};
        }
    }

    // How the terms of a sum are formed: an optional weight times two factors, each an array read
    // at j or at k - j, for j from 0 (then the first term reads a newest coefficient) or from 1 up
    // to k - 1 (see stepOrderK). Squares are summed over half the terms and are apart.
    enum class Weights { None, Power, FracKJ, FracJK, FracSqrt };
    struct Factor {
        std::uint32_t Array;
        bool AtJ; // else at k - j
    };
    struct SumShape {
        Weights Weight;
        Factor First, Second;
        bool FromZero;
    };
    static std::optional<SumShape> sumShape(const PlanStep& step) {
        const std::uint32_t r = step.R, u = step.U, w = step.W;
        switch (step.Kind) {
        case PlanKind::MulVV:
            return SumShape{Weights::None, {u, true}, {w, false}, true};
        case PlanKind::DivVV:
        case PlanKind::ConstDiv:
            return SumShape{Weights::None, {r, true}, {w, false}, true};
        case PlanKind::Pow:
            return SumShape{Weights::Power, {r, true}, {u, false}, true};
        case PlanKind::Cos:
        case PlanKind::Sin:
        case PlanKind::Tan:
            return SumShape{Weights::FracKJ, {w, true}, {u, false}, true};
        case PlanKind::Exp:
            return SumShape{Weights::FracKJ, {r, true}, {u, false}, true};
        case PlanKind::Sqrt:
            return SumShape{Weights::FracSqrt, {r, true}, {u, false}, true};
        case PlanKind::Ln:
            return SumShape{Weights::FracKJ, {r, false}, {u, true}, false};
        case PlanKind::Arcsin:
        case PlanKind::Arccos:
            return SumShape{Weights::FracJK, {r, true}, {w, false}, false};
        default:
            return std::nullopt;
        }
    }
    static bool isSquare(PlanKind kind) {
        return kind == PlanKind::Square || kind == PlanKind::NegSquare;
    }
    static bool isSum(const PlanStep& step) { return isSquare(step.Kind) || sumShape(step); }

    // The arrays a sum reads in its loop are kept as pairs; coefficient 0 of those its first term
    // and its finish read is read from the pairs too.
    void markSum(const PlanStep& step) {
        const SumShape shape = *sumShape(step);
        paired_.insert({shape.First.Array, shape.Second.Array});
        zeros_.insert({shape.First.Array, shape.Second.Array, step.U, step.W});
    }

    // The arrays a step reads at coefficient k: the ones that order its steps.
    static std::vector<std::uint32_t> newestReads(const PlanStep& step) {
        switch (step.Kind) {
        case PlanKind::CopyW:
        case PlanKind::NegW:
        case PlanKind::ConstTimesW:
        case PlanKind::ConstDiv:
        case PlanKind::MulTW:
            return {step.W};
        case PlanKind::ConstDivT:
        case PlanKind::CosT:
        case PlanKind::SinT:
        case PlanKind::ExpT:
        case PlanKind::SqrtT:
            return {};
        case PlanKind::AddVV:
        case PlanKind::SubVV:
        case PlanKind::MulVV:
        case PlanKind::DivVV:
            return {step.U, step.W};
        default:
            return {step.U};
        }
    }

    // The row of weights for order k, named q<i> after the sum's accumulator s<i>.
    std::string weightRow(const PlanStep& step, const SumShape& shape) const {
        const std::string row = " + (long)k * (k + 1) / 2";
        switch (shape.Weight) {
        case Weights::Power:
            return "t->w + " + std::to_string(plan_.Powers[step.Aux].Offset) + row;
        case Weights::FracKJ:
            return "t->kj" + row;
        case Weights::FracJK:
            return "t->jk" + row;
        case Weights::FracSqrt:
            return "t->sq" + row;
        case Weights::None:
            break;
        }
        return {};
    }
    static std::string rowName(const std::string& s) { return "q" + s.substr(1); }

    // A term of the sum: at j = 0 with the factors' coefficient 0 and newest coefficient, else at
    // j from the pairs.
    std::string term(const SumShape& shape, const std::string& s, bool atZero) const {
        auto factor = [&](const Factor& f) {
            if (atZero)
                return f.AtJ ? zero(f.Array) : newest(f.Array);
            return pair(f.Array, f.AtJ ? "j" : "k - j");
        };
        std::string text = s + " += ";
        if (shape.Weight != Weights::None)
            text += "J(" + rowName(s) + (atZero ? "[0]) * " : "[j]) * ");
        return text + factor(shape.First) + " * " + factor(shape.Second) + ";";
    }
    std::string firstTerm(const PlanStep& step, const std::string& s) const {
        if (isSquare(step.Kind))
            return s + " += " + zero(step.U) + " * " + newest(step.U) + ";";
        const SumShape shape = *sumShape(step);
        return shape.FromZero ? term(shape, s, true) : std::string();
    }
    std::string loopTerm(const PlanStep& step, const std::string& s) const {
        if (isSquare(step.Kind))
            return s + " += " + pair(step.U, "j") + " * " + pair(step.U, "k - j") + ";";
        return term(*sumShape(step), s, false);
    }
    // Coefficient k from the sum, as the interpreted pass finishes it.
    std::string finish(const PlanStep& step, const std::string& s) const {
        const std::string u = newest(step.U), u0 = zero(step.U), w0 = zero(step.W);
        switch (step.Kind) {
        case PlanKind::MulVV:
            return s + " += " + u + " * " + w0 + "; r = " + s + ";";
        case PlanKind::Pow:
        case PlanKind::Sqrt:
            return "r = " + s + " / " + u0 + ";";
        case PlanKind::DivVV:
        case PlanKind::Arcsin:
            return "r = (" + u + " - " + s + ") / " + w0 + ";";
        case PlanKind::ConstDiv:
            return "r = -" + s + " / " + w0 + ";";
        case PlanKind::Arccos:
            return "r = -(" + u + " + " + s + ") / " + w0 + ";";
        case PlanKind::Ln:
            return "r = (" + u + " - " + s + ") / " + u0 + ";";
        case PlanKind::Cos:
            return "r = -" + s + ";";
        case PlanKind::Square:
        case PlanKind::NegSquare: {
            const std::string h = pair(step.U, "k / 2");
            return "if (k % 2 != 0) r = 2 * " + s + "; else r = " + h + " * " + h + " + 2 * " + s +
                   ";" + (step.Kind == PlanKind::NegSquare ? " r = -r;" : "");
        }
        default: // Sin, Tan, Exp
            return "r = " + s + ";";
        }
    }

    void store(std::uint32_t at, const char* index) {
        if (at < keptBelow_)
            body_ << " b[" << at << " + " << index << "] = r;";
        if (paired_.count(at))
            body_ << " split(p[" << at << " + " << index << "], r, bad);";
    }

    void emitPlain(const PlanStep& step) {
        body_ << "        { E r; " << value(step);
        store(step.R, "k");
        body_ << " v" << step.R << " = r; }\n";
        madeThisOrder_.insert(step.R);
    }

    // Sums that do not wait for each other run in one loop, each with its own accumulator and its
    // own order of terms: their add chains overlap. Squares run over j = 1 .. (k-1)/2, the others
    // over j = 1 .. k-1.
    void emitSums(const std::vector<const PlanStep*>& sums) {
        body_ << "        {\n";
        for (std::size_t i = 0; i < sums.size(); ++i) {
            const PlanStep& step = *sums[i];
            const std::string s = "s" + std::to_string(i);
            if (const auto shape = sumShape(step); shape && shape->Weight != Weights::None)
                body_ << "            const P* " << rowName(s) << " = " << weightRow(step, *shape)
                      << ";\n";
            body_ << "            E " << s << " = 0; " << firstTerm(step, s) << "\n";
        }
        for (const bool squares : {false, true}) {
            std::string terms;
            for (std::size_t i = 0; i < sums.size(); ++i)
                if (isSquare(sums[i]->Kind) == squares)
                    terms += " " + loopTerm(*sums[i], "s" + std::to_string(i));
            if (!terms.empty())
                body_ << "            for (int j = 1; j " << (squares ? "<= (k - 1) / 2" : "< k")
                      << "; ++j) {" << terms << " }\n";
        }
        for (std::size_t i = 0; i < sums.size(); ++i) {
            const PlanStep& step = *sums[i];
            body_ << "            { E r; " << finish(step, "s" + std::to_string(i));
            store(step.R, "k");
            body_ << " v" << step.R << " = r; }\n";
        }
        body_ << "        }\n";
        for (const PlanStep* step : sums)
            madeThisOrder_.insert(step->R);
    }

    // A step that reads coefficient k of an array before the step that makes it, or two steps
    // that make one array: the interpreted pass would read what the last jet left, which the
    // compiled jet may not have stored. The compiler never writes such a list.
    bool inOrder(std::string& why) const {
        std::set<std::uint32_t> made;
        for (const PlanStep& step : plan_.Steps) {
            for (const std::uint32_t operand : newestReads(step))
                if (written_.count(operand) && !made.count(operand)) {
                    why = "an operation that reads a result before it is made";
                    return false;
                }
            if (!made.insert(step.R).second) {
                why = "two operations that make one result";
                return false;
            }
        }
        return true;
    }

    // Each step's level: the number of sums on its longest path of reads this order (a sum
    // counts for those after it). Sums of one level do not read each other, so they run side by
    // side; plain steps cost little and run before the sums of their level, in list order, which
    // puts every step after the ones it reads. Every step still forms its own value as in list
    // order, so the bits do not change.
    std::vector<std::vector<const PlanStep*>> levels() const {
        std::map<std::uint32_t, std::size_t> levelOf; // a sum's entry counts itself
        for (const PlanStep& step : plan_.Steps) {
            std::size_t level = 0;
            for (const std::uint32_t operand : newestReads(step))
                if (const auto made = levelOf.find(operand); made != levelOf.end())
                    level = std::max(level, made->second);
            levelOf[step.R] = level + (isSum(step) ? 1 : 0);
        }
        std::vector<std::vector<const PlanStep*>> result;
        for (const PlanStep& step : plan_.Steps) {
            const std::size_t level = levelOf[step.R] - (isSum(step) ? 1 : 0);
            if (result.size() <= level)
                result.resize(level + 1);
            result[level].push_back(&step);
        }
        return result;
    }

    void writeLoop() {
        for (const auto& level : levels()) {
            std::vector<const PlanStep*> sums;
            for (const PlanStep* step : level) {
                if (isSum(*step))
                    sums.push_back(step);
                else
                    emitPlain(*step);
            }
            // A loop holds its accumulators and the terms in flight in the eight registers of
            // the floating-point stack: more sums at once would spill on every term.
            for (std::size_t first = 0; first < sums.size(); first += SumsPerLoop)
                emitSums({sums.begin() + static_cast<std::ptrdiff_t>(first),
                          sums.begin() + static_cast<std::ptrdiff_t>(
                                             std::min(sums.size(), first + SumsPerLoop))});
        }
        // The main variables' next coefficients, after every step has read coefficient k.
        body_ << "        if (k + 1 < n) {\n            const E d = (E)(k + 1);\n";
        for (std::size_t i = 0; i < plan_.MainOffsets.size(); ++i) {
            const std::uint32_t main = plan_.MainOffsets[i];
            body_ << "            { E r = " << newest(plan_.DerivOffsets[i]) << " / d;";
            store(main, "k + 1");
            body_ << " v" << main << " = r; }\n";
        }
        body_ << "        }\n";
    }

    const EnginePlan& plan_;
    const std::uint32_t keptBelow_;
    std::set<std::uint32_t> paired_, zeros_, written_, madeThisOrder_;
    std::ostringstream guards_, order0_, body_;
    std::string source_;
};

} // namespace

std::string nativeJetSource(const EnginePlan& plan, std::uint32_t keptBelow, std::string& why) {
    SourceWriter writer(plan, keptBelow);
    if (!writer.write(why))
        return {};
    return writer.source();
}
