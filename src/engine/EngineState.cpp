#include "engine/EngineState.h"

#include <cmath>

EngineState::EngineState() {
    BuildRecurrenceTables(*this);
}

void BuildRecurrenceTables(EngineState& engine) {
    if (engine.TermCount < MinTermCount)
        engine.TermCount = MinTermCount;
    const std::int32_t n = engine.TermCount;
    const std::size_t size = triangleRow(n + 1);
    engine.FracJK.assign(size, 0.0L);
    engine.FracKJ.assign(size, 0.0L);
    engine.FracSqrt.assign(size, 0.0L);
    for (std::int32_t k = 1; k <= n; ++k) {
        const std::size_t row = triangleRow(k);
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended jk = static_cast<Extended>(j) / static_cast<Extended>(k);
            const Extended kj = 1.0L - jk;
            engine.FracJK[row + j] = jk;
            engine.FracKJ[row + j] = kj;
            engine.FracSqrt[row + j] = kj * 0.5L - jk;
        }
    }
    auto pairs = [](const std::vector<Extended>& table) {
        std::vector<ValuePair> result;
        result.reserve(table.size());
        for (const Extended value : table)
            result.push_back(splitValue(value));
        return result;
    };
    engine.FracJKPairs = pairs(engine.FracJK);
    engine.FracKJPairs = pairs(engine.FracKJ);
    engine.FracSqrtPairs = pairs(engine.FracSqrt);
    engine.RateBuf.assign(static_cast<std::size_t>(n), 0.0f);
    // Rounded to nearest with ties to even, as the default rounding mode does.
    engine.RateTop = static_cast<std::int16_t>(std::nearbyint(n * 0.5));
    engine.RateWindow = static_cast<std::int16_t>(std::nearbyint(n * 0.125));
}
