// A second, deliberately plain reading of every recurrence: one instruction at a time in list
// order, each sum written out in the order its formula gives, weights computed on the spot. The
// engine's list-order and scheduled paths must reproduce its coefficients bit for bit.
#pragma once

#include "compiler/CompiledProblem.h"
#include "compiler/ScalarRoutines.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

class ReferenceJet {
  public:
    ReferenceJet(const TCompiledProblem& problem, std::int32_t termCount)
        : problem_(problem), n_(termCount) {
        for (std::int32_t v = 0; v < problem.Coefficients.count(); ++v) {
            c_.emplace_back(static_cast<std::size_t>(n_), 0.0L);
            c_.back()[0] = problem.Coefficients[v][0];
        }
    }

    // Order 0, then x[1] = f[0], then each order k with x[k+1] = f[k] / (k+1), the last order
    // without advancing the main variables.
    void run() {
        for (const TInstruction& in : problem_.ActiveInstructions)
            c_[at(in.Res)][0] = order0(in);
        for (std::int32_t i = 0; i < problem_.NumMain; ++i)
            main(i)[1] = derivative(i)[0];
        for (std::int32_t k = 1; k < n_; ++k) {
            for (const TInstruction& in : problem_.ActiveInstructions)
                c_[at(in.Res)][at(k)] = orderK(in, k);
            if (k + 1 < n_)
                for (std::int32_t i = 0; i < problem_.NumMain; ++i)
                    main(i)[at(k + 1)] = derivative(i)[at(k)] / static_cast<Extended>(k + 1);
        }
    }

    const std::vector<Extended>& operator[](std::int32_t var) const { return c_[at(var)]; }

