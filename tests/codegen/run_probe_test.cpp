// Builds whole programs from the statement, equation and expression emitters
// the way the walker drives them, compiles them with g++ against the run-time
// header and runs them: a labelled %alg counting loop with a select and a
// nested procedure, a %stm body with case, loop, wait and if, and equations
// that swap values and arrays.
#include <gtest/gtest.h>

#include <memory>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

class RunProbe : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment program;
    Program symbols{job};
    ProNode* mainNode = nullptr;
    SectionFragment locals;
    std::vector<std::unique_ptr<CodeFragment>> pool;
    Type* I = job.types().integerType();

    void SetUp() override {
        mainNode = symbols.mainBody();
    }

    template <typename T>
    T* keep(std::unique_ptr<T> p) {
        T* kept = p.get();
        pool.push_back(std::move(p));
        return kept;
    }

    VarNode* local(const std::string& name, Type* t, BlockNode* block = nullptr) {
        auto v = (block ? block : mainNode)->add<VarNode>(job, name, DEF_LOCAL, 1, 1);
        v->setType(t);
        CodeFragment item;
        codegen::createVarDecl(job, item, name, t);
        codegen::createLocSection(job, locals, &item);
        return v;
    }

    // A use of v from a block path frames away from its own.
    Expression* at(VarNode* v, const std::string& path = "") {
        codegen::setVariableAccess(job, *v->getExpression(), path);
        return v->getExpression();
    }
    OperatorExpression* val(VarNode* v, const std::string& path = "") {
        return keep(codegen::fromVariable(job, at(v, path)));
    }
    OperatorExpression* num(int n) {
        Expression c;
        codegen::createConstant(job, c, 0, std::to_string(n));
        return keep(codegen::fromConstant(job, &c));
    }
    OperatorExpression* keepOp(std::unique_ptr<OperatorExpression> e) { return keep(std::move(e)); }
    AssignmentEquation* assign(Expression* target, OperatorExpression* value) {
        return keep(codegen::createAssignEquation(job, target, value));
    }
    Statement* item(const std::vector<AssignmentEquation*>& equations, const std::string& label) {
        return keep(codegen::createActionItem(job, equations, label));
    }
    // Output, written by hand as the built-in would.
    Statement* print(const std::vector<OperatorExpression*>& values) {
        std::string code = "std::cout";
        for (const OperatorExpression* v : values)
            code += " << " + v->getCode() + " << ' '";
        Filled<> call(Texts{"print", code + " << std::endl", "", ""});
        return keep(codegen::createCallAction(job, &call));
    }
    Statement* callAction(const std::string& code) {
        Filled<> call(Texts{"call", code, "", ""});
        return keep(codegen::createCallAction(job, &call));
    }
    ConditionalElement* element(const std::string& label, const CodeFragment* guard, const Statement* action) {
        return keep(codegen::createCE(job, label, guard, action));
    }
    Statement* atomic(const std::string& label, const Statement* action) {
        return keep(codegen::createAtomicStat(job, label, action));
    }

    // The main body around part, then the program unit; written, compiled and run.
    std::string run(const std::string& test, const CodeFragment& part, const SectionFragment& procs) {
        CodeFragment frame, unit;
        codegen::createFrameStruct(job, frame, mainNode, "$Main", "", "", &locals, &procs, &part);
        SectionFragment empty;
        codegen::createMain(job, unit, &empty, &empty, &empty, &empty, &empty, &empty, &empty, &frame);
        EXPECT_TRUE(job.records().empty());
        std::string base = scratchDir(test) + "/prog";
        TopFragment top;
        top.setProgram("prog", 0, unit);
        top.writeFiles(job, OutputNames::ofBase(base));
        std::string messages;
        int status = runCompiler("-std=gnu++17 -pthread -o " + base + " -I " + runtimeDir() + " " + base + ".cpp " +
                                     runtimeLibrarySource(),
                                 messages);
        EXPECT_EQ(status, 0) << messages;
        if (status != 0)
            return std::string();
        EXPECT_EQ(std::system((base + " > " + base + ".out").c_str()), 0);
        return readFile(base + ".out");
    }
};

// %alg: L1 sets i and s; L2 counts i to 5 adding the old i to s, then doubles
// s through a nested procedure whose own %alg body returns; L3 selects.
TEST_F(RunProbe, LabelledCountingLoop) {
    VarNode* i = local("i", I);
    VarNode* s = local("s", I);

    ProNode* twice = symbols.procedure("twice", mainNode);
    AlgorithmicPart twiceBody;
    OperatorExpression* doubled = keepOp(codegen::createMul(job, *val(s, "father->"), num(2)));
    codegen::createAlg(job, twiceBody, {element("T", nullptr, item({assign(at(s, "father->"), doubled)}, "return"))});
    CodeFragment head, twiceFrame;
    SectionFragment noParams, none;
    codegen::createProcHead(job, head, twice, "twice", &noParams, "");
    codegen::createFrameStruct(job, twiceFrame, twice, "twice", head.getTypeset(), head.getCode(), &none, &none, &twiceBody);
    SectionFragment procs;
    codegen::appendProc(job, procs, &head);
    codegen::createProcSection(job, procs, &twiceFrame);

    // i < 5 $C ~(s > 100), written without parentheses: ungrouped, C++ would read "!_s > 100".
    OperatorExpression* notLarge =
        keepOp(codegen::createLogicalNot(job, *keepOp(codegen::createGt(job, *val(s), num(100)))));
    OperatorExpression* below =
        keepOp(codegen::createAnd(job, *keepOp(codegen::createLt(job, *val(i), num(5))), notLarge));
    OperatorExpression* done = keepOp(codegen::createGe(job, *val(i), num(5)));
    Statement* big = keep(codegen::createGuardedAlternative(job, keepOp(codegen::createGt(job, *val(s), num(100))), print({num(-1)})));
    Statement* small = keep(codegen::createGuardedAlternative(
        job, keepOp(codegen::createLe(job, *val(s), num(100))),
        item({assign(at(s), keepOp(codegen::createAdd(job, *val(s), num(1))))}, "L9")));
    Statement* select = keep(codegen::createSelect(job, {big, small}));

    AlgorithmicPart part;
    codegen::createAlg(job, part, {
        element("L1", nullptr, item({assign(at(i), num(0)), assign(at(s), num(0))}, "L2")),
        element("L2", below, item({assign(at(i), keepOp(codegen::createAdd(job, *val(i), num(1)))),
                                   assign(at(s), keepOp(codegen::createAdd(job, *val(s), val(i))))},
                                  "L2")),
        element("L2", done, callAction(twice->getCppName() + "(&local);\n")),
        element("L3", nullptr, select),
        element("L4", nullptr, print({val(i), val(s)})),
    });
    EXPECT_EQ(run("counting_loop", part, procs), "5 21 \n");
}

