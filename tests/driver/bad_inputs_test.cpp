// quvc and quvdump over inputs no one writes by hand: each ends with one
// answer (a diagnostic, a line that says why) and an exit status, never with
// a signal; and what is long but not nested is compiled.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct Ran {
    std::string out;
    std::string err;
    int status;  // -1: ended by a signal
};

// Runs a tool in the folder.
Ran runIn(const TempFolder& dir, const std::string& command) {
    const RunResult r =
        runCommand("cd '" + dir.path + "' && LC_ALL=C.UTF-8 " + command + " 2>'" + dir / "stderr.txt" + "'");
    return {r.out, readBytes(dir / "stderr.txt"), r.status};
}

// The same for a tool whose output holds a text of many megabytes (what a
// refused typesetting wrote before it stopped): only its diagnostics are
// kept, with their details; a signal gives a status above 128.
Ran diagnosticsOf(const TempFolder& dir, const std::string& command) {
    const RunResult r = runCommand("cd '" + dir.path + "' && { LC_ALL=C.UTF-8 " + command +
                                   " 2>/dev/null; echo \"exit $?\"; } | grep -a -e '^diag ' -e '^  ' -e '^exit '");
    const size_t exit = r.out.rfind("exit ");
    if (exit == std::string::npos)
        return {r.out, "", -1};
    return {r.out.substr(0, exit), "", std::stoi(r.out.substr(exit + 5))};
}

std::string repeated(const std::string& text, int count) {
    std::string out;
    out.reserve(text.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

// A program whose main body gives x the value of `expression`.
std::string programAround(const std::string& expression) {
    return "%Prog p == [ ]\n[\n\t%Var [ x : Int ]\n\t[\n\t\t%Stm [\n\t\t\tLB = s => $O x = " + expression +
           " ^ $OLB = RETURN\n\t\t]\n\t]\n].\n";
}

// A folder cannot be opened; a source without an end is read no further
// than quvc reads one, in every verb.
TEST(BadInputs, QuvdumpRefusesAFolderAndAnEndlessSourceInAnyVerb) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "folder.e");
    const struct {
        const char* source;
        int status;
        const char* err;
    } inputs[] = {
        {"folder.e", 2, "quvdump: cannot open folder.e: Is a directory\n"},
        {"/dev/zero", 1, "quvdump: cannot read /dev/zero: File too large (more than 64 MiB)\n"},
    };
    for (const auto& input : inputs) {
        for (const char* verb : {"tokens", "tree", "parse", "expr", "typeset", "translate"}) {
            SCOPED_TRACE(std::string(verb) + " " + input.source);
            const Ran r = runIn(dir, std::string(QUVDUMP_PATH) + " " + verb + " " + input.source);
            EXPECT_EQ(r.status, input.status);
            EXPECT_EQ(r.err, input.err);
            EXPECT_EQ(r.out, "");
        }
    }
}

// The parse of brackets nested past the stack's budget, and the typesetting
// of so many that their indentation alone would fill memory, end in the one
// diagnostic that says so, from either tool.
TEST(BadInputs, ASourceNestedTooDeeplyIsRefusedWithOneDiagnostic) {
    TempFolder dir;
    writeBytes(dir / "parens.e", programAround(repeated("(", 50000) + "1" + repeated(")", 50000)));
    writeBytes(dir / "brackets.e", repeated("[", 100000));
    const std::string parsed = "the source is nested too deeply to be parsed";
    const std::string typeset = "the source is nested too deeply to be typeset: its text would pass 128 MiB";
    const struct {
        std::string command, diag, details;
        int status;
    } cases[] = {
        {QUVC_PATH " check parens.e", "diag parens.e 6:", parsed, 1},
        {QUVC_PATH " compile parens.e", "diag parens.e 6:", parsed, 1},
        {QUVC_PATH " typeset brackets.e", "diag brackets.e 1:", typeset, 1},
        {QUVDUMP_PATH " typeset brackets.e", "diag 5 21 1:", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const Ran r = diagnosticsOf(dir, c.command);
        EXPECT_EQ(r.status, c.status);
        const std::string diags = diagLines(r.out);
        EXPECT_EQ(diags.rfind(c.diag, 0), 0u) << diags;
        EXPECT_EQ(diags.find('\n'), diags.size() - 1) << diags;
        if (!c.details.empty()) {
            EXPECT_NE(diags.find(" 5 21 "), std::string::npos) << diags;
            EXPECT_NE(r.out.find("\n  " + c.details + "\n"), std::string::npos) << r.out;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "parens.cpp"));
}

// A chain of operators is as long as the source makes it, with every
// operator's C++ grouped in its own parentheses, as in a short one.
TEST(BadInputs, LongChainsOfOperatorsCompile) {
    const struct {
        int terms;
        std::string op, cppOp;
    } cases[] = {{5000, "+", " + "}, {100000, "+", " + "}, {5000, "*", " * "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.terms) + " " + c.op);
        TempFolder dir;
        writeBytes(dir / "chain.e", programAround("1" + repeated(c.op + "1", c.terms - 1)));
        const Ran r = runIn(dir, QUVC_PATH " compile chain.e");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(diagLines(r.out), "");
        const std::string cpp = repeated("(", c.terms - 1) + "1" + repeated(c.cppOp + "1)", c.terms - 1);
        EXPECT_NE(readBytes(dir / "chain.cpp").find(" = " + cpp + ";"), std::string::npos);
        const std::string typeset = "1" + repeated(c.cppOp + "1", c.terms - 1);
        EXPECT_NE(readBytes(dir / "chainTypeSet.e").find(typeset), std::string::npos);
    }
}

