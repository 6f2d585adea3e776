// Conditional elements, statements, action records, select statements and
// algorithmic parts, checked with marker texts.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

// An action record or statement with marker texts tag+"0" .. tag+"2" and a label.
struct Marked : Statement {
    Marked(const std::string& tag, const std::string& labelText) {
        typeset = tag + "0";
        code = tag + "1";
        innerTypes = tag + "2";
        label = labelText;
    }
};

// A condition: typeset tag, C++ "c_"+tag.
Filled<> condition(const std::string& tag) {
    return Filled<>(Texts{tag, "c_" + tag, "", ""});
}

void expectThrow(const std::function<void()>& emit, const std::string& details) {
    try {
        emit();
        ADD_FAILURE() << "no throw";
    } catch (const QUVRunTimeException& e) {
        EXPECT_EQ(e.getDetails(), details);
    }
}

class Statements : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    // These emitters check nothing: apart from their stops, they report nothing.
    void expectSilence() { EXPECT_TRUE(scope.driver.records().empty()); }
};

TEST_F(Statements, ConditionalElementsLeaveTheirBraceOpen) {
    Marked a("A", "F");
    Filled<> g = condition("g");
    auto guarded = codegen::createCE(job, "L", &g, &a);
    EXPECT_EQ(textsOf(*guarded), (Texts{"L ^ g => $olb = A0", "if (c_g)\n{\nA1", "A2", ""}));
    EXPECT_EQ(guarded->getLabel(), "L");
    EXPECT_EQ(guarded->getForwardLabel(), "F");
    auto plain = codegen::createCE(job, "L", nullptr, &a);
    EXPECT_EQ(textsOf(*plain), (Texts{"L => $olb = A0", "\n{\nA1", "A2", ""}));

    auto atomic = codegen::createAtomicStat(job, "S", &a);
    EXPECT_EQ(textsOf(*atomic), (Texts{"LB = S => A0", "//_l_S :\nA1\n\n", "A2", ""}));
    EXPECT_EQ(atomic->getLabel(), "S");

    expectThrow([&] { codegen::createCE(job, "L", nullptr, nullptr); },
                "Null ActionPart Pointer in function ConditionalElement::createCE");
    expectThrow([&] { codegen::createAtomicStat(job, "L", nullptr); },
                "Null ActionPart Pointer in function ConditionalElement::createCE");
}

