// Whole programs built from the call, built-in, process-start, parallel,
// package and type emitters the way the walker drives them, compiled with g++
// at -O2 against the run-time header and run under a time limit (a hang fails):
// a producer and a consumer talking over a synchronous and an asynchronous
// channel, a program that writes and reads a file through the built-ins, and a
// program with records, arrays and a package.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

class ProgramRun : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment program;
    Program symbols{job};
    ProNode* mainNode = nullptr;
    SectionFragment types, locals, procs, pros, packs, empty;
    std::vector<std::unique_ptr<CodeFragment>> pool;
    Type* I = job.types().integerType();
    Type* S = job.types().stringType();

    void SetUp() override {
        mainNode = symbols.mainBody();
    }

    template <typename T>
    T* keep(std::unique_ptr<T> p) {
        T* kept = p.get();
        pool.push_back(std::move(p));
        return kept;
    }
    VarNode* local(const std::string& name, Type* t, int kind = DEF_LOCAL) {
        auto v = mainNode->add<VarNode>(job, name, kind, 1, 1);
        v->setType(t);
        codegen::setVariableAccess(job, *v->getExpression(), "");
        CodeFragment item;
        codegen::createVarDecl(job, item, name, t);
        codegen::createLocSection(job, locals, &item);
        return v;
    }
    Expression* at(VarNode* v) { return v->getExpression(); }
    OperatorExpression* val(VarNode* v) { return keep(codegen::fromVariable(job, at(v))); }
    OperatorExpression* num(int n) {
        Expression c;
        codegen::createConstant(job, c, 0, std::to_string(n));
        return keep(codegen::fromConstant(job, &c));
    }
    OperatorExpression* str(const std::string& text) {
        Expression c;
        codegen::createConstant(job, c, 2, "\"" + text + "\"");
        return keep(codegen::fromConstant(job, &c));
    }
    // A call as a statement.
    std::string act(const ProcCall& call) { return codegen::createCallAction(job, &call)->getCode() + "\n"; }

    // A process with the given formals and C++ body, added to the process part.
    ProNode* process(const std::string& name, const std::vector<std::pair<std::string, std::pair<int, Type*>>>& formals,
                     const std::string& body) {
        ProNode* p = symbols.process(name);
        for (const auto& f : formals)
            symbols.param(p, f.first, f.second.first, f.second.second);
        SectionFragment params = paramSection(job, p);
        CodeFragment* head = keep(std::make_unique<CodeFragment>());
        codegen::createProsHead(job, *head, p, name, &params, "");
        std::string headTypeset = head->getTypeset(), headCode = head->getCode();
        codegen::createProsBody(job, *head, p, "");
        Filled<> b(Texts{"", body, "", ""});
        SectionFragment none;
        CodeFragment* frame = keep(std::make_unique<CodeFragment>());
        codegen::createFrameDecl(job, *frame, p, name, headTypeset, headCode, &none, &none, &b);
        codegen::appendPros(job, pros, head);
        codegen::createProsSection(job, pros, frame);
        return p;
    }

    // Writes, compiles and runs the program with body as the main body; its standard output.
    // flags: further g++ options (a sanitizer).
    std::string run(const std::string& test, const std::string& body, const CodeFragment* agents = nullptr,
                    const std::string& input = "", const std::string& flags = "") {
        Filled<> part(Texts{"", body, "", ""});
        CodeFragment frame, unit;
        codegen::createFrameStruct(job, frame, mainNode, "$Main", "", "", &locals, &procs, &part);
        codegen::createMain(job, unit, &types, &empty, &empty, &empty, &pros, &packs, agents ? agents : &empty, &frame);
        std::string dir = scratchDir(test);
        std::string base = dir + "/prog";
        TopFragment top;
        top.setProgram("prog", 0, unit);
        top.writeFiles(job, OutputNames::ofBase(base));
        std::string messages;
        int status = runCompiler("-std=gnu++17 -O2 -pthread " + flags + " -o " + base + " -I " + runtimeDir() + " " + base + ".cpp " +
                                     runtimeLibrarySource(),
                                 messages);
        EXPECT_EQ(status, 0) << messages;
        if (status != 0)
            return std::string();
        std::ofstream(dir + "/prog.in") << input;
        int code = std::system(("cd '" + dir + "' && timeout 20 ./prog < prog.in > prog.out").c_str());
        EXPECT_EQ(code, 0) << "the program failed or hung";
        return readFile(base + ".out");
    }

    // producer(o: output channel, n) sends 1..n; consumer(i: input channel, n,
    // sum) receives n values, writes each and adds them to sum. The starts give
    // their actuals in another order than the formals, and the parallel
    // statement runs twice in one body.
    void producerConsumer(const std::string& test, bool synchronous, const std::string& expected,
                          const std::string& flags = "") {
        ProgramRun& t = *this;
        t.job.setSynchronous(synchronous);
        Type* I = job.types().integerType();
        t.process("producer", {{"o", {DEF_OUTPUT_CHANNEL, job.types().makeChannel(I, false)}}, {"n", {DEF_VALUE_PARAM, I}}},
                  "for (int k = 1; k <= _n; ++k)\n" + CodeNames::channelSend(t.job, "_o", "k") + ";\n");
        // The consumer's items are written through the Writeln built-in.
        Expression got("got", I, DEF_LOCAL);
        codegen::setVariableAccess(job, got, "");
        OperatorExpression* item = t.keep(codegen::fromVariable(job, &got));
        std::unique_ptr<ProcCall> writeln = codegen::createWriteln(t.job, {item});
        t.process("consumer",
                  {{"i", {DEF_INPUT_CHANNEL, job.types().makeChannel(I, true)}}, {"n", {DEF_VALUE_PARAM, I}},
                   {"sum", {DEF_REF_PARAM, I}}},
                  "for (int k = 0; k < _n; ++k)\n{\nint _got;\n" + CodeNames::channelRecv(t.job, "_i", "_got") + ";\n" +
                      t.act(*writeln) + "_sum += _got;\n}\n");

        VarNode* k1 = t.local("k1", job.types().nmType(), DEF_CONTROL);
        VarNode* k2 = t.local("k2", job.types().nmType(), DEF_CONTROL);
        VarNode* total = t.local("total", I);
        auto parallel = [&] {
            std::unique_ptr<ProcessStart> p = codegen::createProsStart(
                t.job, k1,
                actualList(codegen::createInActual(t.job, t.num(5), "n"),
                           codegen::createChanOutActual(t.job, "c", k2, "o")),
                0);
            std::unique_ptr<ProcessStart> c = codegen::createProsStart(
                t.job, k2,
                actualList(codegen::createIoActual(t.job, t.at(total), "sum"),
                           codegen::createChanInActual(t.job, "c", k1, "i"),
                           codegen::createInActual(t.job, t.num(5), "n")),
                0);
            return codegen::createParallel(t.job, {p.get(), c.get()})->getCode();
        };
        std::unique_ptr<ProcCall> show = codegen::createWriteln(t.job, {t.val(total)});
        std::string body = CodeNames::assignment("k1", "producer") + ";\n" + CodeNames::assignment("k2", "consumer") +
                           ";\n_total = 0;\n" + parallel() + t.act(*show) + parallel() + t.act(*show);
        EXPECT_EQ(t.run(test, body, nullptr, "", flags), expected);
        EXPECT_TRUE(job.records().empty());
    }
};

