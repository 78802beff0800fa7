#include "integrator/ProgramState.h"

std::int64_t ProgramState::defaultAvailableMemory() {
    const auto status = readMemoryStatus();
    return status ? status->Available : 0;
}
