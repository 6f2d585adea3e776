// The C++ names the translation makes from a user's names never meet: for
// each pair of kinds of name, a program whose names once became one C++ name
// (or the name of the run-time library's, or one C++ reserves) compiles with
// the options our cl.exe passes to g++. Records and unions are named by
// number ("_9_struct"), which no user's name gives, so they pair with none.
#include <gtest/gtest.h>

#include <string>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct NamePair {
    const char* kinds;
    const char* types;       // the items of %Type, "" for none
    const char* globals;     // the items of %Var
    const char* procedures;  // the items of %Proc
    const char* processes;   // the items of %Pros
    const char* packages;    // %Pack and %Agt parts as written
    const char* locals;      // the main body's %Loc items
    const char* statements;  // the main body's statements, each ended by ";"
};

std::string part(const char* keyword, const char* items) {
    return *items ? "\t" + std::string(keyword) + " [ " + items + " ]\n" : std::string();
}

std::string program(const NamePair& p) {
    return "%Prog names == [ ]\n[\n\tSYN\n" + part("%Type", p.types) + part("%Var", p.globals) +
           part("%Proc", p.procedures) + part("%Pros", p.processes) + (*p.packages ? "\t" + std::string(p.packages) + "\n" : "") +
           "\t[\n\t\t%Loc [ k : int; " + p.locals + " ]\n\t\t%Stm [\n\t\t\t" + p.statements +
           "\n\t\t\tLB = z => $OLB = RETURN\n\t\t]\n\t]\n].\n";
}

// Two processes that do nothing but end, for the starts the rows need.
const char* const idle = "w(%Inp/ a : Int) == [ %Stm [ LB = s => $OLB = STOP ] ]; "
                         "v(%Inp/ b : Int) == [ %Stm [ LB = s => $OLB = STOP ] ]";
const char* const startIdle = "LB = s1 => $O n1 == w ^ $O n2 == v ^ $OLB = NEXT; "
                              "LB = s2 => || [ n1(%Inp/ k | a); n2(%Inp/ k | b) ];";
// A process that sends over o and one that receives over i.
const char* const talk = "w(%Chn/ o(*, c : NM) : Int) == [ %Stm [ LB = s => $O o ! 1 ^ $OLB = STOP ] ]; "
                         "v(%Chn/ i(c : NM, *) : Int) == [ %Loc [ x : Int ] %Stm [ LB = s => $O i ? x ^ $OLB = STOP ] ]; "
                         "x(%Inp/ b : Int) == [ %Stm [ LB = s => $OLB = STOP ] ]";