  private:
    static std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }
    std::vector<Extended>& main(std::int32_t i) { return c_[at(problem_.NumConst + i)]; }
    std::vector<Extended>& derivative(std::int32_t i) { return c_[at(problem_.DerivStart + i)]; }

    static Extended jk(std::int32_t k, std::int32_t j) {
        return static_cast<Extended>(j) / static_cast<Extended>(k);
    }
    static Extended kj(std::int32_t k, std::int32_t j) { return 1.0L - jk(k, j); }
    static Extended sqrtWeight(std::int32_t k, std::int32_t j) {
        return kj(k, j) * 0.5L - jk(k, j);
    }

    Extended tau() const {
        return problem_.IndepLine >= 0 ? c_[at(problem_.IndepVar)][0] : problem_.CurrentIndep;
    }

    const TCompiledPolynomial& polynomial(const TInstruction& in) const {
        return problem_.Polynomials.at(static_cast<std::size_t>(std::nearbyint(c_[at(in.Op1)][0])));
    }

    Extended order0(const TInstruction& in) const {
        const Extended a = c_[at(in.Op1)][0], b = c_[at(in.Op2)][0];
        switch (in.Op) {
        case OpCos:
            return std::cos(a);
        case OpSin:
            return std::sin(a);
        case OpTan:
            return std::tan(a);
        case OpArccos:
            return std::atan2(std::sqrt((1 + a) * (1 - a)), a);
        case OpArcsin:
            return std::atan2(a, std::sqrt(1 - a * a));
        case OpArctan:
            return std::atan(a);
        case OpExp:
            return std::exp(a);
        case OpLn:
            return std::log(a);
        case OpLog:
            return std::log(b) / std::log(a);
        case OpSqrt:
            return std::sqrt(a);
        case OpPolynomial: {
            const TCompiledPolynomial& p = polynomial(in);
            Extended sum = 0;
            for (std::size_t i = p.IndepCoefficients.size(); i-- > 0;)
                sum = i + 1 == p.IndepCoefficients.size() ? p.IndepCoefficients[i]
                                                          : sum * tau() + p.IndepCoefficients[i];
            for (const auto& term : p.LinearTerms)
                sum += term.Coefficient * c_[at(term.Var)][0];
            for (const auto& term : p.SquareTerms)
                sum += term.Coefficient * c_[at(term.Var)][0] * c_[at(term.Var)][0];
            for (const auto& term : p.ProductTerms)
                sum += term.Coefficient * c_[at(term.VarA)][0] * c_[at(term.VarB)][0];
            return sum;
        }
        case OpCopy:
            return a;
        case OpOnePlusSquare:
            return a * a + 1;
        case OpSquare:
            return a * a;
        case OpOneMinusSquare:
            return 1 - a * a;
        case OpMul:
            return a * b;
        case OpAdd:
            return a + b;
        case OpSub:
            return a - b;
        case OpDiv:
            return a / b;
        case OpPow:
            return Power(a, b);
        default:
            throw std::logic_error("no order 0 for this opcode");
        }
    }

    // With g = floor((k-1)/2): 2 sum_{l<=g} u[l] u[k-l], plus u[k/2]^2 first for even k.
    static Extended square(const std::vector<Extended>& u, std::int32_t k) {
        Extended s = 0;
        for (std::int32_t l = 0; l <= (k - 1) / 2; ++l)
            s += u[at(l)] * u[at(k - l)];
        return k % 2 == 1 ? 2 * s : u[at(k / 2)] * u[at(k / 2)] + 2 * s;
    }

    Extended orderK(const TInstruction& in, std::int32_t k) const {
        const std::vector<Extended>& u = c_[at(in.Op1)];
        const std::vector<Extended>& w = c_[at(in.Op2)];
        const std::vector<Extended>& r = c_[at(in.Res)];
        const Extended A = u[0], B = w[0];
        const bool uIsT = in.Op1 == problem_.IndepVar, wIsT = in.Op2 == problem_.IndepVar;
        const auto K = static_cast<Extended>(k);
        auto sum = [&](std::int32_t from, std::int32_t to, auto&& term) {
            Extended s = 0;
            for (std::int32_t j = from; j <= to; ++j)
                s += term(j);
            return s;
        };
        if (in.OperandClass == ClassCV) {
            switch (in.Op) {
            case OpMul:
                return A * w[at(k)];
            case OpAdd:
                return w[at(k)];
            case OpSub:
                return -w[at(k)];
            case OpCopy:
                return u[at(k)];
            case OpDiv:
                if (wIsT)
                    return -r[at(k - 1)] / B;
                return -sum(0, k - 1, [&](std::int32_t j) { return r[at(j)] * w[at(k - j)]; }) / B;
            case OpPolynomial:
                return polynomialK(polynomial(in), k);
            }
        } else if (in.OperandClass == ClassVC) {
            switch (in.Op) {
            case OpCos:
                if (uIsT)
                    return -w[at(k - 1)] / K;
                return -sum(0, k - 1,
                            [&](std::int32_t j) { return kj(k, j) * w[at(j)] * u[at(k - j)]; });
            case OpSin:
                if (uIsT)
                    return w[at(k - 1)] / K;
                [[fallthrough]];
            case OpTan:
                return sum(0, k - 1,
                           [&](std::int32_t j) { return kj(k, j) * w[at(j)] * u[at(k - j)]; });
            case OpArccos:
                return -(u[at(k)] +
                         sum(1, k - 1,
                             [&](std::int32_t j) { return jk(k, j) * r[at(j)] * w[at(k - j)]; })) /
                       B;
            case OpArcsin:
            case OpArctan:
                return (u[at(k)] -
                        sum(1, k - 1,
                            [&](std::int32_t j) { return jk(k, j) * r[at(j)] * w[at(k - j)]; })) /
                       B;
            case OpExp:
                if (uIsT)
                    return r[at(k - 1)] / K;
                return sum(0, k - 1,
                           [&](std::int32_t j) { return kj(k, j) * r[at(j)] * u[at(k - j)]; });
            case OpLn:
                if (uIsT)
                    return (u[at(k)] - (K - 1) / K * r[at(k - 1)]) / A;
                return (u[at(k)] -
                        sum(1, k - 1,
                            [&](std::int32_t j) { return kj(k, j) * r[at(k - j)] * u[at(j)]; })) /
                       A;
            case OpSqrt:
                if (uIsT)
                    return (3 - 2 * K) / (2 * K) * r[at(k - 1)] / A;
                return sum(0, k - 1,
                           [&](std::int32_t j) {
                               return sqrtWeight(k, j) * r[at(j)] * u[at(k - j)];
                           }) /
                       A;
            case OpOnePlusSquare:
            case OpSquare:
                return square(u, k);
            case OpOneMinusSquare:
                return -square(u, k);
            case OpMul:
                return u[at(k)] * B;
            case OpDiv:
                return u[at(k)] / B;
            case OpAdd:
            case OpSub:
            case OpCopy:
                return u[at(k)];
            case OpPow:
                return power(in, k);
            }
        } else if (in.OperandClass == ClassVV) {
            switch (in.Op) {
            case OpAdd:
                return u[at(k)] + w[at(k)];
            case OpSub:
                return u[at(k)] - w[at(k)];
            case OpCopy:
                return u[at(k)];
            case OpMul:
                if (uIsT)
                    return A * w[at(k)] + w[at(k - 1)];
                if (wIsT)
                    return u[at(k)] * B + u[at(k - 1)];
                return sum(0, k, [&](std::int32_t j) { return u[at(j)] * w[at(k - j)]; });
            case OpDiv:
                if (wIsT)
                    return (u[at(k)] - r[at(k - 1)]) / B;
                return (u[at(k)] -
                        sum(0, k - 1, [&](std::int32_t j) { return r[at(j)] * w[at(k - j)]; })) /
                       B;
            }
        }
        throw std::logic_error("no recurrence for this opcode in its class");
    }

    Extended power(const TInstruction& in, std::int32_t k) const {
        const std::vector<Extended>& u = c_[at(in.Op1)];
        const std::vector<Extended>& r = c_[at(in.Res)];
        const Extended B = c_[at(in.Op2)][0];
        if (B == 0)
            return 0;
        if (B == 1)
            return u[at(k)];
        if (in.Op1 != problem_.IndepVar) {
            Extended s = 0;
            for (std::int32_t j = 0; j < k; ++j)
                s += (B * kj(k, j) - jk(k, j)) * r[at(j)] * u[at(k - j)];
            return s / u[0];
        }
        const Extended t0 = u[0];
        if (B > 1 && B == std::trunc(B) && t0 == 0)
            return B == static_cast<Extended>(k) ? 1 : 0;
        return (B * kj(k, k - 1) - jk(k, k - 1)) * r[at(k - 1)] / t0;
    }

    Extended polynomialK(const TCompiledPolynomial& p, std::int32_t k) const {
        Extended sum = 0;
        const std::int32_t degree = static_cast<std::int32_t>(p.IndepCoefficients.size()) - 1;
        if (problem_.IndepLine >= 0)
            for (std::int32_t i = degree; i >= k; --i)
                sum = Binomial(i, k) * p.IndepCoefficients[at(i)] + sum * tau();
        for (const auto& term : p.LinearTerms)
            sum += term.Coefficient * c_[at(term.Var)][at(k)];
        for (const auto& term : p.SquareTerms)
            sum += term.Coefficient * square(c_[at(term.Var)], k);
        for (const auto& term : p.ProductTerms) {
            Extended product = 0;
            for (std::int32_t j = 0; j <= k; ++j)
                product += c_[at(term.VarA)][at(j)] * c_[at(term.VarB)][at(k - j)];
            sum += term.Coefficient * product;
        }
        return sum;
    }

    const TCompiledProblem& problem_;
    std::int32_t n_;
    std::vector<std::vector<Extended>> c_;
};
