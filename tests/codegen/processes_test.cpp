// Process starts and parallel statements.
#include <gtest/gtest.h>

#include <functional>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

class Processes : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment top;
    Program symbols{job};
    Type* I = job.types().integerType();

    VarNode* control(const std::string& name) {
        auto v = symbols.root()->add<VarNode>(job, name, DEF_CONTROL, 1, 1);
        v->setType(job.types().nmType());
        codegen::setVariableAccess(job, *v->getExpression(), "");
        return v;
    }
    ProcessStart* start(const std::string& name, std::vector<std::unique_ptr<ActualParam>> actuals,
                        int interval = 0, ProNode* process = nullptr) {
        starts.push_back(codegen::createProsStart(job, control(name), std::move(actuals), interval, process));
        return starts.back().get();
    }
    std::unique_ptr<ActualParam> out(const std::string& peer, const std::string& formal) {
        return codegen::createChanOutActual(job, "c", control(peer), formal);
    }
    std::unique_ptr<ActualParam> in(const std::string& peer, const std::string& formal) {
        return codegen::createChanInActual(job, "c", control(peer), formal);
    }
    std::vector<std::string> detailsSince(size_t from) {
        std::vector<std::string> d;
        for (size_t i = from; i < job.records().size(); ++i)
            d.push_back(job.records()[i].getDetails());
        return d;
    }
    std::vector<std::unique_ptr<ProcessStart>> starts;
};

// The block keeps the actuals by formal name: the thread takes them by name, so
// the written order and number of actuals never move what it reads.
TEST_F(Processes, AStartFillsItsBlockByFormalName) {
    OperatorExpression five("5", "5", I);
    Type* arr = job.types().makeArray(I, 2);
    Expression a("a", arr, DEF_LOCAL);
    codegen::setVariableAccess(job, a, "");
    ProcessStart* s = start("p",
                            actualList(codegen::createInActual(job, &five, "n"), out("q", "o"), in("q", "i"),
                                       codegen::createIoActual(job, &a, "r")),
                            100);
    EXPECT_EQ(s->getTypeset(), "p(%INP/ 5 | n;%CHN/ c (q,*) | o (nouse,*);%CHN/ c (*,q) | i (*, nouse);%IOP/ a | r)");
    EXPECT_EQ(s->getCode(),
              "\nquv_runtime::ProcessBlock p_ip;\n"
              "p_ip.put_value< int  >(\"n\",5);\n"
              "p_ip.put_channel(\"o\",&ch_p_q);\n"
              "p_ip.put_channel(\"i\",&ch_q_p);\n"
              "p_ip.put_ref< int ([2]) >(\"r\",_a);\n"
              "p_ip.timer_interval = 100;\np_ip.end = false;\n\n");
    EXPECT_EQ(s->getInnerTypes(), "");
    EXPECT_EQ(s->getThreadStart(), "if (_beginthread(_p,0,(void*)&p_ip) == (std::uintptr_t)-1) p_ip.finish();\n");
    EXPECT_EQ(s->getEndFlag(), "p_ip.end");
    EXPECT_EQ(s->getControlName(), "p");
    EXPECT_EQ(s->getActuals().size(), 4u);
}

TEST_F(Processes, ParallelStatementStartsAllAndWaitsForAll) {
    ProcessStart* p = start("p", actualList(out("q", "o")));
    ProcessStart* q = start("q", actualList(in("p", "i")), 100);
    size_t before = job.records().size();
    std::unique_ptr<Statement> par = codegen::createParallel(job, {p, q});
    EXPECT_TRUE(detailsSince(before).empty());
    EXPECT_EQ(par->getLabel(), "next");
    EXPECT_EQ(par->getTypeset(), " || \n[\n" + p->getTypeset() + ";\n" + q->getTypeset() + "\n]\n");
    EXPECT_EQ(par->getCode(), "{\nquv_runtime::ChannelLink ch_p_q;\n" + p->getCode() + q->getCode() +
                                 p->getThreadStart() + q->getThreadStart() + "p_ip.wait_end();\nq_ip.wait_end();\n}\n");
}