TEST_F(ProgramRun, ProducerAndConsumerOverASynchronousChannel) {
    producerConsumer("sync_channel", true, "1\n2\n3\n4\n5\n15\n1\n2\n3\n4\n5\n30\n");
}

// The flags, channel links and blocks the threads share are free of data
// races: ThreadSanitizer fails the run (exit status 66) on any it sees.
TEST_F(ProgramRun, ProducerAndConsumerRunCleanUnderThreadSanitizer) {
    producerConsumer("tsan_channel", true, "1\n2\n3\n4\n5\n15\n1\n2\n3\n4\n5\n30\n", "-fsanitize=thread -g");
}

TEST_F(ProgramRun, ProducerAndConsumerOverAnAsynchronousChannel) {
    producerConsumer("async_channel", false, "1\n2\n3\n4\n5\n15\n1\n2\n3\n4\n5\n30\n");
}

// Writes "42 apples", a line end and "xy" through Fopen, Fwriteln, Fwrite and
// Fclose, then reads it back with Fread, Getc, UnGetc and Feof, and writes what
// it read, Strlen, Itoc, a String plus an Integer and a call used as a value;
// then reads the console with Getchar, UnGetChar and Read.
TEST_F(ProgramRun, AFileIsWrittenAndReadThroughTheBuiltIns) {
    VarNode* f = local("f", job.types().streamType(), DEF_FILE);
    VarNode* n = local("n", I);
    VarNode* s = local("s", S);
    VarNode* c = local("c", S);
    VarNode* e = local("e", job.types().boolType());
    VarNode* len = local("len", I);
    std::string body;
    auto call = [&](const std::function<std::unique_ptr<ProcCall>()>& emit) { body += act(*emit()); };
    call([&] { return codegen::createFopen(job, f, str("data.txt")); });
    call([&] { return codegen::createFwriteln(job, f, {num(42), str(" apples")}); });
    call([&] { return codegen::createFwrite(job, f, {str("xy")}); });
    call([&] { return codegen::createFclose(job, f); });
    call([&] { return codegen::createFopen(job, f, str("data.txt")); });
    call([&] { return codegen::createFread(job, f, {at(n), at(s)}); });
    call([&] { return codegen::createGetc(job, f, at(c)); });   // the line end, not skipped
    call([&] { return codegen::createWriteln(job, {keep(codegen::createEq(job, *val(c), str("\\n")))}); });
    call([&] { return codegen::createGetc(job, f, at(c)); });   // x
    call([&] { return codegen::createUnGetc(job, f, at(c)); });
    // Getc used as a value: the character is read before c is written.
    std::unique_ptr<ProcCall> getc = codegen::createGetc(job, f, at(c));
    call([&] { return codegen::createWriteln(job, {keep(codegen::createCall(job, *at(c), getc.get()))}); });   // x again
    call([&] { return codegen::createGetc(job, f, at(c)); });   // y
    call([&] { return codegen::createGetc(job, f, at(c)); });   // end of file: c keeps y
    call([&] { return codegen::createFeof(job, f, at(e)); });
    call([&] { return codegen::createStrlen(job, at(len), val(s)); });
    call([&] { return codegen::createWriteln(job, {val(n), val(s), val(c), val(e), val(len)}); });
    call([&] { return codegen::createItoc(job, num(65), at(c)); });
    call([&] { return codegen::createWriteln(job, {keep(codegen::createAdd(job, *val(c), val(n)))}); });
    call([&] { return codegen::createFclose(job, f); });
    // The console: Getchar reads the blank too, UnGetChar puts the character back for Read.
    call([&] { return codegen::createGetchar(job, at(c)); });
    call([&] { return codegen::createGetchar(job, at(c)); });
    call([&] { return codegen::createUnGetChar(job, at(c)); });
    call([&] { return codegen::createRead(job, {at(s)}); });
    call([&] { return codegen::createWriteln(job, {val(s)}); });
    EXPECT_EQ(run("file_built_ins", body, nullptr, " hi there"), "1\nx\n42applesy16\nA42\nhi\n");
    EXPECT_TRUE(job.records().empty());
}

