// A compile job that brings its own session, for a test or a harness run that
// compiles on its own: its types and generated names start afresh, as in a
// fresh quvc run, and go with it.
#pragma once
#include <string>

#include "compiler/core/job_state.hpp"

// A base, so that the session is made before the job that refers to it.
struct SessionHolder {
    CompileSession ownSession;
};

template <typename Job>
class WithOwnSession : private SessionHolder, public Job {
public:
    explicit WithOwnSession(const std::string& fileName = "") : Job(ownSession, fileName) {}
};

using OwnJob = WithOwnSession<JobState>;
