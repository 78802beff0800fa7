// A batch run shared among processes. Process r of P runs the records whose index, counted from
// the first record not yet in the output, leaves r when divided by P; the first process checks
// the files, writes every line in input order and takes the other processes' results as they
// arrive, so that the output is the one a single process writes.
#pragma once

#include <optional>
#include <string>

// A finished record: its line, or the message that stops the run there.
struct MassiveResult {
    std::string Line;
    std::string Error;
};

// What the first process tells the others before the records run.
struct MassiveAgreement {
    long long Records = -1; // input records, or -1 when the run does not start
    long long Skipped = 0;  // records the output already holds
};

class MassivePartners {
  public:
    virtual ~MassivePartners() = default;
    virtual int rank() const = 0;
    virtual int ranks() const = 0;
    // The first process sends its agreement; the others receive it and return it.
    virtual MassiveAgreement agree(const MassiveAgreement& agreement) = 0;
    // First process: the result of record `index` from the process that runs it, when it arrives
    // within a moment.
    virtual std::optional<MassiveResult> receive(long long index) = 0;
    // Other processes: hands the result of record `index` to the first process.
    virtual void send(long long index, const MassiveResult& result) = 0;
};
