#include "cli/mpi/MpiPartners.h"

#include "common/OrvantaError.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mpi.h>
#include <thread>
#include <vector>

namespace {

// A result travels as its record index, a kind byte (0 a line, 1 an error) and the text.
constexpr int ResultTag = 1;

std::vector<char> packResult(long long index, const MassiveResult& result) {
    const bool failed = !result.Error.empty();
    const std::string& text = failed ? result.Error : result.Line;
    std::vector<char> message(sizeof index + 1 + text.size());
    std::memcpy(message.data(), &index, sizeof index);
    message[sizeof index] = failed ? 1 : 0;
    std::memcpy(message.data() + sizeof index + 1, text.data(), text.size());
    return message;
}

} // namespace

MpiPartners::MpiPartners() {
    // Only the main thread talks to the other processes; the workers are threads of their own.
    int provided = 0;
    if (MPI_Init_thread(nullptr, nullptr, MPI_THREAD_FUNNELED, &provided) != MPI_SUCCESS)
        throw OrvantaError("MPI could not be started");
    MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
    MPI_Comm_size(MPI_COMM_WORLD, &ranks_);
}

MpiPartners::~MpiPartners() {
    MPI_Finalize();
}

MassiveAgreement MpiPartners::agree(const MassiveAgreement& agreement) {
    long long numbers[2] = {agreement.Records, agreement.Skipped};
    MPI_Bcast(numbers, 2, MPI_LONG_LONG, 0, MPI_COMM_WORLD);
    return {numbers[0], numbers[1]};
}

std::optional<MassiveResult> MpiPartners::receive(long long index) {
    const int source = static_cast<int>(index % ranks_);
    // Messages from one process arrive in the order it sent them, which is its records' order.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    int arrived = 0;
    MPI_Status status;
    for (;;) {
        MPI_Iprobe(source, ResultTag, MPI_COMM_WORLD, &arrived, &status);
        if (arrived || std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (!arrived)
        return std::nullopt;
    int size = 0;
    MPI_Get_count(&status, MPI_CHAR, &size);
    std::vector<char> message(static_cast<std::size_t>(size));
    MPI_Recv(message.data(), size, MPI_CHAR, source, ResultTag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    long long sent = -1;
    if (message.size() > sizeof sent)
        std::memcpy(&sent, message.data(), sizeof sent);
    if (sent != index)
        return MassiveResult{{}, "Results of another process arrived out of order"};
    std::string text(message.begin() + sizeof sent + 1, message.end());
    if (message[sizeof sent] == 1)
        return MassiveResult{{}, std::move(text)};
    return MassiveResult{std::move(text), {}};
}

void MpiPartners::send(long long index, const MassiveResult& result) {
    const std::vector<char> message = packResult(index, result);
    MPI_Send(message.data(), static_cast<int>(message.size()), MPI_CHAR, 0, ResultTag,
             MPI_COMM_WORLD);
}

void MpiPartners::abort(int exitCode) {
    MPI_Abort(MPI_COMM_WORLD, exitCode);
    std::exit(exitCode);
}
