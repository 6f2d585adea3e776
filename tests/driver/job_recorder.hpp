// What the driver tests share: a driver whose callbacks record every call,
// and stages whose behaviour each test sets.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "compiler/driver/driver.hpp"
#include "tests/support/own_session.hpp"
#include "tool_run.hpp"

// Every callback of the job in order, as text: "stage SUBJECT: TEXT",
// "diag KIND NUMBER" or "typesetDone OK".
struct JobRecorder {
    JobRecorder();
    ~JobRecorder();
    WithOwnSession<QUVCompiler> driver;
    static std::vector<std::string> calls;
    // The stage lines alone.
    static std::vector<std::string> stages();
};

// Stages that run the test's functions; with none set, a parse builds a
// one-node tree and a walk leaves the program kind in `kind` but no program
// to write. onTop runs last in the walk: it may leave a program, then throw.
class FakeStages : public CompileStages {
public:
    std::function<void(const std::string& file)> onParse;
    std::function<void(const std::string& file)> onWalk;
    std::function<void(TopFragment& top)> onTop;
    int kind = 0;
    bool buildTree = true;
    std::vector<std::string> walked;  // the sources walked

    // The job of the last parse or walk.
    JobState* job = nullptr;

    antlr::RefAST parse(JobState& job, const std::string& file, TypesettingPass* typesetting) override;
    void walk(JobState& job, antlr::RefAST tree, TopFragment& top) override;
};

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
