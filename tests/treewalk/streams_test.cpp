// Files and the console from a source through "quvdump translate" to a
// running program: every built-in with its stream and the variables it stores
// into declared in the procedure that uses them or in a block around it, read
// loops that end, and characters pushed back at the end of the input.
#include <gtest/gtest.h>

#include "tool_run.hpp"
#include "walk_helpers.hpp"

namespace {

const std::string kRunData = std::string(QUV_TEST_DATA) + "/treewalk/run/";

// Where a row declares a variable, seen from the procedure that uses it: in
// that procedure, in the one around it, in the one around that, or among the
// program's shared variables.
enum Level { Own, Father, Grandfather, Shared };
// The block the chain of procedures that leads to the user is nested in.
enum Root { InProcedure, InProcess, InMain };

struct LevelRow {
    Root root;
    int depth;      // procedures from the root down to the user: 1 or 2
    Level file;     // where the stream is
    Level targets;  // where the variables the built-ins store into and read from are
};

std::string joined(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i ? separator : "") + parts[i];
    return text;
}

// Writes a file, reads it back with every file built-in and prints what it
// read, then reads a number and a word from standard input, the word through
// Getchar and Ungetchar first. Reads "<r> w<r>" and prints three lines.
std::string userBody(int r)
{
    const std::string R = std::to_string(r);
    const std::string f = "f" + R, n = "n" + R, k = "k" + R, s = "s" + R, c = "c" + R, e = "e" + R;
    const std::string file = "\"row" + R + ".txt\"";
    const std::vector<std::string> steps = {
        "Fopen(" + f + ", " + file + ")", "Fwriteln(" + f + ", " + std::to_string(40 + r) + ", \" \", \"word\")",
        "Fwrite(" + f + ", \"xy\")", "quveof(" + f + ", \"END\")", "Fclose(" + f + ")",
        "Fopen(" + f + ", " + file + ")", "Fread(" + f + ", " + n + ", " + s + ")",
        // The line end after "word", then the x, which is put back and read again.
        "Getc(" + f + ", " + c + ")", "Getc(" + f + ", " + c + ")", "Ungetc(" + f + ", " + c + ")",
        "Fread(" + f + ", " + s + ")", "Feof(" + f + ", " + e + ")",
        "Writeln(" + n + ", \" \", " + s + ", \" \", " + e + ")",
        // A read past the end; then a closed file: both end a read loop.
        "Fread(" + f + ", " + n + ")", "Feof(" + f + ", " + e + ")", "Write(" + e + ", \" \")",
        "Fclose(" + f + ")", "Feof(" + f + ", " + e + ")", "Itoc(66, " + c + ")", "Strlen(" + k + ", " + s + ")",
        "Writeln(" + e + ", \" \", " + c + ", \" \", " + k + ")",
        "Read(" + k + ")", "Getchar(" + c + ")", "Getchar(" + c + ")", "Ungetchar(" + c + ")", "Read(" + s + ")",
        "Writeln(" + k + ", \" \", " + s + ")",
    };
    std::string body;
    for (size_t i = 0; i < steps.size(); ++i)
        body += "LB = a" + std::to_string(i) + " => " + steps[i] + "; ";
    return body + "LB = z => $OLB = RETURN";
}

std::string userOutput(int r)
{
    const std::string R = std::to_string(r);
    return std::to_string(40 + r) + " xyEND 0\n1 1 B 5\n" + R + " w" + R + "\n";
}

// The declarations of row r at one level: its stream, its variables, or both.
std::vector<std::string> declarations(const LevelRow& row, int r, Level level)
{
    const std::string R = std::to_string(r);
    std::vector<std::string> d;
    if (row.file == level)
        d.push_back("f" + R + " : Stream");
    if (row.targets == level)
        d.push_back("n" + R + ", k" + R + " : Int; s" + R + ", c" + R + " : String; e" + R + " : Bool");
    return d;
}

std::string locals(const std::vector<std::string>& d)
{
    return d.empty() ? "" : "%Loc [ " + joined(d, "; ") + " ] ";
}

