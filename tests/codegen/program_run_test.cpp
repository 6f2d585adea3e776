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
    T* keep(T* p) {
        pool.emplace_back(p);
        return p;
    }
    VarNode* local(const std::string& name, Type* t, int kind = DEF_LOCAL) {
        auto v = new VarNode(job, name, kind, 1, 1, mainNode);
        v->setType(t);
        codegen::setVariableAccess(*v->getExpression(), "");
        CodeFragment item;
        codegen::createVarDecl(job, item, name, t);
        locals.createLocSection(&item);
        return v;
    }
    Expression* at(VarNode* v) { return v->getExpression(); }
    OperatorExpression* val(VarNode* v) { return keep(codegen::fromVariable(job, at(v))); }
    OperatorExpression* num(int n) {
        Expression c;
        Constant::newConstant(job, &c, 0, std::to_string(n));
        return keep(codegen::fromConstant(job, &c));
    }
    OperatorExpression* str(const std::string& text) {
        Expression c;
        Constant::newConstant(job, &c, 2, "\"" + text + "\"");
        return keep(codegen::fromConstant(job, &c));
    }
    // A call as a statement.
    std::string act(const ProcCall& call) {
        Statement s;
        s.createCallAction(&call);
        return s.getCode() + "\n";
    }

    // A process with the given formals and C++ body, added to the process part.
    ProNode* process(const std::string& name, const std::vector<std::pair<std::string, std::pair<int, Type*>>>& formals,
                     const std::string& body) {
        ProNode* p = symbols.process(name);
        for (const auto& f : formals)
            symbols.param(p, f.first, f.second.first, f.second.second);
        SectionFragment params = paramSection(job, p);
        CodeFragment* head = keep(new CodeFragment());
        codegen::createProsHead(*head, p, name, &params, "");
        std::string headTypeset = head->getTypeset(), headCode = head->getCode();
        codegen::createProsBody(job, *head, p, "");
        Filled<> b(Texts{"", body, "", ""});
        SectionFragment none;
        CodeFragment* frame = keep(new CodeFragment());
        codegen::createFrameDecl(job, *frame, p, name, headTypeset, headCode, &none, &none, &b);
        pros.appendPros(head);
        pros.createProsSection(frame);
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
        codegen::setVariableAccess(got, "");
        OperatorExpression* item = t.keep(codegen::fromVariable(job, &got));
        ProcCall writeln;
        writeln.createWriteln({item});
        t.process("consumer",
                  {{"i", {DEF_INPUT_CHANNEL, job.types().makeChannel(I, true)}}, {"n", {DEF_VALUE_PARAM, I}},
                   {"sum", {DEF_REF_PARAM, I}}},
                  "for (int k = 0; k < _n; ++k)\n{\nint _got;\n" + CodeNames::channelRecv(t.job, "_i", "_got") + ";\n" +
                      t.act(writeln) + "_sum += _got;\n}\n");

        VarNode* k1 = t.local("k1", job.types().nmType(), DEF_CONTROL);
        VarNode* k2 = t.local("k2", job.types().nmType(), DEF_CONTROL);
        VarNode* total = t.local("total", I);
        auto parallel = [&] {
            ProcessStart* p = ProcCall::createProsStart(job, 
                k1, {ProcCall::createInParam(t.num(5), "n"), ProcCall::createChanOutParam("c", k2, "o")}, 0);
            ProcessStart* c = ProcCall::createProsStart(job, 
                k2, {ProcCall::createIoParam(t.at(total), "sum"), ProcCall::createChanInParam("c", k1, "i"),
                     ProcCall::createInParam(t.num(5), "n")},
                0);
            Statement s;
            s.createParallel(t.job, {p, c});
            for (ProcessStart* start : {p, c}) {
                for (ActualParam* a : start->getActuals())
                    delete a;
                delete start;
            }
            return s.getCode();
        };
        ProcCall show;
        show.createWriteln({t.val(total)});
        std::string body = CodeNames::assignment("k1", "producer") + ";\n" + CodeNames::assignment("k2", "consumer") +
                           ";\n_total = 0;\n" + parallel() + t.act(show) + parallel() + t.act(show);
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
    auto call = [&](const std::function<void(ProcCall&)>& emit) {
        ProcCall p;
        emit(p);
        body += act(p);
    };
    call([&](ProcCall& p) { p.createFopen(f, str("data.txt")); });
    call([&](ProcCall& p) { p.createFwriteln(f, {num(42), str(" apples")}); });
    call([&](ProcCall& p) { p.createFwrite(f, {str("xy")}); });
    call([&](ProcCall& p) { p.createFclose(f); });
    call([&](ProcCall& p) { p.createFopen(f, str("data.txt")); });
    call([&](ProcCall& p) { p.createFread(f, {at(n), at(s)}); });
    call([&](ProcCall& p) { p.createGetc(f, at(c)); });   // the line end, not skipped
    call([&](ProcCall& p) { p.createWriteln({keep(codegen::createEq(job, *val(c), str("\\n")))}); });
    call([&](ProcCall& p) { p.createGetc(f, at(c)); });   // x
    call([&](ProcCall& p) { p.createUnGetc(f, at(c)); });
    // Getc used as a value: the character is read before c is written.
    ProcCall getc;
    getc.createGetc(f, at(c));
    call([&](ProcCall& p) { p.createWriteln({keep(codegen::createCall(job, *at(c), &getc))}); });   // x again
    call([&](ProcCall& p) { p.createGetc(f, at(c)); });   // y
    call([&](ProcCall& p) { p.createGetc(f, at(c)); });   // end of file: c keeps y
    call([&](ProcCall& p) { p.createFeof(f, at(e)); });
    call([&](ProcCall& p) { p.createStrlen(at(len), val(s)); });
    call([&](ProcCall& p) { p.createWriteln({val(n), val(s), val(c), val(e), val(len)}); });
    call([&](ProcCall& p) { p.createItoc(num(65), at(c)); });
    call([&](ProcCall& p) { p.createWriteln({keep(codegen::createAdd(job, *val(c), val(n)))}); });
    call([&](ProcCall& p) { p.createFclose(f); });
    // The console: Getchar reads the blank too, UnGetChar puts the character back for Read.
    call([&](ProcCall& p) { p.createGetchar(at(c)); });
    call([&](ProcCall& p) { p.createGetchar(at(c)); });
    call([&](ProcCall& p) { p.createUnGetChar(at(c)); });
    call([&](ProcCall& p) { p.createRead({at(s)}); });
    call([&](ProcCall& p) { p.createWriteln({val(s)}); });
    EXPECT_EQ(run("file_built_ins", body, nullptr, " hi there"), "1\nx\n42applesy16\nA42\nhi\n");
    EXPECT_TRUE(job.records().empty());
}