TEST_F(Processes, ParallelStatementChecksItsChannels) {
    ProNode* intSender = symbols.process("sendsInt");
    symbols.param(intSender, "o", DEF_OUTPUT_CHANNEL, job.types().makeChannel(I, false));
    ProNode* floatReceiver = symbols.process("takesFloat");
    symbols.param(floatReceiver, "i", DEF_INPUT_CHANNEL, job.types().makeChannel(job.types().floatType(), true));
    ProNode* intReceiver = symbols.process("takesInt");
    symbols.param(intReceiver, "i", DEF_INPUT_CHANNEL, job.types().makeChannel(I, true));
    const std::string same = "ProsCall exists two same pros controls, you should defined them with different controls!";
    const std::string notStarted = "In Parallel statement, controlName hasn't being used!";
    const std::string itself = "In Parallel statement, a process can't communicate with itself!";
    const std::string noRecv = "In Parallel statement, channel send values with no matched recv channel!";
    const std::string noSend = "In Parallel statement, channel recv values with no matched send channel!";
    const std::string differ = "In Parallel statement, channel send values and recv values with different type!";
    const std::string outTwice =
        "Pros have defined an output channel with the process declared before,  if the two channels communicate "
        "different values, \t\tyou should define a union type for the two processes to communicate!!";
    const struct {
        const char* what;
        std::function<std::vector<ProcessStart*>()> starts;
        std::vector<std::string> messages;
        std::vector<std::string> declared;  // channel links
    } cases[] = {
        {"one start, no channel", [&] { return std::vector<ProcessStart*>{start("p", {})}; }, {}, {}},
        {"two starts of one control", [&] { return std::vector<ProcessStart*>{start("p", {}), start("p", {})}; },
         {same}, {}},
        {"a peer that is not started", [&] { return std::vector<ProcessStart*>{start("p", actualList(out("z", "o")))}; },
         {notStarted}, {}},
        {"a process talking to itself", [&] { return std::vector<ProcessStart*>{start("p", actualList(out("p", "o")))}; },
         {itself, noRecv}, {"ch_p_p"}},
        // A control's own type tells nothing of its channels: without the processes, no type check.
        {"a sending end without a partner",
         [&] { return std::vector<ProcessStart*>{start("p", actualList(out("q", "o"))), start("q", {})}; }, {noRecv},
         {"ch_p_q"}},
        {"a receiving end without a partner",
         [&] { return std::vector<ProcessStart*>{start("p", {}), start("q", actualList(in("p", "i")))}; }, {noSend}, {}},
        {"two outputs to one peer",
         [&] {
             return std::vector<ProcessStart*>{start("p", actualList(out("q", "o"), out("q", "o2"))), start("q", actualList(in("p", "i")))};
         },
         {outTwice}, {"ch_p_q"}},
        {"known processes with different element types",
         [&] {
             return std::vector<ProcessStart*>{start("p", actualList(out("q", "o")), 0, intSender),
                                               start("q", actualList(in("p", "i")), 0, floatReceiver)};
         },
         {differ}, {"ch_p_q"}},
        {"known processes with one element type",
         [&] {
             return std::vector<ProcessStart*>{start("p", actualList(out("q", "o")), 0, intSender),
                                               start("q", actualList(in("p", "i")), 0, intReceiver)};
         },
         {}, {"ch_p_q"}},
        {"one process known", [&] {
             return std::vector<ProcessStart*>{start("p", actualList(out("q", "o")), 0, intSender), start("q", actualList(in("p", "i")))};
         },
         {}, {"ch_p_q"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ProcessStart*> s = c.starts();
        size_t before = job.records().size();
        std::unique_ptr<Statement> par = codegen::createParallel(job, s);
        EXPECT_EQ(detailsSince(before), c.messages);
        std::string links;
        for (const std::string& d : c.declared)
            links += "quv_runtime::ChannelLink " + d + ";\n";
        EXPECT_EQ(par->getCode().substr(0, 2 + links.size()), "{\n" + links);
        EXPECT_EQ(par->getCode().find("ChannelLink", 2 + links.size()), std::string::npos);
    }
}

}  // namespace
