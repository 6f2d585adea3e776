// Compiles what the emitters write with g++: a program with every kind of
// declaration, procedure, process and frame this generator produces, and a
// small program whose nested procedures read enclosing parameters and run.
#include <gtest/gtest.h>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

// Builds a procedure's or process's head and frame the way the walker drives the emitters.
struct Unit {
    ProNode* node;
    CodeFragment head;
    CodeFragment frame;
};

void procedureUnit(JobState& job, Unit& u, const SectionFragment& locals, const SectionFragment& procs, const std::string& body) {
    SectionFragment params = paramSection(job, u.node);
    codegen::createProcHead(job, u.head, u.node, u.node->getName(), &params, "");
    Filled<> b(Texts{"", body, "", ""});
    codegen::createFrameStruct(job, u.frame, u.node, u.node->getName(), u.head.getTypeset(), u.head.getCode(), &locals,
                               &procs, &b);
}

void processUnit(JobState& job, Unit& u, const SectionFragment& locals, const std::string& body) {
    SectionFragment params = paramSection(job, u.node);
    codegen::createProsHead(job, u.head, u.node, u.node->getName(), &params, "");
    std::string headTypeset = u.head.getTypeset(), headCode = u.head.getCode();
    codegen::createProsBody(job, u.head, u.node, "");
    SectionFragment none;
    Filled<> b(Texts{"", body, "", ""});
    codegen::createFrameDecl(job, u.frame, u.node, u.node->getName(), headTypeset, headCode, &locals, &none, &b);
}

void mainUnit(JobState& job, CodeFragment& frame, ProNode* main, const SectionFragment& locals, const SectionFragment& procs,
              const std::string& body) {
    Filled<> b(Texts{"", body, "", ""});
    codegen::createFrameStruct(job, frame, main, "$Main", "", "", &locals, &procs, &b);
}

void addLocal(JobState& job, SectionFragment& locals, const std::string& name, Type* t) {
    CodeFragment item;
    codegen::createVarDecl(job, item, name, t);
    codegen::createLocSection(job, locals, &item);
}

// Writes the program's files into the test's folder and compiles the ".cpp" file.
int compile(JobState& job, const std::string& test, const CodeFragment& main, int kind, const std::string& mode,
            std::string& messages) {
    std::string dir = scratchDir(test);
    std::string base = dir + "/demo";
    TopFragment top;
    top.setProgram("demo", kind, main);
    top.writeFiles(job, OutputNames::ofBase(base));
    std::string output = mode == "run" ? "-o " + base : "-fsyntax-only";
    std::string library = mode == "run" ? " " + runtimeLibrarySource() : "";
    int status = runCompiler("-std=gnu++17 -pthread " + output + " -I " + runtimeDir() + " " + base + ".cpp" + library,
                             messages);
    if (status == 0 && mode == "run")
        status = WEXITSTATUS(std::system(base.c_str()));
    return status;
}

class CompileProbe : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment program;
    Program symbols{scope.driver};
    Type* I = job.types().integerType();
};