// A type R that names itself (a list of records), an array type, a package
// class with a variable, an agent whose process runs through its class, and
// equality of records and arrays; an array passed to a process is its own copy.
TEST_F(ProgramRun, RecordsArraysAndAPackage) {
    auto rNode = new TypeNode(job, "R", DEF_TYPE, 1, 1, symbols.root());
    rNode->markReferenced();
    Type* r = makeRecordOf(job, {{"next", job.types().makePointer(rNode->getType())}, {"v", I}});
    CodeFragment rDecl;
    codegen::createTypeDecl(job, rDecl, "R", r, rNode);
    types.createTypeSection(job, &rDecl);
    auto aNode = new TypeNode(job, "A", DEF_TYPE, 1, 1, symbols.root());
    CodeFragment aDecl;
    codegen::createTypeDecl(job, aDecl, "A", job.types().makeArray(I, 3), aNode);
    types.createTypeSection(job, &aDecl);
    Type* R = rNode->getType();
    Type* A = aNode->getType();

    // %Pack K: count : Integer, with itself named as a father (never a base).
    auto k = new PackNode("K", DEF_PACKAGE, 1, 1, symbols.root());
    DerivationFragment fathers;
    fathers.createDerivation("K", k);
    SectionFragment members, kProcs;
    CodeFragment count;
    codegen::createVarDecl(job, count, "count", I);
    members.createLocSection(&count);
    CodeFragment kClass;
    codegen::createPackClass(kClass, "K", &fathers, &members, &kProcs);
    packs.createPackSection(&kClass);

    // %Agt G: its process tick(n) writes n * 2 through the agent's class.
    auto g = new PackNode("G", DEF_AGENT, 1, 1, symbols.root());
    ProNode* tick = symbols.process("tick", g);
    symbols.param(tick, "n", DEF_VALUE_PARAM, I);
    SectionFragment tickParams = paramSection(job, tick), none;
    CodeFragment tickHead, tickFrame;
    codegen::createProsHead(tickHead, tick, "tick", &tickParams, tick->getPackName());
    std::string headTypeset = tickHead.getTypeset(), headCode = tickHead.getCode();
    codegen::createProsBody(job, tickHead, tick, tick->getPackName());
    Filled<> tickBody(Texts{"", "std::cout << _n * 2 << std::endl;\n", "", ""});
    codegen::createFrameDecl(job, tickFrame, tick, "tick", headTypeset, headCode, &none, &none, &tickBody);
    DerivationFragment gFathers;
    gFathers.createDerivation("K", k);
    CodeFragment gClass;
    codegen::createAgentClass(gClass, "G", &gFathers, &members, &none, &tickHead, &tickFrame);
    SectionFragment agents;
    agents.createAgtSection(&gClass);

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
    ProcCall w1;
    w1.createWriteln({keep(codegen::createEq(job, *val(first), val(second))),
                      keep(codegen::createEq(job, *val(x), val(y))), keep(codegen::createNe(job, *val(x), val(y)))});
    body += act(w1) + "_second = _first;\n";
    ProcCall w2;
    w2.createWriteln(
        {keep(codegen::createEq(job, *val(first), val(second))), num(0),
         keep(codegen::createEq(job, *val(u1), val(u2)))});
    body += act(w2) + "std::cout << pack._count << std::endl;\n" + CodeNames::assignment("ctl", "sum") + ";\n";
    ProcessStart* start = ProcCall::createProsStart(job, ctl, {ProcCall::createInParam(val(x), "a")}, 0);
    Statement par;
    par.createParallel(job, {start});
    for (ActualParam* a : start->getActuals())
        delete a;
    delete start;
    body += par.getCode();
    VarNode* agentControl = local("agent", job.types().nmType(), DEF_CONTROL);
    body += CodeNames::assignment("agent", "tick") + ";\n";
    ProcessStart* tickStart = ProcCall::createProsStart(job, agentControl, {ProcCall::createInParam(num(21), "n")}, 0);
    Statement tickPar;
    tickPar.createParallel(job, {tickStart});
    for (ActualParam* a : tickStart->getActuals())
        delete a;
    delete tickStart;
    body += tickPar.getCode();
    EXPECT_EQ(run("records_arrays_package", body, &agents), "010\n101\n4\n6\n42\n");
    EXPECT_EQ(kClass.getPrototypes().find("public _class_K"), std::string::npos);
}

}  // namespace
