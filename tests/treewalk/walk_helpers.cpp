#include "walk_helpers.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "compiler/codegen/codegen.hpp"
#include "compiler/lexer/lexer.hpp"
#include "compiler/treewalk/treewalk.hpp"
#include "tool_run.hpp"
#include "tests/support/own_session.hpp"

namespace {

int tokenType(const std::string& name)
{
    for (int type = 0; type < QUVTokenNameCount; ++type)
        if (quvTokenName(type) == name)
            return type;
    throw std::invalid_argument("no token type " + name);
}

class TreeReader {
public:
    explicit TreeReader(const std::string& text) : text(text) {}

    RefQUV_AST read(int depth)
    {
        skipBlanks();
        if (at < text.size() && text[at] == '(') {
            ++at;
            RefQUV_AST root = leaf(depth);
            for (skipBlanks(); at < text.size() && text[at] != ')'; skipBlanks())
                root->addChild(read(depth + 1));
            ++at;
            return root;
        }
        return leaf(depth);
    }

    bool done()
    {
        skipBlanks();
        return at >= text.size();
    }

private:
    RefQUV_AST leaf(int depth)
    {
        std::string word;
        while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at])) && text[at] != '(' &&
               text[at] != ')')
            word += text[at++];
        std::string::size_type colon = word.find(':');
        std::string name = word.substr(0, colon);
        RefQUV_AST node(new QUV_AST);
        node->initialize(tokenType(name), colon == std::string::npos ? name : word.substr(colon + 1));
        node->setPosition(++count, depth);
        return node;
    }

    void skipBlanks()
    {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
            ++at;
    }

    const std::string& text;
    std::string::size_type at = 0;
    int count = 0;
};

}  // namespace

RefQUV_AST buildTree(const std::string& text)
{
    TreeReader reader(text);
    if (reader.done())
        return RefQUV_AST();
    return reader.read(1);
}

void releaseDeepTree(RefQUV_AST tree)
{
    std::vector<antlr::RefAST> pending{antlr::RefAST(tree)};
    tree = RefQUV_AST();
    while (!pending.empty()) {
        antlr::RefAST node = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        pending.push_back(node->getFirstChild());
        pending.push_back(node->getNextSibling());
        node->setFirstChild(antlr::nullAST);
        node->setNextSibling(antlr::nullAST);
    }
}

WalkResult walkTree(RefQUV_AST tree)
{
    const TempFolder folder("quv_treewalk_");
    const std::string base = folder / "t";
    WalkResult result;
    // Each walk has a session of its own: its generated names start afresh.
    OwnJob driver("t.e");
    TopFragment top;
    {
        QUVTreeWalk walker;
        // As the driver does: whatever program the walk left is written,
        // before a failure that ended the walk is filed.
        try {
            walker.program(antlr::RefAST(tree), driver, &top);
            top.writeFiles(driver, OutputNames::ofBase(base));
        } catch (QUVRunTimeException& ex) {
            top.writeFiles(driver, OutputNames::ofBase(base));
            driver.fileFailure(ex);
            result.thrown = ex.getDetails();
        } catch (const antlr::ANTLRException& ex) {
            top.writeFiles(driver, OutputNames::ofBase(base));
            result.thrown = ex.getMessage();
        }
    }
    for (const QUVException& ex : driver.records()) {
        result.diags.push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn(), ex.getRule()});
        result.details.push_back(ex.getDetails());
    }
    result.filesWritten = std::filesystem::exists(base + ".cpp");
    result.cpp = top.getCode();
    result.programKind = top.programKind;
    result.threadDeclarations = CodeNames::threadDeclarations(driver, "", 1);
    return result;
}

Translation translate(const std::string& name, const std::string& source)
{
    Translation t;
    t.owner = std::make_shared<const TempFolder>("quv_treewalk_");
    t.folder = t.owner->path;
    std::ofstream(t.folder + "/" + name + ".e", std::ios::binary) << source;
    // quvdump names the output files after the path it is given: a bare name keeps the texts free of folders.
    const std::string here = std::filesystem::current_path().string();
    std::filesystem::current_path(t.folder);
    t.diagLines = runQuvdump("translate " + name + ".e").out;
    std::filesystem::current_path(here);
    const std::string base = t.folder + "/" + name;
    t.cpp = readFile(base + ".cpp");
    t.proto = readFile(base + "Proto.hpp");
    t.inner = readFile(base + "Inner.hpp");
    t.err = readFile(base + ".err");
    t.typeset = readFile(base + "TypeSet.e");
    return t;
}

ProgramRun buildAndRun(const Translation& t, const std::string& name, const std::string& options,
                       const std::string& input)
{
    ProgramRun run;
    const std::string base = t.folder + "/" + name;
    // Optimised as a release build would be, so that what threads share is
    // shared by the program's own means, not by the compiler's forbearance.
    const std::string compile = "g++ -std=gnu++17 -O2 -pthread " + options + " -I " + std::string(QUV_RUNTIME_DIR) +
                                " -o " + base + " " + base + ".cpp " + QUV_RUNTIME_DIR + "/quvfuncs.cpp > " + base +
                                ".build 2>&1";
    if (std::system(compile.c_str()) != 0) {
        run.compilerOutput = readFile(base + ".build");
        if (run.compilerOutput.empty())
            run.compilerOutput = "g++ failed";
        return run;
    }
    // Run in the translation's folder, where a program's files go; a program
    // that hangs is ended and fails.
    std::ofstream(base + ".in", std::ios::binary) << input;
    const std::string command =
        "cd " + t.folder + " && timeout 20 " + base + " < " + base + ".in > " + base + ".out 2>&1";
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(base + ".out");
    return run;
}
