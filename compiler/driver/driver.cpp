#include "compiler/driver/driver.hpp"

QUVCompiler* QUVCompiler::current = nullptr;

QUVCompiler::QUVCompiler(const std::string& name) : JobState(name), previousDriver(current) {
    current = this;
}

// A driver that stayed current after its job would hand a later job's stop
// and callbacks to a job that has ended.
QUVCompiler::~QUVCompiler() {
    if (current == this)
        current = previousDriver;
}