TEST_F(CompileProbe, EveryDeclarationFormCompiles) {
    // %TYPE Pair = Record(x : Integer; in : Record(a : Integer)), written as the plain typedef of a type declaration.
    Type* pairRecord = makeRecordOf(scope.driver, {{"x", I}, {"in", makeRecordOf(scope.driver, {{"a", I}})}});
    Type* pair = job.types().makeNamed(scope.driver, pairRecord, "Pair");
    SectionFragment types;
    Filled<> typeItem(Texts{"Pair = ...", "typedef " + CodeNames::declaration("_t_Pair", pairRecord) + ";\n", "", ""});
    codegen::createTypeSection(job, types, &typeItem);

    Type* row = job.types().makeNamed(scope.driver, job.types().makeArray(I, 4), "Row");
    Filled<> rowItem(Texts{"Row = ...", "typedef " + CodeNames::declaration("_t_Row", job.types().makeArray(I, 4)) + ";\n", "", ""});
    codegen::createTypeSection(job, types, &rowItem);

    Type* anon = makeRecordOf(scope.driver, {{"a", I}});
    Type* arr = job.types().makeArray(anon, 3);
    SectionFragment globs, shared;
    CodeFragment item;
    Filled<> three(Texts{"3", "3", "", ""});
    codegen::createConstDecl(job, item, "k", I, &three);
    codegen::createGlobSection(job, globs, &item);
    codegen::createSharedVarDecl(job, item, "s", anon);
    codegen::createVarSection(job, shared, &item);
    codegen::createSharedVarDecl(job, item, "list", job.types().makePointer(pair));
    codegen::createVarSection(job, shared, &item);

    // %Proc f(%INP a : Integer; %IOP r : Array; %CHN c : Integer) with a nested g that uses them.
    Unit f{symbols.procedure("f")}, g{nullptr};
    symbols.param(f.node, "a", DEF_VALUE_PARAM, I);
    symbols.param(f.node, "r", DEF_REF_PARAM, arr);
    symbols.param(f.node, "c", DEF_INPUT_CHANNEL, job.types().makeChannel(I, true));
    symbols.param(f.node, "v", DEF_VALUE_PARAM, arr);
    symbols.param(f.node, "w", DEF_VALUE_PARAM, row);
    g.node = symbols.procedure("g", f.node);
    SectionFragment fLocals, gLocals, none;
    addLocal(scope.driver, fLocals, "x", anon);
    addLocal(scope.driver, fLocals, "p", pair);
    addLocal(scope.driver, fLocals, "t", job.types().streamType());
    addLocal(scope.driver, gLocals, "ctl", job.types().nmType());
    procedureUnit(scope.driver, g, gLocals, none,
                  "_s = *(father->_p__x);\n(*(father->_p__r))[1] = *(father->_p__x);\n"
                  "(*(father->_p__p))._f_in._f_a = *(father->_p__a);\nint got = 0;\n"
                  "(*(father->_p__c))->syn_recv(&got);\n(*(father->_p__v))[2] = _s;\ngot = (*(father->_p__w))[3];\n");
    SectionFragment fProcs;
    codegen::appendProc(job, fProcs, &g.head);
    codegen::createProcSection(job, fProcs, &g.frame);
    procedureUnit(scope.driver, f, fLocals, fProcs, g.node->getCppName() + "(&local);\n");
    SectionFragment procs;
    codegen::appendProc(job, procs, &f.head);
    codegen::createProcSection(job, procs, &f.frame);

    // %Pros p(%CHN o : Integer output; %INP n : Integer; %IOP v : Integer).
    Unit p{symbols.process("p")};
    symbols.param(p.node, "o", DEF_OUTPUT_CHANNEL, job.types().makeChannel(I, false));
    symbols.param(p.node, "n", DEF_VALUE_PARAM, I);
    symbols.param(p.node, "v", DEF_REF_PARAM, anon);
    SectionFragment pLocals;
    addLocal(scope.driver, pLocals, "w", I);
    processUnit(scope.driver, p, pLocals, "_o->syn_send(_n + _w);\n_v._f_a = _n;\n");
    SectionFragment pros;
    codegen::appendPros(job, pros, &p.head);
    codegen::createProsSection(job, pros, &p.frame);

    // The main body, with a nested procedure.
    ProNode* mainNode = symbols.mainBody();
    Unit h{symbols.procedure("h", mainNode)};
    procedureUnit(scope.driver, h, none, none, "*(father->_p__m) = 1;\n");
    SectionFragment mainLocals, mainProcs;
    addLocal(scope.driver, mainLocals, "m", I);
    addLocal(scope.driver, mainLocals, "cell", arr);
    codegen::appendProc(job, mainProcs, &h.head);
    codegen::createProcSection(job, mainProcs, &h.frame);
    CodeFragment mainFrame;
    mainUnit(scope.driver, mainFrame, mainNode, mainLocals, mainProcs, h.node->getCppName() + "(&local);\n");

    SectionFragment empty;
    CodeFragment unit;
    codegen::createMain(scope.driver, unit, &types, &globs, &shared, &procs, &pros, &empty, &empty, &mainFrame);
    std::string messages;
    EXPECT_EQ(compile(scope.driver, "every_form", unit, 0, "syntax", messages), 0) << messages;

    CodeFragment mUnit;
    codegen::createMMain(scope.driver, mUnit, &types, &globs, &shared, &mainFrame);
    EXPECT_EQ(compile(scope.driver, "every_form_m", mUnit, 2, "syntax", messages), 0) << messages;
}