// %stm: a loop over n = 3, 2, 1 whose case prints a word per n; a wait that
// counts k up to 4, one with a false guard, and an if on k.
TEST_F(RunProbe, StatementsWithCaseLoopAndWait) {
    VarNode* n = local("n", I);
    VarNode* k = local("k", I);
    Expression word;
    auto text = [&](const std::string& w) {
        codegen::createConstant(job, word, 2, "\"" + w + "\"");
        return keep(codegen::fromConstant(job, &word));
    };
    std::vector<std::unique_ptr<GotoCondition>> gotos;
    gotos.push_back(codegen::createGotoCondition(job, codegen::createEq(job, *val(n), num(3)), "A"));
    gotos.push_back(codegen::createGotoCondition(job, codegen::createEq(job, *val(n), num(2)), "B"));
    CaseCondition* cc = keep(codegen::createCaseCondition(job, std::move(gotos), "D"));
    Statement* choice =
        keep(codegen::createStat(job, "C", cc,
                                 {atomic("A", print({text("three")})), atomic("B", print({text("two")})),
                                  atomic("D", print({text("other")}))}));
    OperatorExpression* decremented = keepOp(codegen::createSub(job, *val(n), num(1)));
    Statement* loop = keep(codegen::createLoopStat(job, "LP", keepOp(codegen::createGt(job, *val(n), num(0))),
                                                   {choice, atomic("DEC", item({assign(at(n), decremented)}, ""))}));

    Statement* wait =
        keep(codegen::createWaitStat(job, "W", {assign(at(k), keepOp(codegen::createAdd(job, *val(k), num(1))))},
                                     keepOp(codegen::createGe(job, *val(k), num(4)))));
    Statement* skipped = keep(codegen::createWaitStat(job, "W2", {assign(at(k), num(100))}, nullptr,
                                                      keepOp(codegen::createGt(job, *val(k), num(100)))));
    Statement* check = keep(codegen::createIfStat(job, "I", keepOp(codegen::createEq(job, *val(k), num(4))),
                                                  print({text("yes")}), print({text("no")})));
    Statement* sequence = keep(codegen::createSeqStat(job, {atomic("P", print({val(k)})), check}));

    AlgorithmicPart part;
    codegen::createStm(job, part, {atomic("S1", item({assign(at(n), num(3)), assign(at(k), num(0))}, "")), loop, wait, skipped,
                    sequence});
    EXPECT_EQ(run("case_loop_wait", part, SectionFragment()), "three \ntwo \nother \n4 \nyes \n");
}

// One action swaps x and y and the arrays a and b, another a sequence of
// equations swaps them back only partly: every equation sees the old values.
TEST_F(RunProbe, EquationsSwapValuesAndArrays) {
    Type* row = job.types().makeArray(I, 3);
    VarNode* x = local("x", I);
    VarNode* y = local("y", I);
    VarNode* a = local("a", row);
    VarNode* b = local("b", row);
    auto element = [&](VarNode* v, int index) { return keep(codegen::createIndex(job, *at(v), num(index))); };
    auto elementValue = [&](VarNode* v, int index) { return keep(codegen::fromVariable(job, element(v, index))); };

    std::vector<AssignmentEquation*> init = {assign(at(x), num(1)), assign(at(y), num(2))};
    for (int j = 0; j < 3; ++j) {
        init.push_back(assign(element(a, j), num(j + 1)));
        init.push_back(assign(element(b, j), num(j + 4)));
    }
    Statement* swap = item({assign(at(x), val(y)), assign(at(y), val(x)), assign(at(a), val(b)),
                            assign(at(b), val(a))},
                           "");
    AssignmentEquation* sequence =
        keep(codegen::createSeqEquation(job, {assign(at(x), val(y)), assign(at(y), num(7))}));
    AlgorithmicPart part;
    codegen::createStm(job, part, {
        atomic("S0", item(init, "")),
        atomic("S1", swap),
        atomic("S2", print({val(x), val(y), elementValue(a, 0), elementValue(a, 2), elementValue(b, 0),
                            elementValue(b, 2)})),
        atomic("S3", item({sequence}, "")),
        atomic("S4", print({val(x), val(y)})),
    });
    EXPECT_EQ(run("swap", part, SectionFragment()), "2 1 4 6 1 3 \n1 7 \n");
}

}  // namespace
