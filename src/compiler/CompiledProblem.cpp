#include "compiler/CompiledProblem.h"

void CoefficientTable::layout(const std::vector<std::int32_t>& lengths) {
    lengths_ = lengths;
    offsets_.resize(lengths.size());
    std::size_t total = 0;
    for (std::size_t v = 0; v < lengths.size(); ++v) {
        offsets_[v] = total;
        total += static_cast<std::size_t>(lengths[v]);
    }
    values_.assign(total, 0.0L);
}

void CoefficientTable::clear() {
    values_.clear();
    offsets_.clear();
    lengths_.clear();
}
