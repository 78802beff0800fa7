// Whether the processor has 16-lane (512-bit) vector registers, asked once.
#pragma once

inline bool hasWideVectors() {
    static const bool available = __builtin_cpu_supports("avx512f");
    return available;
}
