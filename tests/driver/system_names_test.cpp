// No name of a user's meets a name the link of the program brings: every "_"
// and lower-case word that this machine's start files, system libraries,
// dynamic loader, linker script or our run-time library define, taken as the
// name of a shared variable (of the main program and of a %DProg), builds and
// runs as written, and the program defines none of them itself. A word the
// translation's table lacks is named in the failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

typedef std::vector<std::string> Names;

struct NamesCase {
    std::string what;
    Names prog;   // shared variables of the main program
    Names dprog;  // shared variables of a %DProg beside it
};

// "_" + word -> the file that defines it.
std::map<std::string, std::string> systemSymbols() {
    const RunResult listed = runCommand(QUV_SCRIPTS_DIR "/system-symbols '" QUV_GXX "' '" QUV_TOOLCHAIN_DIR
                                        "/quvfuncs.lib' 2>/dev/null");
    std::map<std::string, std::string> symbols;
    const std::regex word("_[a-z][A-Za-z0-9_]*");
    std::istringstream lines(listed.out);
    std::string file, symbol;
    while (lines >> file >> symbol)
        if (std::regex_match(symbol, word))
            symbols.emplace(symbol, file);
    return symbols;
}

// The words that are variable names of QUV/E (not keywords, not labels).
Names variableNames(const TempFolder& dir, const std::map<std::string, std::string>& symbols) {
    std::string text;
    for (const auto& entry : symbols)
        text += entry.first.substr(1) + "\n";
    writeBytes(dir / "words.e", text);
    std::istringstream tokens(runQuvdump("tokens '" + dir / "words.e" + "'").out);
    Names names;
    std::string place, number, type, token;
    while (tokens >> place >> number >> type && std::getline(tokens, token))
        if (type == "IDENT")
            names.push_back(token.substr(1));
    return names;
}

std::string declarations(const Names& names) {
    std::string items;
    for (const std::string& n : names)
        items += (items.empty() ? "" : "; ") + n + " : int";
    return items;
}

// The program of the report that once failed, over several names: each is
// set to 3 and written on a line of its own.
std::string mainProgram(const Names& names) {
    std::string sets, writes;
    for (size_t i = 0; i < names.size(); ++i) {
        sets += "$O " + names[i] + " = 3 ^ ";
        writes += "    LB = W" + std::to_string(i) + " => writeln(" + names[i] + ") ;\n";
    }
    return "%Prog counter == [ ] [\n  %Var [ " + declarations(names) + " ]\n  [ %Stm [ LB = M1 => " + sets +
           "$OLB = NEXT ;\n" + writes + "    LB = M3 => $OLB = RETURN ] ] ] .\n";
}

std::string dProgram(const Names& names) {
    return "%DProg parts == [ ] [\n  %Var [ " + declarations(names) + " ]\n] .\n";
}

std::string project(const NamesCase& c) {
    return "[QuvBench]\nProject Name=names\nProject File Num=" + std::string(c.dprog.empty() ? "1" : "2") +
           "\nFile 1=counter.e\n" + (c.dprog.empty() ? "" : "File 2=parts.e\n");
}

// Whether text holds name as a whole word.
bool holdsWord(const std::string& text, const std::string& name) {
    return std::regex_search(text, std::regex("(^|[^A-Za-z0-9_])" + name + "([^A-Za-z0-9_]|$)"));
}

TEST(SystemNames, SharedVariablesNamedAsTheLinksOwnBuildAndRun) {
    TempFolder dir;
    const std::map<std::string, std::string> symbols = systemSymbols();
    ASSERT_TRUE(symbols.count("_start") && symbols.count("_end")) << "the system's symbols could not be read";
    std::vector<NamesCase> cases;
    for (const char* name : {"start", "init", "fini", "edata", "end", "environ"})
        cases.push_back({name, {name}, {}});
    // Many names to a program; the main program's and the %DProg's alternate.
    const Names names = variableNames(dir, symbols);
    const size_t group = 40;
    for (size_t i = 0; i < names.size(); i += 2 * group) {
        auto part = [&](size_t from) {
            return Names(names.begin() + std::min(from, names.size()), names.begin() + std::min(from + group, names.size()));
        };
        cases.push_back({"names from " + names[i], part(i), part(i + group)});
    }
    // Built and run side by side, each in a folder of its own.
    std::string runs;
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string folder = dir / std::to_string(i);
        std::filesystem::create_directory(folder);
        writeBytes(folder + "/names.prj", project(cases[i]));
        writeBytes(folder + "/counter.e", mainProgram(cases[i].prog));
        if (!cases[i].dprog.empty())
            writeBytes(folder + "/parts.e", dProgram(cases[i].dprog));
        runs += "(cd '" + folder + "' && QuvMakePath='" QUV_TOOLCHAIN_DIR "' QUVINCLUDEPATH='" QUV_RUNTIME_DIR
                "' QUVLIBPATH='" QUV_TOOLCHAIN_DIR "' timeout 300 " QUVC_PATH " run names.prj >out.txt 2>err.txt; "
                "echo $? >status.txt; nm -g --defined-only *.obj >defined.txt 2>&1) & ";
    }
    ASSERT_EQ(runCommand("{ " + runs + "wait; }").status, 0);
    for (size_t i = 0; i < cases.size(); ++i) {
        const NamesCase& c = cases[i];
        SCOPED_TRACE(c.what);
        const std::string folder = dir / std::to_string(i);
        const std::string out = readBytes(folder + "/out.txt");
        EXPECT_EQ(readBytes(folder + "/status.txt"), "0\n") << out;
        std::string expected;
        for (size_t k = 0; k < c.prog.size(); ++k)
            expected += "3\n";
        EXPECT_EQ(programOutput(out, "names.exe"), expected);
        // What the build said and what the program defines must name none of them.
        const std::string seen = out + readBytes(folder + "/err.txt") + readBytes(folder + "/defined.txt");
        for (const Names* list : {&c.prog, &c.dprog})
            for (const std::string& n : *list)
                EXPECT_FALSE(holdsWord(seen, "_" + n))
                    << "_" << n << " is defined by " << symbols.at("_" + n) << ": add \"" << n
                    << "\" to systemNames in compiler/core/code_fragment.cpp";
    }
}

}  // namespace