std::string projectOf(const std::vector<std::string>& files) {
    std::string text = "[QuvBench]\nProject Name=p\nProject File Num=" + std::to_string(files.size()) + "\n";
    for (size_t i = 0; i < files.size(); ++i)
        text += "File " + std::to_string(i + 1) + "=" + files[i] + "\n";
    return text;
}

const char kSource[] = "%Prog p == [ ]\n[\n\t[\n\t\t%Stm [ LB = m => writeln(7); LB = e => $OLB = RETURN ]\n\t]\n].\n";

// An output that is a link to the job's own source or project file, or a
// source the project names (a typeset copy kept as a source), is never
// written: the input keeps its bytes, and one file diagnostic names both. An
// output linked elsewhere is written through its link.
TEST(BadInputs, AnOutputNeverReplacesAnInput) {
    const char* const outputs[] = {"p.cpp", "pProto.hpp", "pInner.hpp", "p.err", "pTypeSet.e", "p.mak"};
    struct Case {
        std::string name, output, input;
        bool symbolic;
    };
    std::vector<Case> cases;
    for (bool symbolic : {true, false})
        for (size_t i = 0; i < 6; ++i)
            cases.push_back({std::string(symbolic ? "symbolic " : "hard ") + outputs[i], outputs[i],
                             (i % 2 == 0) == symbolic ? "p.e" : "p.prj", symbolic});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        writeBytes(dir / "p.e", kSource);
        writeBytes(dir / "p.prj", projectOf({"p.e"}));
        const std::string before = readBytes(dir / c.input);
        ASSERT_EQ(c.symbolic ? symlink(c.input.c_str(), (dir / c.output).c_str())
                             : link((dir / c.input).c_str(), (dir / c.output).c_str()),
                  0);
        const Ran r = runIn(dir, QUVC_PATH " makefile p.prj");
        EXPECT_EQ(r.status, 1);
        const bool makefile = c.output == "p.mak";
        const std::string input = c.input == "p.e" ? "source file p.e: " : "project file p.prj: ";
        const std::string details = makefile ? "the makefile p.mak would replace the " + input + "it is not written"
                                             : "the output file " + c.output + " would replace the " + input +
                                                   "no output file of p.e is written";
        EXPECT_EQ(diagLines(r.out), "diag " + c.output + " 0:0 0 0 -\n") << r.out;
        EXPECT_NE(r.out.find("\n  " + details + "\n"), std::string::npos) << r.out;
        EXPECT_EQ(readBytes(dir / c.input), before);
        EXPECT_EQ(std::filesystem::exists(dir / "p.cpp"), makefile || c.output == "p.cpp");
    }

    // The typeset copy of a.e is a source of the project, made already or not.
    for (bool made : {true, false}) {
        SCOPED_TRACE(made ? "a typeset copy kept as a source" : "a source named like a typeset copy");
        TempFolder dir;
        writeBytes(dir / "a.e", kSource);
        if (made)
            writeBytes(dir / "aTypeSet.e", kSource);
        writeBytes(dir / "a.prj", projectOf({"a.e", "aTypeSet.e"}));
        const Ran r = runIn(dir, QUVC_PATH " makefile a.prj");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.out.find("diag aTypeSet.e 0:0 0 0 -\n  the output file aTypeSet.e would replace the source file "
                             "aTypeSet.e: no output file of a.e is written\n"),
                  std::string::npos)
            << r.out;
        EXPECT_EQ(readBytes(dir / "aTypeSet.e"), made ? kSource : "");
        EXPECT_FALSE(std::filesystem::exists(dir / "a.cpp"));
        EXPECT_FALSE(std::filesystem::exists(dir / "a.mak"));
    }

    TempFolder dir;
    writeBytes(dir / "p.e", kSource);
    writeBytes(dir / "kept.e", "");
    ASSERT_EQ(symlink("kept.e", (dir / "pTypeSet.e").c_str()), 0);
    const Ran r = runIn(dir, QUVC_PATH " compile p.e");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "pTypeSet.e"));
    EXPECT_EQ(readBytes(dir / "kept.e").rfind("%Prog p", 0), 0u);
}

}  // namespace