// A program with one chain of procedures per row, called (or started) one
// after another by the main body, which then reads at the end of its input,
// tests Feof where the file is not at its end and writes over a file.
std::string levelsProgram(const std::vector<LevelRow>& rows)
{
    std::vector<std::string> shared, procedures, processes, mainLocals, mainProcedures, mainSteps;
    for (size_t i = 0; i < rows.size(); ++i) {
        const LevelRow& row = rows[i];
        const int r = static_cast<int>(i) + 1;
        const std::string R = std::to_string(r);
        // Level l is depth - l blocks below the root; the root's is the depth.
        auto at = [&](int level) { return locals(declarations(row, r, static_cast<Level>(level))); };
        std::string chain = "u" + R + "( ) == [ " + at(Own) + "%Stm [ " + userBody(r) + " ] ]";
        std::string call = "u" + R + "( )";
        if (row.depth == 2) {
            chain = "m" + R + "( ) == [ " + at(Father) + "%Proc [ " + chain + " ] %Stm [ LB = m1 => " + call +
                    "; LB = m2 => $OLB = RETURN ] ]";
            call = "m" + R + "( )";
        }
        for (const std::string& d : declarations(row, r, Shared))
            shared.push_back(d);
        const std::string rootLocals = at(row.depth);
        if (row.root == InProcedure) {
            procedures.push_back("p" + R + "( ) == [ " + rootLocals + "%Proc [ " + chain + " ] %Stm [ LB = p1 => " +
                                 call + "; LB = p2 => $OLB = RETURN ] ]");
            mainSteps.push_back("p" + R + "( )");
        } else if (row.root == InProcess) {
            processes.push_back("w" + R + "( ) == [ " + rootLocals + "%Proc [ " + chain + " ] %Stm [ LB = p1 => " +
                                call + "; LB = p2 => $OLB = STOP ] ]");
            mainLocals.push_back("x" + R + " : NM");
            mainSteps.push_back("$O x" + R + " == w" + R + " ^ $O i == idle ^ $OLB = NEXT");
            mainSteps.push_back("|| [ x" + R + "( ); i( ) ]");
        } else {
            for (const std::string& d : declarations(row, r, static_cast<Level>(row.depth)))
                mainLocals.push_back(d);
            mainProcedures.push_back(chain);
            mainSteps.push_back(call);
        }
    }
    processes.push_back("idle( ) == [ %Stm [ LB = i1 => $OLB = STOP ] ]");
    mainLocals.push_back("i : NM; t : Stream; r, v, w, x : String; b : Bool; q : Int");
    const std::vector<std::string> tail = {
        // At the end of the input: v keeps its value, then the pushed-back R is
        // read by Getchar and, pushed back again, by Read.
        "$O r = \"R\" ^ $O v = \"v\" ^ $OLB = NEXT", "Getchar(v)", "Write(v, \" \")", "Ungetchar(r)",
        "Getchar(v)", "Ungetchar(r)", "Read(w)", "Writeln(v, \" \", w)",
        // A read that failed before the end, and a file that could not be opened.
        "Fopen(t, \"row1.txt\")", "Fread(t, w, q)", "Feof(t, b)", "Write(b, \" \")", "Fclose(t)",
        "Fopen(t, \"nodir/x.txt\")", "Feof(t, b)", "Write(b, \" \")", "Fclose(t)",
        // A file's push-back at its end is read again, and the file is not at its end.
        "Fopen(t, \"row1.txt\")", "Fread(t, w, v, x)", "Fread(t, w)", "Ungetc(t, r)", "Feof(t, b)",
        "Getc(t, v)", "Writeln(b, \" \", v)", "Fclose(t)",
        // Fopen keeps an existing file: what is written replaces its first bytes.
        "Fopen(t, \"over.txt\")", "Fwriteln(t, \"first line long\")", "Fclose(t)", "Fopen(t, \"over.txt\")",
        "Fwrite(t, \"XY\")", "Fclose(t)", "Fopen(t, \"over.txt\")", "Fread(t, w)", "Writeln(w)", "Fclose(t)",
    };
    mainSteps.insert(mainSteps.end(), tail.begin(), tail.end());
    std::string steps;
    for (size_t i = 0; i < mainSteps.size(); ++i)
        steps += "LB = s" + std::to_string(i) + " => " + mainSteps[i] + "; ";
    return "%Prog levels == [ ] [ " + (shared.empty() ? "" : "%Var [ " + joined(shared, "; ") + " ] ") + "%Proc [ " +
           joined(procedures, "; ") + " ] %Pros [ " + joined(processes, "; ") + " ] [ " + locals(mainLocals) +
           "%Proc [ " + joined(mainProcedures, "; ") + " ] %Stm [ " + steps + "LB = e => $OLB = RETURN ] ] ].";
}

// Every built-in takes its stream and its variables through the frames that
// hold them: from the procedure itself, from one or two procedures out, from
// the process or the main body around the procedures, and from the shared
// variables; stream and variables at the same level and at different ones.
TEST(StreamsTest, BuiltinsReachTheirVariablesAtEveryLevel)
{
    const std::vector<LevelRow> rows = {
        {InProcedure, 2, Own, Own},
        {InProcedure, 2, Father, Father},
        {InProcedure, 2, Grandfather, Grandfather},
        {InProcedure, 2, Grandfather, Own},
        {InProcedure, 2, Own, Grandfather},
        {InProcedure, 1, Father, Shared},
        {InProcess, 1, Father, Father},
        {InProcess, 2, Grandfather, Grandfather},
        {InProcess, 2, Father, Grandfather},
        {InProcess, 2, Grandfather, Father},
        {InMain, 1, Father, Father},
        {InMain, 2, Grandfather, Own},
    };
    std::string input, expected;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string R = std::to_string(i + 1);
        // The last word ends the input: the main body then reads at its end.
        input += (i ? "\n" : "") + R + " w" + R;
        expected += userOutput(static_cast<int>(i) + 1);
    }
    expected += "v R R\n1 1 0 R\nXYrst\n";
    Translation t = translate("levels", levelsProgram(rows));
    ASSERT_EQ(t.diagLines, "") << levelsProgram(rows);
    ProgramRun run = buildAndRun(t, "levels", "", input);
    ASSERT_EQ(run.compilerOutput, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
}

// A stream of a procedure written from the procedure nested in it; a read
// loop on a file in a folder that does not exist, which must not run at all.
TEST(StreamsTest, WrittenProgramsRun)
{
    struct Row {
        const char* name;
        std::string out;
        std::string written = "";  // the file n.txt the program leaves
    };
    const Row rows[] = {
        {"nested_stream", "done\n", "x\n"},
        {"read_loop", "0\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Translation t = translate(row.name, readFile(kRunData + row.name + ".e"));
        EXPECT_EQ(t.diagLines, "");
        ProgramRun run = buildAndRun(t, row.name);
        ASSERT_EQ(run.compilerOutput, "");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, row.out);
        if (!row.written.empty())
            EXPECT_EQ(readFile(t.folder + "/n.txt"), row.written);
    }
}

}  // namespace