TEST_F(Statements, IfStatementForms) {
    Marked t("T", "next"), e("E", "next");
    Filled<> c = condition("c");
    struct Case {
        const char* what;
        const CodeFragment* condition;
        const Statement* elseAction;
        Texts want;
    };
    const std::vector<Case> cases = {
        {"bare", nullptr, nullptr, {"LB = L => (T0)", "//_l_L :\nT1\n", "T2", ""}},
        {"guarded", &c, nullptr, {"LB = L ^ c => (T0)", "//_l_L :\nif (c_c)\n{\nT1\n}\n\n", "T2", ""}},
        {"with else", &c, &e,
         {"LB = L ^ c => (T0 | E0)", "//_l_L :\nif (c_c)\n{\nT1\n}\n\nelse\n{\nE1\n}\n\n\n", "T2E2", ""}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto s = codegen::createIfStat(job, "L", k.condition, &t, k.elseAction);
        EXPECT_EQ(textsOf(*s), k.want);
        EXPECT_EQ(s->getLabel(), "L");
    }
    expectThrow([&] { codegen::createIfStat(job, "L", nullptr, nullptr, nullptr); },
                "Null If ActionPart Pointer in function Statement::createIfStat");
}

TEST_F(Statements, CaseStatementGroupsStatementsByTheirAlternative) {
    std::vector<std::unique_ptr<GotoCondition>> gotos;
    const std::vector<std::pair<std::string, std::string>> alternatives = {{"x", "A"}, {"y", "B"}, {"z", "C"}};
    for (const auto& [name, target] : alternatives)
        gotos.push_back(
            codegen::createGotoCondition(job, std::make_unique<Filled<>>(Texts{name, "c_" + name, "", ""}), target));
    std::unique_ptr<CaseCondition> cc = codegen::createCaseCondition(job, std::move(gotos), "D");
    EXPECT_EQ(cc->getTypeset(), "| x => $olb = A  y => $olb = B  z => $olb = C |~ => D");
    EXPECT_EQ(cc->getForwardLabel(), "D");
    EXPECT_EQ(cc->getAlternativeLabel(1), "B");

    // An unlabelled statement joins the alternative before it; C has none, D the default.
    Marked a("a", "A"), more("m", ""), b("b", "B"), d("d", "D");
    auto s = codegen::createStat(job, "K", cc.get(), {&a, &more, &b, &d});
    EXPECT_EQ(s->getCode(), "//_l_K :\nif (c_x)\n{\na1m1\n}\nelse if(c_y)\n{\nb1\n}\nelse if(c_z)\n{\n\n}\n"
                           "else\n{\nd1\n}\n");
    EXPECT_EQ(s->getTypeset(), "LB = K => " + cc->getTypeset() +
                                  "\n[\na0 ^ $OLB=NEXT;\nm0 ^ $OLB=EXIT;\nb0 ^ $OLB=EXIT;\nd0 ^ $OLB=EXIT\n]\n");
    EXPECT_EQ(s->getInnerTypes(), "a2m2b2d2");
    EXPECT_EQ(s->getLabel(), "K");

    // Without a statement of the default label, the default block is empty.
    auto onlyA = codegen::createStat(job, "K", cc.get(), {&a});
    EXPECT_EQ(onlyA->getCode(), "//_l_K :\nif (c_x)\n{\na1\n}\nelse if(c_y)\n{\n\n}\nelse if(c_z)\n{\n\n}\n"
                               "else\n{\n\n}\n");

    expectThrow([&] { codegen::createStat(job, "K", cc.get(), {&more, &a}); },
                "can't find in the case condition with ref label = in function Statement::createStat");
    // A label that is no target, after a matched statement, stays in that statement's alternative.
    Marked stray("q", "Q");
    auto withStray = codegen::createStat(job, "K", cc.get(), {&d, &stray});
    EXPECT_EQ(withStray->getCode(), "//_l_K :\nif (c_x)\n{\n\n}\nelse if(c_y)\n{\n\n}\nelse if(c_z)\n{\n\n}\n"
                                   "else\n{\nd1q1\n}\n");
}

TEST_F(Statements, LoopWaitAndSequenceStatements) {
    Marked s1("s", "S"), s2("t", "T");
    Filled<> c = condition("c"), g = condition("g");
    Expression x("x", job.types().integerType(), DEF_LOCAL);
    OperatorExpression one("1", "1", job.types().integerType());
    std::unique_ptr<AssignmentEquation> q = codegen::createAssignEquation(job, &x, &one);
    struct Case {
        const char* what;
        std::function<std::unique_ptr<Statement>()> emit;
        Texts want;
    };
    const std::vector<Case> cases = {
        {"loop", [&] { return codegen::createLoopStat(job, "L", nullptr, {&s1, &s2}); },
         {"*[ LB = Ls0;\nt0\n]\n", "//_l_L :\nwhile (true)\n{\ns1t1continue;\n}\n", "s2t2", ""}},
        {"guarded loop", [&] { return codegen::createLoopStat(job, "L", &c, {&s1}); },
         {"*[ LB = L ^ cs0\n]\n", "//_l_L :\nwhile (c_c)\n{\ns1continue;\n}\n", "s2", ""}},
        // The equations repeat until the exit condition holds.
        {"wait", [&] { return codegen::createWaitStat(job, "W", {q.get()}, &c); },
         {"LB = W => $O($Ox = 1) $U (c ^ $OLB = EXIT\n]\n",
          "//_l_W :\ndo\n{\nint _next_temp_1;\n_next_temp_1 = 1;\n_x = _next_temp_1;\n\n}\nwhile (!(c_c));\n", "",
          ""}},
        {"wait without exit condition", [&] { return codegen::createWaitStat(job, "W", {}, nullptr); },
         {"LB = W => $O() $U (true ^ $OLB = EXIT\n]\n", "//_l_W :\ndo\n{\n\n}\nwhile (!(true));\n", "", ""}},
        {"guarded wait", [&] { return codegen::createWaitStat(job, "W", {}, &c, &g); },
         {"LB = W ^ g => $O() $U (c ^ $OLB = EXIT\n]\n",
          "//_l_W :\nif (c_g)\n{\ndo\n{\n\n}\nwhile (!(c_c));\n\n}\n", "", ""}},
        {"sequence", [&] { return codegen::createSeqStat(job, {&s1, &s2}); }, {" >> \n[\ns0t0\n]\n", "s1t1", "s2t2", ""}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        job.numbering = GeneratorNumbering();
        EXPECT_EQ(textsOf(*k.emit()), k.want);
    }
    expectSilence();
}

TEST_F(Statements, ActionRecordsAndSelect) {
    Expression x("x", job.types().integerType(), DEF_LOCAL), y("y", job.types().integerType(), DEF_LOCAL);
    OperatorExpression xPlus("x + 1", "(_x + 1)", job.types().integerType()), xValue("x", "_x", job.types().integerType());
    std::unique_ptr<AssignmentEquation> first = codegen::createAssignEquation(job, &x, &xPlus);
    std::unique_ptr<AssignmentEquation> second = codegen::createAssignEquation(job, &y, &xValue);

    // Every commit follows every evaluation: y takes the old x.
    auto item = codegen::createActionItem(job, {first.get(), second.get()}, "L2");
    EXPECT_EQ(textsOf(*item), (Texts{" ^ $Ox = x + 1 ^ $Oy = x$OLB =L2",
                                    "int _next_temp_1;\n_next_temp_1 = (_x + 1);\nint _next_temp_2;\n"
                                    "_next_temp_2 = _x;\n_x = _next_temp_1;\n_y = _next_temp_2;\n",
                                    "", ""}));
    EXPECT_EQ(item->getLabel(), "L2");
    auto empty = codegen::createActionItem(job, {}, "");
    EXPECT_EQ(textsOf(*empty), (Texts{"$OLB =", "", "", ""}));

    Filled<> call("P");
    auto callAction = codegen::createCallAction(job, &call);
    EXPECT_EQ(textsOf(*callAction), (Texts{"P0", "P1;", "", ""}));
    EXPECT_EQ(callAction->getLabel(), "next");

    Marked a1("A", "L9"), a2("B", "stop");
    Filled<> c1 = condition("c1"), c2 = condition("c2");
    auto alt1 = codegen::createGuardedAlternative(job, &c1, &a1);
    auto alt2 = codegen::createGuardedAlternative(job, &c2, &a2);
    EXPECT_EQ(textsOf(*alt1), (Texts{"c1 |> A0", "if (c_c1)\n{\nA1break;\n}\n", "A2", ""}));

    auto one = codegen::createSelect(job, {alt1.get()});
    EXPECT_EQ(textsOf(*one), (Texts{"!!\n[\nc1 |> A0\n]\n",
                                   "while (true) \n{\nif (c_c1)\n{\nA1break;\n}\ncontinue;\n}\n", "A2", ""}));
    auto two = codegen::createSelect(job, {alt1.get(), alt2.get()});
    EXPECT_EQ(two->getTypeset(), "!!\n[\nc1 |> A0,c2 |> B0\n]\n");
    EXPECT_EQ(two->getCode(), "while (true) \n{\nif (c_c1)\n{\nA1break;\n}\nelse if (c_c2)\n{\nB1break;\n}\n"
                             "continue;\n}\n");
    EXPECT_EQ(two->getInnerTypes(), "A2B2");
    // A select goes on with the next label, whatever its alternatives' actions say.
    EXPECT_EQ(two->getLabel(), "next");
    expectSilence();
}

// Elements made from marker actions: label, guard (empty for none), forward label.
struct ElementSpec {
    std::string label, guard, forward;
};

TEST_F(Statements, AlgorithmicPartsJumpByForwardLabels) {
    struct Case {
        const char* what;
        std::vector<ElementSpec> elements;
        const char* code;
    };
    const std::vector<Case> cases = {
        {"one element", {{"L1", "g", "next"}}, "goto _l_L1;\n_l_L1 :\nif (c_g)\n{\nA0\nreturn ;\n}\n"},
        {"next label", {{"L1", "", ""}, {"L2", "", "stop"}},
         "goto _l_L1;\n_l_L1 :\n\n{\nA0\ngoto _l_L2;\n\n}\n_l_L2 :\n\n{\nA1\nreturn ;\n\n}\n"},
        {"ordinary label and return", {{"L1", "g", "L1"}, {"L2", "", "return"}},
         "goto _l_L1;\n_l_L1 :\nif (c_g)\n{\nA0\ngoto _l_L1;\n\n}\n_l_L2 :\n\n{\nA1\nreturn ;\n\n}\n"},
        // Elements of one label gather under it, in source order, before the next label.
        {"shared label", {{"L1", "g", "L2"}, {"L2", "", "stop"}, {"L1", "h", "next"}},
         "goto _l_L1;\n_l_L1 :\nif (c_g)\n{\nA0\ngoto _l_L2;\n\n}\nif (c_h)\n{\nA2\ngoto _l_L2;\n\n}\n"
         "_l_L2 :\n\n{\nA1\nreturn ;\n\n}\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        std::vector<std::unique_ptr<ConditionalElement>> owned;
        std::vector<ConditionalElement*> elements;
        for (size_t i = 0; i < k.elements.size(); ++i) {
            const ElementSpec& e = k.elements[i];
            Marked action("A" + std::to_string(i), e.forward);
            Filled<> g(Texts{e.guard, "c_" + e.guard, "", ""});
            owned.push_back(codegen::createCE(job, e.label, e.guard.empty() ? nullptr : &g, &action));
            elements.push_back(owned.back().get());
        }
        // The action texts are "A<i>1": drop the trailing 1 the markers add.
        AlgorithmicPart part;
        codegen::createAlg(job, part, elements);
        std::string code = part.getCode();
        for (size_t i = 0; i < k.elements.size(); ++i) {
            std::string marker = "A" + std::to_string(i) + "1";
            code.replace(code.find(marker), marker.size(), "A" + std::to_string(i));
        }
        EXPECT_EQ(code, k.code);
    }
    expectSilence();

    Marked out("A", "exit");
    auto e = codegen::createCE(job, "L1", nullptr, &out);
    expectThrow([&] {
        AlgorithmicPart part;
        codegen::createAlg(job, part, {e.get()});
    },
                "exit forward label emerged in conditional element in function AlgorithmicPart::createAlg");
}

TEST_F(Statements, StatementPartEndsWithReturn) {
    Marked s1("s", "S"), s2("t", "T");
    AlgorithmicPart part;
    codegen::createStm(job, part, {&s1, &s2});
    EXPECT_EQ(textsOf(part), (Texts{"%stm\n[\ns0;\nt0\n]\n", "s1t1return ;", "s2t2", ""}));
    expectSilence();
}

}  // namespace
