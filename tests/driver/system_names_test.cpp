// No name of a user's meets a name the link of a program brings: every "_"
// and lower-case word the machine's start files, libraries, dynamic loader or
// linker script define, as a shared variable of the main program or of a
// %DProg, builds and runs as written, and the program defines none of them.
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
    Names prog, dprog;  // shared variables of the main program and of a %DProg beside it
};

// "_" + word -> the file that defines it.
std::map<std::string, std::string> systemSymbols() {
    std::istringstream lines(runCommand(QUV_SCRIPTS_DIR "/system-symbols '" QUV_GXX "' '" QUV_TOOLCHAIN_DIR
                                        "/quvfuncs.lib' 2>/dev/null").out);
    std::map<std::string, std::string> symbols;
    std::string file, symbol;
    while (lines >> file >> symbol)
        if (std::regex_match(symbol, std::regex("_[a-z][A-Za-z0-9_]*")))
            symbols.emplace(symbol, file);
    return symbols;
}

// The words that are variable names (no keyword, no label), as the lexer reads them.
Names variableNames(const TempFolder& dir, const std::map<std::string, std::string>& symbols) {
    std::string words;
    for (const auto& entry : symbols)
        words += entry.first.substr(1) + "\n";
    writeBytes(dir / "words.e", words);
    std::istringstream tokens(runQuvdump("tokens '" + dir / "words.e" + "'").out);
    Names names;
    std::string place, number, type, token;
    while (tokens >> place >> number >> type && std::getline(tokens, token))
        if (type == "IDENT")
            names.push_back(token.substr(1));
    return names;
}

// The report's program over several names, each set to 3 and written on a line
// of its own; or a %DProg that only declares them.
std::string source(const Names& names, bool main) {
    std::string items, sets, writes;
    for (size_t i = 0; i < names.size(); ++i) {
        items += (i ? "; " : "") + names[i] + " : int";
        sets += "$O " + names[i] + " = 3 ^ ";
        writes += "    LB = W" + std::to_string(i) + " => writeln(" + names[i] + ") ;\n";
    }
    if (!main)
        return "%DProg parts == [ ] [\n  %Var [ " + items + " ]\n] .\n";
    return "%Prog counter == [ ] [\n  %Var [ " + items + " ]\n  [ %Stm [ LB = M1 => " + sets + "$OLB = NEXT ;\n" +
           writes + "    LB = M3 => $OLB = RETURN ] ] ] .\n";
}

TEST(SystemNames, SharedVariablesNamedAsTheLinksOwnBuildAndRun) {
    TempFolder dir;
    const std::map<std::string, std::string> symbols = systemSymbols();
    ASSERT_TRUE(symbols.count("_start") && symbols.count("_end")) << "the system's symbols could not be read";
    std::vector<NamesCase> cases;
    for (const char* name : {"start", "init", "fini", "edata", "end", "environ"})
        cases.push_back({name, {name}, {}});
    const Names names = variableNames(dir, symbols);
    const size_t group = 40;
    auto part = [&](size_t from) {
        return Names(names.begin() + std::min(from, names.size()), names.begin() + std::min(from + group, names.size()));
    };
    for (size_t i = 0; i < names.size(); i += 2 * group)
        cases.push_back({"names from " + names[i], part(i), part(i + group)});
    // Built and run side by side, each in a folder of its own.
    std::string runs;
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string folder = dir / std::to_string(i);
        const bool two = !cases[i].dprog.empty();
        std::filesystem::create_directory(folder);
        writeBytes(folder + "/names.prj", "[QuvBench]\nProject Name=names\nProject File Num=" +
                                              std::string(two ? "2" : "1") + "\nFile 1=counter.e\nFile 2=parts.e\n");
        writeBytes(folder + "/counter.e", source(cases[i].prog, true));
        writeBytes(folder + "/parts.e", source(cases[i].dprog, false));
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
        std::string threes;
        for (size_t k = 0; k < c.prog.size(); ++k)
            threes += "3\n";
        EXPECT_EQ(programOutput(out, "names.exe"), threes);
        // Neither what the build said nor what the program defines names one of them.
        const std::string seen = out + readBytes(folder + "/err.txt") + readBytes(folder + "/defined.txt");
        for (const Names* list : {&c.prog, &c.dprog})
            for (const std::string& n : *list)
                EXPECT_FALSE(std::regex_search(seen, std::regex("(^|[^A-Za-z0-9_])_" + n + "([^A-Za-z0-9_]|$)")))
                    << "_" << n << " is defined by " << symbols.at("_" + n) << ": add \"" << n
                    << "\" to systemNames in compiler/core/code_fragment.cpp";
    }
}

}  // namespace
