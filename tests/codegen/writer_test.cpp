#include <gtest/gtest.h>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

const char* const suffixes[] = {".cpp", "Proto.hpp", "Inner.hpp", ".err", "TypeSet.e"};

struct OutputFiles {
    std::string dir;
    std::string base;
    std::string name(int i) const { return base + suffixes[i]; }
    void write(JobState& job, TopFragment& top, const std::string& program, int kind,
               const CodeFragment& main) const {
        top.setProgram(program, kind, main);
        top.writeFiles(job, {name(0), name(1), name(2), name(3), name(4)});
    }
    // The file's text with the folder written as @DIR@, as the golden files hold it.
    std::string read(int i) const {
        std::string text = readFile(name(i));
        for (size_t at; (at = text.find(dir)) != std::string::npos;)
            text.replace(at, dir.size(), "@DIR@");
        return text;
    }
};

OutputFiles outputsIn(const std::string& testName) {
    std::string dir = scratchDir(testName);
    return {dir, dir + "/demo"};
}

TEST(Writer, FilesMatchTheGoldenFiles) {
    DriverScope scope("demo.e");
    scope.driver.setWalkPosition(3, 7);
    scope.driver.setWalkRule("fieldDeclarationPart");
    QUVException(scope.driver).makeSemantic(16);
    QUVException(scope.driver).makeSemantic(17);
    Filled<> main(Texts{"%Glob\n[\nk : Integer", "const int _k = 1;\nint main()\n{\n}\n", "typedef int inner;\n",
                        "void _proc_f_0 ( void *father );\n"});
    OutputFiles out = outputsIn("golden");
    TopFragment top;
    out.write(scope.driver, top, "demo", 0, main);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(suffixes[i]);
        EXPECT_EQ(out.read(i), readFile(std::string(QUV_GOLDEN_DIR) + "/demo" + suffixes[i]));
    }
    EXPECT_EQ(top.programKind, 0);
    EXPECT_EQ(top.getCode(), readFile(out.name(0)));
    EXPECT_EQ(top.getPrototypes(), readFile(out.name(1)));
    EXPECT_EQ(top.getInnerTypes(), readFile(out.name(2)));
    EXPECT_EQ(top.getTypeset(), readFile(out.name(4)));
}

TEST(Writer, EmptyMainStillGetsBannersAndIncludesAndEveryKindItsWord) {
    DriverScope scope;
    OutputFiles out = outputsIn("kinds");
    CodeFragment empty;
    struct Case {
        int kind;
        const char* word;
    } cases[] = {{0, "%Prog"}, {1, "%DProg"}, {2, "%MProg"}, {3, "error!"}};
    for (const Case& c : cases) {
        TopFragment top;
        out.write(scope.driver, top, "p", c.kind, empty);
        EXPECT_EQ(top.programKind, c.kind);
        EXPECT_EQ(out.read(4), std::string(c.word) + " p == [] \n[\n\n]\n.");
    }
    EXPECT_EQ(out.read(0), "/*-----------------------Program p----------------------------*/\n"
                           "/*-------------------------- source file :@DIR@/demo.cpp----------------------------*/\n\n"
                           "#include \"@DIR@/demoInner.hpp\"\n\n");
    EXPECT_EQ(readFile(out.name(3)), "");
}

TEST(Writer, SecondWriteReplacesEveryFile) {
    DriverScope scope;
    OutputFiles out = outputsIn("rewrite");
    TopFragment first, second;
    out.write(scope.driver, first, "p", 0, Filled<>("long text of the first program"));
    QUVException(scope.driver).makeSemantic(16);
    out.write(scope.driver, second, "p", 0, Filled<>("x"));
    for (int i : {0, 1, 2, 4})
        EXPECT_EQ(readFile(out.name(i)).find("first"), std::string::npos) << suffixes[i];
    EXPECT_NE(readFile(out.name(3)), "");
}

// A file that cannot be written is reported as a file diagnostic, one per
// file; the other files are written and the texts and kind are kept.
TEST(Writer, UnwritableFilesAreReported) {
    DriverScope scope("demo.e");
    OutputFiles out = outputsIn("unwritable");
    std::string missing = out.dir + "/no/such/folder/x";
    TopFragment top;
    Filled<> main("m");
    // "/dev/full" opens but refuses every write.
    top.setProgram("p", 2, main);
    top.writeFiles(scope.driver, {missing + ".cpp", out.name(1), "/dev/full", missing + ".err", out.name(4)});
    ASSERT_EQ(scope.driver.records().size(), 3u);
    std::vector<std::string> failed;
    for (const QUVException& e : scope.driver.records()) {
        EXPECT_EQ(e.getKind(), QUVException::FileError);
        EXPECT_EQ(e.getRule(), "CodeFragment::writeFiles()");
        failed.push_back(e.getFileName());
    }
    EXPECT_EQ(failed, (std::vector<std::string>{missing + ".cpp", "/dev/full", missing + ".err"}));
    EXPECT_EQ(DriverScope::seen.size(), 3u);
    EXPECT_EQ(top.programKind, 2);
    EXPECT_NE(top.getCode().find("m1"), std::string::npos);
    EXPECT_NE(readFile(out.name(1)).find("m3"), std::string::npos);
    EXPECT_NE(top.getInnerTypes().find("m2"), std::string::npos);
    EXPECT_NE(readFile(out.name(4)).find("m0"), std::string::npos);
}

}  // namespace