// A type R that names itself (a list of records), an array type, a package
// class with a variable, an agent whose process runs through its class, and
// equality of records and arrays; an array passed to a process is its own copy.
TEST_F(ProgramRun, RecordsArraysAndAPackage) {
    auto rNode = symbols.root()->add<TypeNode>(job, "R", DEF_TYPE, 1, 1);
    rNode->markReferenced();
    Type* r = makeRecordOf(job, {{"next", job.types().makePointer(rNode->getType())}, {"v", I}});
    CodeFragment rDecl;
    codegen::createTypeDecl(job, rDecl, "R", r, rNode);
    codegen::createTypeSection(job, types, &rDecl);
    auto aNode = symbols.root()->add<TypeNode>(job, "A", DEF_TYPE, 1, 1);
    CodeFragment aDecl;
    codegen::createTypeDecl(job, aDecl, "A", job.types().makeArray(I, 3), aNode);
    codegen::createTypeSection(job, types, &aDecl);
    Type* R = rNode->getType();
    Type* A = aNode->getType();

    // %Pack K: count : Integer, with itself named as a father (never a base).
    auto k = symbols.root()->add<PackNode>("K", DEF_PACKAGE, 1, 1);
    DerivationFragment fathers;
    codegen::createDerivation(job, fathers, "K", k);
    SectionFragment members, kProcs;
    CodeFragment count;
    codegen::createVarDecl(job, count, "count", I);
    codegen::createLocSection(job, members, &count);
    CodeFragment kClass;
    codegen::createPackClass(job, kClass, "K", &fathers, &members, &kProcs);
    codegen::createPackSection(job, packs, &kClass);

    // %Agt G: its process tick(n) writes n * 2 through the agent's class.
    auto g = symbols.root()->add<PackNode>("G", DEF_AGENT, 1, 1);
    ProNode* tick = symbols.process("tick", g);
    symbols.param(tick, "n", DEF_VALUE_PARAM, I);
    SectionFragment tickParams = paramSection(job, tick), none;
    CodeFragment tickHead, tickFrame;
    codegen::createProsHead(job, tickHead, tick, "tick", &tickParams, tick->getPackName());
    std::string headTypeset = tickHead.getTypeset(), headCode = tickHead.getCode();
    codegen::createProsBody(job, tickHead, tick, tick->getPackName());
    Filled<> tickBody(Texts{"", "std::cout << _n * 2 << std::endl;\n", "", ""});
    codegen::createFrameDecl(job, tickFrame, tick, "tick", headTypeset, headCode, &none, &none, &tickBody);
    DerivationFragment gFathers;
    codegen::createDerivation(job, gFathers, "K", k);
    CodeFragment gClass;
    codegen::createAgentClass(job, gClass, "G", &gFathers, &members, &none, &tickHead, &tickFrame);
    SectionFragment agents;
    codegen::createAgtSection(job, agents, &gClass);

    // sum(a) writes the sum of its array's elements.
    process("sum", {{"a", {DEF_VALUE_PARAM, A}}},
            "std::cout << _a[0] + _a[1] + _a[2] << std::endl;\n");

    VarNode* first = local("first", R);
    VarNode* second = local("second", R);
    VarNode* x = local("x", A);
    VarNode* y = local("y", A);
    VarNode* ctl = local("ctl", job.types().nmType(), DEF_CONTROL);
    Type* U = makeUnionOf(job, {{"i", I}, {"f", job.types().floatType()}});
    VarNode* u1 = local("u1", U);
    VarNode* u2 = local("u2", U);
    std::string body =
        "_first._f_v = 1;\n_first._f_next = &_second;\n_second._f_v = 2;\n_second._f_next = 0;\n"
        "_x[0] = 1;\n_x[1] = 2;\n_x[2] = 3;\nquv_assign(_y, _x);\n"
        "_class_K pack;\npack._count = _first._f_next->_f_v + _second._f_v;\n_u1._f_i = 5;\n_u2._f_i = 5;\n";
    std::unique_ptr<ProcCall> w1 = codegen::createWriteln(
        job, {keep(codegen::createEq(job, *val(first), val(second))),
        keep(codegen::createEq(job, *val(x), val(y))), keep(codegen::createNe(job, *val(x), val(y)))});
    body += act(*w1) + "_second = _first;\n";
    std::unique_ptr<ProcCall> w2 = codegen::createWriteln(
        job, {keep(codegen::createEq(job, *val(first), val(second))), num(0),
         keep(codegen::createEq(job, *val(u1), val(u2)))});
    body += act(*w2) + "std::cout << pack._count << std::endl;\n" + CodeNames::assignment("ctl", "sum") + ";\n";
    std::unique_ptr<ProcessStart> start =
        codegen::createProsStart(job, ctl, actualList(codegen::createInActual(job, val(x), "a")), 0);
    body += codegen::createParallel(job, {start.get()})->getCode();
    VarNode* agentControl = local("agent", job.types().nmType(), DEF_CONTROL);
    body += CodeNames::assignment("agent", "tick") + ";\n";
    std::unique_ptr<ProcessStart> tickStart =
        codegen::createProsStart(job, agentControl, actualList(codegen::createInActual(job, num(21), "n")), 0);
    body += codegen::createParallel(job, {tickStart.get()})->getCode();
    EXPECT_EQ(run("records_arrays_package", body, &agents), "010\n101\n4\n6\n42\n");
    EXPECT_EQ(kClass.getPrototypes().find("public _class_K"), std::string::npos);
}

}  // namespace