const NamePair pairs[] = {
    {"variable and type", "cell = record(x, y : int)", "", "", "", "", "t_cell : cell; r : cell",
     "LB = a => $O t_cell.x = 1 ^ $O r = t_cell ^ $OLB = NEXT;"},
    {"shared variable and type", "cell = record(x, y : int)", "t_cell : cell", "", "", "", "r : cell",
     "LB = a => $O r = t_cell ^ $OLB = NEXT;"},
    {"parameter and type", "cell = record(x : int)", "",
     "f(%Inp/ t_cell : cell; %Iop/ r : cell) == [ %Stm [ LB = a => $O r = t_cell ^ $OLB = RETURN ] ]", "", "",
     "c : cell; r : cell", "LB = a => f(%Inp/ c | t_cell; %Iop/ r | r);"},
    {"process parameter, channel and type", "cell = record(x : int); item = record(y : int)", "", "",
     "w(%Inp/ t_cell : cell; %Chn/ t_item(*, c : NM) : item) == [ %Loc [ i : item ] "
     "%Stm [ LB = a => $O i.y = t_cell.x ^ $O t_item ! i ^ $OLB = STOP ] ]; "
     "v(%Chn/ t_cell(c : NM, *) : item) == [ %Loc [ i : item ] %Stm [ LB = a => $O t_cell ? i ^ $OLB = STOP ] ]",
     "", "c : cell; n1 : NM; n2 : NM",
     "LB = a => $O n1 == w ^ $O n2 == v ^ $OLB = NEXT; "
     "LB = b => || [ n1(%Inp/ c | t_cell; %Chn/ ch(n2, *) | t_item(n2, *)); n2(%Chn/ ch(*, n1) | t_cell(*, n1)) ];"},
    {"shared variable and package", "", "class_pk : int", "", "", "%Pack [ pk : %Loc [ v : Int ] ]", "k2 : int",
     "LB = a => $O class_pk = 1 ^ $OLB = NEXT;"},
    {"shared variable and agent, process thread and agent instance", "", "class_x_call : int", "",
     "global_instance_of_x(%Inp/ b : Int) == [ %Stm [ LB = s => $OLB = STOP ] ]",
     "%Agt [ [ ag(%Inp/ a : Int) == [ %Stm [ LB = s => Writeln(a); LB = t => $OLB = STOP ] ]; "
     "%Pack [ x_call : %Loc [ v : Int ] ] ] ]",
     "n1 : NM; n2 : NM",
     "LB = a => $O n1 == ag ^ $O n2 == global_instance_of_x ^ $OLB = NEXT; "
     "LB = b => || [ n1(%Inp/ k | a); n2(%Inp/ k | b) ];"},
    {"variable and procedure", "", "", "f( ) == [ %Stm [ LB = a => $OLB = RETURN ] ]", "", "", "proc_f_0 : int",
     "LB = a => f( ); LB = b => $O proc_f_0 = 1 ^ $OLB = NEXT;"},
    {"shared variable and process", "", "pros_w_0 : int; pros_v_1 : int", "", idle, "", "n1 : NM; n2 : NM",
     startIdle},
    {"variable and temporary", "", "", "", "", "", "next_temp_1 : int; next_temp_2 : int",
     "LB = a => $O next_temp_1 = 5 ^ $O next_temp_2 = next_temp_1 ^ $O NewDec(next_temp_3 : int) ^ "
     "$O next_temp_3 = 1 ^ $OLB = NEXT;"},
    {"variable, label and field", "cell = record(x : int); u = union(f_x : int; y : float)", "", "", "", "",
     "l_a : int; f_x : int; c : cell; d : u", "LB = a => $O l_a = 1 ^ $O f_x = 2 ^ $O c.x = f_x ^ $O d.f_x = l_a ^ $OLB = NEXT;"},
    {"shared variable and a process's formals", "", "d_a : int; dt_a : int; do_m : int; dt_m : int", "",
     "w(%Inp/ a : Int; %Iop/ m : Int) == [ %Stm [ LB = s => $O m = a ^ $OLB = STOP ] ]; "
     "v(%Inp/ b : Int; %Iop/ d_a : Int) == [ %Stm [ LB = s => $O d_a = b ^ $OLB = STOP ] ]",
     "", "n1 : NM; n2 : NM",
     "LB = s1 => $O n1 == w ^ $O n2 == v ^ $OLB = NEXT; "
     "LB = s2 => || [ n1(%Inp/ k | a; %Iop/ do_m | m); n2(%Inp/ k | b; %Iop/ dt_a | d_a) ];"},
    {"variable and frame member", "", "",
     "f(%Inp/ x : Int) == [ %Loc [ p_x : Int ] %Proc [ g( ) == [ %Stm [ LB = a => $O p_x = x ^ $OLB = RETURN ] ] ] "
     "%Stm [ LB = a => g( ); LB = b => $OLB = RETURN ] ]",
     "", "", "p_x : int", "LB = a => f(%Inp/ p_x | x);"},
    {"variable and escaped variable", "cell = record(x : int)", "", "", "", "",
     "t_cell : cell; u_t_cell : cell; u_u_t_cell : int; Cell : int; u_Cell : int; u_x : int; u_u_x : int",
     "LB = a => $O u_t_cell = t_cell ^ $O Cell = u_Cell ^ $O u_x = u_u_x ^ $OLB = NEXT;"},
    {"variable and the run-time library", "", "endthread : int; tolower : int; toupper : int", "", idle, "",
     "beginthread : int; n1 : NM; n2 : NM", startIdle},
    {"variable and C++'s reserved names", "",
     "GNU_SOURCE : int; LP64 : int; CONSOLE : int; MBCS : int; Complex : int; Pragma : int; Float32 : int; STDIO_H : int",
     "f(%Inp/ Float64 : Int) == [ %Stm [ LB = a => $OLB = RETURN ] ]", "", "", "Float128 : int",
     "LB = a => f(%Inp/ Float128 | Float64);"},
    {"channel link and start block", "", "", "", talk, "", "a : NM; ip : NM; ch_a : NM",
     "LB = a => $O a == w ^ $O ip == v ^ $O ch_a == x ^ $OLB = NEXT; "
     "LB = b => || [ a(%Chn/ o(ip, *) | o(ip, *)); ip(%Chn/ o(*, a) | i(*, a)); ch_a(%Inp/ k | b) ];"},
    {"channel link and procedure frame", "", "", "ch_a( ) == [ %Stm [ LB = a => $OLB = RETURN ] ]", talk, "",
     "a : NM; local_type : NM",
     "LB = a => $O a == w ^ $O local_type == v ^ $OLB = NEXT; "
     "LB = b => || [ a(%Chn/ o(local_type, *) | o(local_type, *)); local_type(%Chn/ o(*, a) | i(*, a)) ]; "
     "LB = c => ch_a( );"},
    {"procedure frames", "", "",
     "q( ) == [ %Proc [ p( ) == [ %Stm [ LB = a => $OLB = RETURN ] ] ] %Stm [ LB = a => p( ); LB = b => $OLB = RETURN ] ]; "
     "p_q( ) == [ %Stm [ LB = a => $OLB = RETURN ] ]",
     "", "", "k2 : int", "LB = a => q( ); LB = b => p_q( );"},
};

TEST(NamePairs, EveryPairOfKindsTranslatesAndCompiles) {
    TempFolder dir;
    const int count = static_cast<int>(sizeof pairs / sizeof *pairs);
    for (int i = 0; i < count; ++i)
        writeBytes(dir / ("p" + std::to_string(i) + ".e"), program(pairs[i]));
    // Translated one after another, then compiled side by side.
    std::string compiles;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(pairs[i].kinds);
        const std::string p = "p" + std::to_string(i);
        const RunResult translated = runCommand("cd '" + dir.path + "' && " QUVC_PATH " compile " + p + ".e 2>&1");
        EXPECT_EQ(translated.status, 0) << translated.out;
        EXPECT_EQ(diagLines(translated.out), "");
        compiles += "(g++ -std=gnu++17 -pthread -DWIN32 -DNDEBUG -D_CONSOLE -D_MBCS -fsyntax-only -I '" QUV_RUNTIME_DIR
                    "' " + p + ".cpp >" + p + ".log 2>&1; echo $? >" + p + ".status) & ";
    }
    ASSERT_EQ(runCommand("cd '" + dir.path + "' && { " + compiles + "wait; }").status, 0);
    for (int i = 0; i < count; ++i) {
        const std::string p = "p" + std::to_string(i);
        EXPECT_EQ(readBytes(dir / (p + ".status")), "0\n") << pairs[i].kinds << "\n" << readBytes(dir / (p + ".log"));
    }
}

}  // namespace
