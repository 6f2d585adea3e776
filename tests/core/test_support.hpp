// Shared helpers of the core tests: a current job that records every
// diagnostic its callback sees, and GBK bytes of expected UTF-8 text.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "compiler/core/core.hpp"
#include "tests/support/own_session.hpp"

// GBK bytes of a UTF-8 text, converted with iconv independently of the code under test.
std::string gbkBytes(const std::string& utf8);

// A job for the test's lifetime that records what its callback sees.
class DriverScope {
public:
    explicit DriverScope(const std::string& file = "t.e");
    ~DriverScope();
    OwnJob driver;
    static std::vector<QUVException> seen;
    static std::vector<size_t> listSizeAtCallback;
};

// A field list for a record or union type, for the registry to take.
std::unique_ptr<FieldListFragment> fieldList(const std::vector<std::pair<std::string, Type*>>& fields);
Type* makeRecordOf(TypeRegistry& types, const std::vector<std::pair<std::string, Type*>>& fields);
Type* makeUnionOf(TypeRegistry& types, const std::vector<std::pair<std::string, Type*>>& fields);
// The same, made by the program job generates, as the walker notes them.
Type* makeRecordOf(JobState& job, const std::vector<std::pair<std::string, Type*>>& fields);
Type* makeUnionOf(JobState& job, const std::vector<std::pair<std::string, Type*>>& fields);