// outer(%INP a; %IOP b) holds inner, which holds deepest; both read and write
// outer's parameters through their fathers: b = a * 10 + b, then b + 1. Then
// the main body starts process p as a thread and receives 5 from its channel.
TEST_F(CompileProbe, NestedProceduresReadTheEnclosingParametersAndAProcessRuns) {
    ProNode* mainNode = symbols.mainBody();
    Unit outer{symbols.procedure("outer", mainNode)};
    symbols.param(outer.node, "a", DEF_VALUE_PARAM, I);
    symbols.param(outer.node, "b", DEF_REF_PARAM, I);
    Unit inner{symbols.procedure("inner", outer.node)};
    Unit deepest{symbols.procedure("deepest", inner.node)};
    SectionFragment none;
    procedureUnit(scope.driver, deepest, none, none, "*(father->father->_p__b) = *(father->father->_p__b) + 1;\n");
    SectionFragment innerProcs;
    codegen::appendProc(job, innerProcs, &deepest.head);
    codegen::createProcSection(job, innerProcs, &deepest.frame);
    procedureUnit(scope.driver, inner, none, innerProcs,
                  "*(father->_p__b) = *(father->_p__a) * 10 + *(father->_p__b);\n" + deepest.node->getCppName() +
                      "(&local);\n");
    SectionFragment outerProcs;
    codegen::appendProc(job, outerProcs, &inner.head);
    codegen::createProcSection(job, outerProcs, &inner.frame);
    procedureUnit(scope.driver, outer, none, outerProcs, "_a = 4;\n" + inner.node->getCppName() + "(&local);\n");
    SectionFragment mainLocals, mainProcs;
    addLocal(scope.driver, mainLocals, "v", I);
    codegen::appendProc(job, mainProcs, &outer.head);
    codegen::createProcSection(job, mainProcs, &outer.frame);
    Unit p{symbols.process("p")};
    symbols.param(p.node, "o", DEF_OUTPUT_CHANNEL, job.types().makeChannel(I, false));
    symbols.param(p.node, "n", DEF_VALUE_PARAM, I);
    processUnit(scope.driver, p, none, "_o->syn_send(_n);\n");
    SectionFragment pros;
    codegen::appendPros(job, pros, &p.head);
    codegen::createProsSection(job, pros, &p.frame);
    // What a process start writes, by hand: the parameter block, the thread, the wait.
    std::string start = "quv_runtime::ChannelLink ch;\nquv_runtime::ProcessBlock block;\n"
                        "block.put_channel(\"o\", &ch);\nblock.put_value<int>(\"n\", 5);\n"
                        "block.timer_interval = 0;\n_beginthread(p_call, 0, (void*)&block);\n"
                        "int got = 0;\nch.await<Channel<int>*>()->syn_recv(&got);\nblock.wait_end();\n";
    CodeFragment mainFrame;
    mainUnit(scope.driver, mainFrame, mainNode, mainLocals, mainProcs,
             "_v = 2;\n" + outer.node->getCppName() + "(&local, 9, _v);\n" + start + "std::exit(_v + got);\n");
    SectionFragment empty;
    CodeFragment unit;
    codegen::createMain(scope.driver, unit, &empty, &empty, &empty, &empty, &pros, &empty, &empty, &mainFrame);
    std::string messages;
    EXPECT_EQ(compile(scope.driver, "nested_parameters", unit, 0, "run", messages), 48) << messages;
}

}  // namespace
