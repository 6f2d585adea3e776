// The makefile writer, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "job_recorder.hpp"
#include "tests/support/own_session.hpp"

namespace {

// The lines every makefile shares, around the object list and the dependency lines.
std::string makefileText(const std::string& exe, const std::string& objects, const std::string& dependencies) {
    return "ALL :" + exe + "\n" +
           "CPP = cl.exe\n"
           "CFLAGS = -I$(QUVINCLUDEPATH) /nologo /MT /W3 /GX /D \"WIN32\" /D \"NDEBUG\" /D \"_CONSOLE\" /D \"_MBCS\" /c\n"
           "LINK = link.exe\n"
           "LDFLAGS = $(QUVLIBPATH)/quvfuncs.lib /nologo /subsystem:console /incremental:no /machine:I386 /out:" +
           exe + "\n" + "OBJS = \\\n" + objects + "\n" +
           ".cpp.obj::\n"
           "\t$(CPP) @<<\n"
           "\t$(CFLAGS) $<\n"
           "<<\n"
           "\n" +
           exe + " : $(OBJS) \n" +
           "\t$(LINK) @<<\n"
           "\t$(LDFLAGS) $(OBJS)\n"
           "<<\n"
           "\n" +
           dependencies;
}

struct MakefileCase {
    const char* name;
    std::vector<std::string> files;
    std::string project;
    std::string exe, objects, dependencies;
};

TEST(MakefileWriter, WritesTheMakefileOfTheProject) {
    const MakefileCase cases[] = {
        {"two sources",
         {"/w/a.e", "/w/b.e"},
         "/w/demo.prj",
         "/w/demo.exe",
         "\t/w/a.obj\\\n\t/w/b.obj\\\n",
         "/w/a.obj : /w/a.cpp\n\n/w/b.obj : /w/b.cpp\n\n"},
        {"no sources", {}, "/w/demo.prj", "/w/demo.exe", "", ""},
        {"project name without a dot", {"a.e"}, "demo", "demo.exe", "\ta.obj\\\n", "a.obj : a.cpp\n\n"},
        {"a dot only in a folder name",
         {"/w/v1.2/main"},
         "p.prj",
         "p.exe",
         "\t/w/v1.obj\\\n",
         "/w/v1.obj : /w/v1.cpp\n\n"},
        // make takes a name with a blank as one name only inside double quotes.
        {"a blank in a folder name",
         {"/w x/a.e"},
         "/w x/demo.prj",
         "\"/w x/demo.exe\"",
         "\t\"/w x/a.obj\"\\\n",
         "\"/w x/a.obj\" : \"/w x/a.cpp\"\n\n"},
        // make reads "$$" as "$", and a colon first in a name as a target's colon unless quoted.
        {"dollars in names",
         {"/w$/a$(X).e", ":b.e"},
         "/w$/p.prj",
         "/w$$/p.exe",
         "\t/w$$/a$$(X).obj\\\n\t\":b.obj\"\\\n",
         "/w$$/a$$(X).obj : /w$$/a$$(X).cpp\n\n\":b.obj\" : \":b.cpp\"\n\n"},
    };
    for (const MakefileCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        // An existing, longer makefile is replaced entirely.
        writeBytes(dir / "out.mak", std::string(5000, 'x'));
        WithOwnSession<QUVCompiler> driver;
        EXPECT_TRUE(driver.writeMakefile(c.files, c.project, dir / "out.mak"));
        EXPECT_EQ(readBytes(dir / "out.mak"), makefileText(c.exe, c.objects, c.dependencies));
        EXPECT_TRUE(driver.records().empty());
    }
}

// A name make cannot read back as one name is refused before any makefile
// exists: one diagnostic for the program's name, else one per source.
TEST(MakefileWriter, RefusesNamesMakeCannotRead) {
    const struct {
        const char* name;
        std::vector<std::string> files;
        std::string project;
        std::vector<std::string> refused;  // "FILE: DETAILS"
    } cases[] = {
        {"a double quote in a source", {"/w/a.e", "/w/b\"c.e", "/w/d\ne.e"}, "/w/p.prj",
         {"/w/b\"c.e: the makefile can't name /w/b\"c.cpp: its name holds a double quote",
          "/w/d\ne.e: the makefile can't name /w/d\ne.cpp: its name holds a line end"}},
        {"a carriage return in the project's folder", {"/w\r/a.e"}, "/w\r/p.prj",
         {"/w\r/p.prj: the makefile can't name the program /w\r/p.exe: its name holds a line end"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        WithOwnSession<QUVCompiler> driver;
        EXPECT_FALSE(driver.writeMakefile(c.files, c.project, dir / "out.mak"));
        EXPECT_FALSE(std::filesystem::exists(dir / "out.mak"));
        std::vector<std::string> refused;
        for (const QUVException& d : driver.records())
            refused.push_back(d.getFileName() + ": " + d.getDetails());
        EXPECT_EQ(refused, c.refused);
    }
}

}  // namespace
