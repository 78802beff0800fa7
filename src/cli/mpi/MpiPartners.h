// The processes of an MPI run as partners of a shared batch run.
#pragma once

#include "tools/MassivePartners.h"

// Starts MPI on construction and ends it on destruction; a run that ends in failure or is
// interrupted ends every process of the job through `abort`.
class MpiPartners : public MassivePartners {
  public:
    MpiPartners();
    ~MpiPartners() override;
    MpiPartners(const MpiPartners&) = delete;
    MpiPartners& operator=(const MpiPartners&) = delete;

    int rank() const override { return rank_; }
    int ranks() const override { return ranks_; }
    MassiveAgreement agree(const MassiveAgreement& agreement) override;
    std::optional<MassiveResult> receive(long long index) override;
    void send(long long index, const MassiveResult& result) override;
    [[noreturn]] void abort(int exitCode);

  private:
    int rank_ = 0;
    int ranks_ = 1;
};
