// quvgen: writes large inputs for the benchmark and the tests. A QUV/E program
// uses every construct of the language and parses without a diagnostic; a C++
// file of as many lines gives a compiler to compare with.
//
//     quvgen e LINES      a QUV/E program of exactly LINES lines
//     quvgen cpp LINES    a C++ translation unit of exactly LINES lines
//     quvgen valid LINES  a program of exactly LINES lines that also passes the
//                         walker's checks, so that its translation is C++ that
//                         compiles: the benchmark's translate row
//     quvgen random SEED  a random valid program, the same for the same seed
//     quvgen random SEED --files DIR [--without MARKS]
//                         the same program's sources in DIR (r.e, and r1.e
//                         and the project r.prj when it has a %DProg source),
//                         the exact output it must print (r.expected) and the
//                         marks of its statements and equations that can be
//                         left out (r.marks, one a line); with MARKS (numbers
//                         joined by commas) the program without those pieces:
//                         exit status 3 when its output cannot be told
//
// Both repeat one numbered unit (a procedure, every fourth time a process as
// well; a struct and a function in C++) until the next one would not fit, and
// make up the rest with comment lines.

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "random_program.hpp"

namespace {

long countLines(const std::string& text)
{
    long n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

// Keywords are written in each of their spellings in turn, so the lexer's
// literal table and every letter case get their share.
const std::map<std::string, std::vector<std::string>> kSpellings = {
    {"Int", {"INT", "Int", "int"}},
    {"Float", {"FLOAT", "Float", "float"}},
    {"String", {"STRING", "String", "string"}},
    {"Bool", {"BOOL", "Bool", "bool"}},
    {"Logic", {"LOGIC", "Logic", "logic"}},
    {"Nm", {"NM", "Nm", "nm"}},
    {"Stream", {"STREAM", "Stream", "stream"}},
    {"Point", {"POINT", "Point", "point"}},
    {"Union", {"UNION", "Union", "union"}},
    {"Record", {"RECORD", "Record", "record"}},
    {"Array", {"ARRAY", "Array", "array"}},
    {"Mod", {"MOD", "Mod", "mod"}},
    {"If", {"IF", "If", "if"}},
    {"Then", {"THEN", "Then", "then"}},
    {"Else", {"ELSE", "Else", "else"}},
    {"Stop", {"STOP", "Stop", "stop"}},
    {"Return", {"RETURN", "Return", "return"}},
    {"Exit", {"EXIT", "Exit", "exit"}},
    {"Next", {"NEXT", "Next", "next"}},
    {"NewDec", {"NEWDEC", "NewDec", "newdec"}},
    {"Delete", {"DELETE", "Delete", "delete"}},
    {"SetTimer", {"SETTIMER", "SetTimer", "setTimer", "settimer"}},
    {"TT", {"TT", "tt"}},
    {"FF", {"FF", "ff"}},
    {"Fopen", {"FOPEN", "Fopen", "fopen"}},
    {"Fclose", {"FCLOSE", "Fclose", "fclose"}},
    {"Feof", {"FEOF", "Feof", "feof"}},
    {"QUVEof", {"QUVEOF", "QUVEof", "quveof"}},
    {"Fread", {"FREAD", "Fread", "fread"}},
    {"Read", {"READ", "Read", "read"}},
    {"Fwrite", {"FWRITE", "Fwrite", "fwrite"}},
    {"Write", {"WRITE", "Write", "write"}},
    {"Fwriteln", {"FWRITELN", "Fwriteln", "fwriteln"}},
    {"Writeln", {"WRITELN", "Writeln", "writeln"}},
    {"Getc", {"GETC", "Getc", "getc"}},
    {"Getchar", {"GETCHAR", "Getchar", "getchar"}},
    {"Ungetc", {"UNGETC", "Ungetc", "ungetc"}},
    {"Ungetchar", {"UNGETCHAR", "Ungetchar", "ungetchar"}},
    {"Itoc", {"ITOC", "Itoc", "itoc"}},
    {"Strlen", {"STRLEN", "Strlen", "strlen"}},
    {"%Stm", {"%Stm", "%STM", "%stm"}},
    {"%Alg", {"%Alg", "%ALG", "%alg"}},
    {"%Loc", {"%Loc", "%LOC", "%loc"}},
    {"%Proc", {"%Proc", "%PROC", "%proc"}},
    {"%Inp/", {"%Inp/", "%INP/", "%inp/"}},
    {"%Iop/", {"%Iop/", "%IOP/", "%iop/"}},
    {"%Chn/", {"%Chn/", "%CHN/", "%chn/"}},
    {"$O", {"$O", "$o"}},
    {"$C", {"$C", "$c"}},
    {"$V", {"$V", "$v"}},
    {"$U", {"$U", "$u"}},
    {"$T", {"$T", "$t"}},
    {"$F", {"$F", "$f"}},
};

// Every label keyword of one part is written alike; the parts of the units
// take the forms in turn.
const char* const kLabelForms[] = {"LB", "Lb", "lb", "LB2"};

// Replaces each {KEY} of a template: {I} is the unit's number, {P} the
// previous unit's, {LB} and {OLB} the unit's label keyword alone and after
// "$O"; any other key is a keyword in the unit's spelling of it.
std::string expand(const std::string& tpl, long unit)
{
    const std::string lb = kLabelForms[unit % 4];
    std::string out;
    out.reserve(tpl.size() + 64);
    for (std::size_t i = 0; i < tpl.size(); ++i) {
        if (tpl[i] != '{' || tpl.find('}', i) == std::string::npos) {
            out += tpl[i];
            continue;
        }
        const std::size_t close = tpl.find('}', i);
        const std::string key = tpl.substr(i + 1, close - i - 1);
        const auto spelling = kSpellings.find(key);
        if (key == "I") {
            out += std::to_string(unit);
        } else if (key == "P") {
            out += std::to_string(unit > 1 ? unit - 1 : unit);
        } else if (key == "LB") {
            out += lb;
        } else if (key == "OLB") {
            out += (unit % 2 ? "$o" : "$O") + lb;
        } else if (spelling != kSpellings.end()) {
            const std::vector<std::string>& forms = spelling->second;
            out += forms[static_cast<std::size_t>(unit) % forms.size()];
        } else {
            // Braces that are no key are the language's own (a process call's count).
            out += tpl[i];
            continue;
        }
        i = close;
    }
    return out;
}

const char kProgramHead[] = R"(// A program written by quvgen: it repeats numbered procedures and processes
// that use every construct of QUV/E.
%Prog generated == [ ]
[
	Asyn
	%Type [
		Money = {Float};
		Id = Int;
		Name = string;
		Flag = BOOL;
		Bit = Logic;
		Item = Record(name : String; price, tax : Money; tags : Array(String; 4, 2));
		Cell = union(i : Int; f : FLOAT);
		Link = Point(Item);
		Grid = ARRAY(Cell; 8);
		Chain = RECORD(link : POINT(Chain); value : int; bits : array(Logic; 2, 2, 2))
	]
	%Glob [
		Limit = 100 : int;
		Rate = -0.5 : float;
		Low = -3 : Int;
		Pi = 3.14159 : Float;
		Greeting = "hello, \"world\"\n\t\u0041\101\7" : String;
		Yes = TT : bool;
		No = ff : Bool;
		On = $T : logic;
		Off = $f : LOGIC
	]
	%Var [
		total, count : int;
		log : Stream;
		out : STREAM;
		first, last : Link;
		grid : Grid;
		slot : nm;
		chain : Chain
	]
)";

const char kProcedure[] = R"(		p{I}({%Inp/} a, b : {Int}; %Inp/ x : {Float}; {%Iop/} sum : Int; %iop/ r : Item) == [
			{%Loc} [ t, u : Int; f : Float; s : {String}; p : Link; v : {Array}(Int; 10); q : {Nm}; w : {Stream} ]
			{%Proc} [
				inner{I}({%Inp/} k : Int) == [ {%Alg} [ {LB} = k1 ^ k > 0 => {$O} k = k - 1 ^ {OLB} = k2; {LB} = k2 => {OLB} = {Return} ] ];
				none{I}( ) == [ %Stm [ {LB} = n1 => {OLB} = {Return} ] ]
			]
			{%Stm} [
				// arithmetic, remainders and the logic operators
				{LB} = s1 => {$O} t = a + b * 2 - x / 3 {Mod} 4 ^ {$O} u = -t % 7 ^ {OLB} = {Next};
				{LB} = s2 ^ (t > Limit) {$C} (u =< 3) {$V} ~(t = 0) => ( {$O} sum = Limit ^ {OLB} = {Next} | {$O} sum = t ^ {OLB} = {Next} );
				{LB} = s3 ^ t >= 1 {$C} u < 2 {$C} t /= u => ( {Write}(sum, "total", 1.5) | {Writeln}(t, {TT}, {FF}, {$T}, {$F}) );
				>> ( {LB} = s4 => {Read}(t, v[t + 1], r.name); {LB} = s5 => {$O} f = {If} t /= 0 {Then} x * 1.5 {Else} (x - 1.0) ^ {OLB} = {Next} );
				* [ {LB} = l1 ^ t > 0 => ( {OLB} = l2 | {OLB} = {Exit} )
					{LB} = l2 => {$O} t = t - 1 ^ {$O} v[t] = *p.price + (*p).tax ^ {OLB} = {Next};
					{LB} = l3 => {OLB} = l1 ];
				? [ {LB} = c1 ^ t = 0 => {OLB} = z | t = 1 => {OLB} = o |~ => {OLB} = d;
					{LB} = z => {$O} t = 1 ^ {OLB} = {Exit};
					{LB} = o => {$O} t = 2 ^ {OLB} = {Next};
					{LB} = o2 => {OLB} = {Exit};
					{LB} = d => >> [ {$O} t = 3; {$O} t = 4 ^ {$O} {NewDec}(nd : Int) ] ^ {OLB} = {Exit} ];
				{LB} = w1 ^ t > 0 => {$O} ( {$O} t = t - 1 ^ ^ {LB} = w1 ) {$U} ( t = 0 ^ {OLB} = {Exit};
				/* pointers, fields, value calls
				   and every constant */
				{LB} = s6 => {$O} p = &r ^ {$O} p->price = ?t + 1 : inner{I}({%Inp/} t | k) ^ {$O} s = "a\tb" ^ {OLB} = {Next};
				{LB} = s7 => {$O} (p)->name = s ^ {$O} q = 0 ^ {$O} f = 2.5 ^ {$O} r.tags[1][2] = Greeting ^ {OLB} = {Next};
				{LB} = f1 => {Fopen}(w, "out.txt");
				{LB} = f2 => {Fwrite}(w, t, s);
				{LB} = f3 => {Fwriteln}(w, t + 1);
				{LB} = f4 => {Fread}(w, t, v[0]);
				{LB} = f5 => {Feof}(w, t);
				{LB} = f6 => {QUVEof}(w, 0);
				{LB} = f7 => {Getc}(w, s);
				{LB} = f8 => {Ungetc}(w, s);
				{LB} = f9 => {Getchar}(s);
				{LB} = f10 => {Ungetchar}(s);
				{LB} = f11 => {Itoc}(65, s);
				{LB} = f12 => {Strlen}(s, t);
				{LB} = f13 => {Fclose}(w);
				{LB} = f14 => none{I}( );
				{LB} = f15 => p{P}({%Inp/} 1 | a; {%Inp/} b * 2 | b; {%Inp/} 0.5 | x; {%Iop/} sum | sum; {%Iop/} r | r);
				{LB} = s9 => {OLB} = {Return}
			]
		])";

const char kProcess[] = R"(		w{I}({%Inp/} n : Int; {%Iop/} acc : Float; {%Chn/} inq(i : {Nm}, *) : Int, outq(*, j : {Nm}) : Float) == [
			{%Loc} [ t : Int; x, y : Float ]
			{%Alg} [
				{LB} = a ^ n > 0 => {$O} inq ? t ^ {$O} outq ! t * 2 ^ {OLB} = b;
				{LB} = b => || [ {SetTimer}(100) h{I}{2}({%Inp/} n - 1 | n; {%Chn/} inq(i, *) | inq(i, *)); h{I}({%Inp/} 0 | n; {%Chn/} outq(*, j) | outq(*, j)) ];
				{LB} = c => !! [ inq? |> {OLB} = {Exit}, outq! |> {$O} acc = 0.0 ^ {OLB} = {Exit}, t > 3 |> {OLB} = {Exit} ];
				{LB} = d => {$O} x == y ^ {$O} {Delete}(x) ^ {OLB} = e;
				{LB} = e ^ inq ? t > 0 => {$O} outq ! &t ^ {$O} y = outq ! ^ {OLB} = {Stop};
				{LB} = f => {$O} t = inq ? 1 + outq ! t ^ {$O} t = inq ? ^ {OLB} = a
			]
		];
		h{I}({%Inp/} n : Int; {%Chn/} inq(i : NM, *) : Int, outq(*, j : nm) : Float) == [ %Stm [ {LB} = h => {OLB} = {Stop} ] ])";

const char kProgramTail[] = R"(	%Pack [ base : %Type [ Id = Int ] ];
	%pack [ util : %Father [ base, core ] %Type [ Key = Int ] %Loc [ k : Int ] %Proc [ f( ) == [ %Stm [ LB = f1 => $OLB = RETURN ] ] ] ];
	%PACK [ core : ]
	%Agt [
		[ spy(%Chn/ c(i : NM, *) : Int) == [ %Alg [ LB = s => $OLB = STOP ] ]; %Pack [ eyes : ] ];
		[ mole( ) == [ %Stm [ LB = m => $OLB = STOP ] ]; %Pack [ ears : %Father [ eyes ] ] ]
	]
	[
		%Loc [ i : Int; r : Item ]
		%Stm [
			LB = m1 => p1(%Inp/ 1 | a; %Inp/ 2 | b; %Inp/ 0.5 | x; %Iop/ i | sum; %Iop/ r | r);
			LB = m2 => $OLB = RETURN
		]
	]
].
)";

// The program: head, the procedures, the processes, the tail; padding comments
// before the tail bring it to the exact line count.
std::string quvProgram(long lines)
{
    const std::string head = expand(kProgramHead, 1);
    const std::string tail = kProgramTail;
    // The section brackets of %Proc and %Pros.
    const long frame = countLines(head) + countLines(tail) + 4;
    std::vector<std::string> procedures;
    std::vector<std::string> processes;
    long used = frame;
    for (long unit = 1;; ++unit) {
        std::string procedure = expand(kProcedure, unit);
        std::string process = unit % 4 == 1 ? expand(kProcess, unit) : std::string();
        const long cost = countLines(procedure) + 1 + (process.empty() ? 0 : countLines(process) + 1);
        if (used + cost > lines && !procedures.empty())
            break;
        used += cost;
        procedures.push_back(std::move(procedure));
        if (!process.empty())
            processes.push_back(std::move(process));
    }

    std::string out = head;
    auto section = [&out](const char* keyword, const std::vector<std::string>& units) {
        out += "\t";
        out += keyword;
        out += " [\n";
        for (std::size_t i = 0; i < units.size(); ++i) {
            out += units[i];
            out += i + 1 < units.size() ? ";\n" : "\n";
        }
        out += "\t]\n";
    };
    section("%Proc", procedures);
    section("%Pros", processes);
    for (long n = used; n < lines; ++n)
        out += "\t// padding\n";
    out += tail;
    return out;
}

const char kValidHead[] = R"(// A program written by quvgen that translates without a diagnostic: numbered
// procedures with records, pointers, arrays, loops, built-ins, calls and value
// calls, a producer and a consumer started by a parallel statement, and a package.
%Prog translatable == [ ]
[
	Syn
	%Type [ Point2 = Record(x, y : Int); Row = Array(Int; 4) ]
	%Var [ total : Int ]
	%Proc [
)";

const char kValidProcedure[] = R"(		p{I}(%Inp/ a : Int; %Iop/ sum : Int; %Iop/ r : Row) == [
			%Loc [ t, i : Int; s : String; p : Point2; q : Point(Point2) ]
			%Stm [
				LB = s1 => $O t = a * 2 + 1 ^ $O p.x = t ^ $O p.y = a ^ $O q = &p ^ $OLB = NEXT;
				LB = s2 ^ t > 3 => ( $O sum = sum + q->x ^ $OLB = NEXT | $O sum = sum - 1 ^ $OLB = NEXT );
				LB = s3 => $O i = 0 ^ $OLB = NEXT;
				* [ LB = l ^ i < 4 => ( $OLB = l | $OLB = EXIT )
					LB = f => $O r[i] = r[i] + i ^ $O i = i + 1 ^ $OLB = l ];
				LB = s4 => Itoc(65, s);
				LB = s5 => Strlen(t, s);
				LB = s6 => $O t = ? t + 1 : p{P}(%Inp/ 1 | a; %Iop/ sum | sum; %Iop/ r | r) ^ $OLB = NEXT;
				LB = s7 => Writeln("p{I} ", a, " ", sum, " ", s, " ", t);
				LB = s8 => $OLB = RETURN
			]
		])";

const char kValidTail[] = R"(	]
	%Pros [
		producer(%Chn/ out(*, k : NM) : Int) == [ %Stm [ LB = s => $O out ! 1 ^ $OLB = STOP ] ];
		consumer(%Chn/ inq(k : NM, *) : Int) == [ %Loc [ v : Int ] %Stm [ LB = r => $O inq ? v ^ $OLB = STOP ] ]
	]
	%Pack [ counter : %Loc [ count : Int ] %Proc [ bump( ) == [ %Stm [ LB = b => $O count = count + 1 ^ $OLB = RETURN ] ] ] ]
	[
		%Loc [ pc, cc : NM; r : Row; f : Stream ]
		%Stm [
			LB = b => $O pc == producer ^ $O cc == consumer ^ $OLB = NEXT;
			LB = run => || [ pc(%Chn/ data(cc, *) | out(cc, *)); cc(%Chn/ data(*, pc) | inq(*, pc)) ];
			LB = c => p1(%Inp/ 1 | a; %Iop/ total | sum; %Iop/ r | r);
			LB = o => Fopen(f, "out.txt");
			LB = w => Fwriteln(f, total);
			LB = x => Fclose(f);
			LB = e => $OLB = RETURN
		]
	]
].
)";

// The valid program: numbered procedures, each calling the one before it,
// until the next would not fit; comment lines make up the rest.
std::string validProgram(long lines)
{
    const std::string head = kValidHead;
    const std::string tail = kValidTail;
    long used = countLines(head) + countLines(tail);
    std::string procedures;
    for (long unit = 1;; ++unit) {
        // expand() spells no keyword of these templates: they hold no key but {I} and {P}.
        std::string text = (unit > 1 ? ";\n" : "") + expand(kValidProcedure, unit);
        if (unit == 1) {
            // The first has no procedure before it to call.
            const std::size_t call = text.find("$O t = ? t + 1 : p1(");
            text.replace(call, text.find(" ^ $OLB", call) - call, "$O t = t + 1");
        }
        const long cost = countLines(text) + (unit == 1 ? 1 : 0);
        if (used + cost > lines && unit > 1)
            break;
        used += cost;
        procedures += text;
    }
    std::string out = head + procedures + "\n";
    for (long n = used; n < lines; ++n)
        out += "\t// padding\n";
    return out + tail;
}

const char kCppHead[] = R"(// A C++ file written by quvgen, as many lines as the QUV/E program beside it.
extern "C" int printf(const char* format, ...);

namespace generated {

struct Item {
    const char* name;
    double price;
    double tax;
    int tags[4][2];
};

)";

const char kCppUnit[] = R"(struct Record{I} {
    int count;
    double total;
    Item items[10];
    Record{I}* next;
};

static int step{I}(int a, int b, double x, Item& item)
{
    Record{I} r{};
    r.items[0] = item;
    int t = a + b * 2 - static_cast<int>(x / 3) % 4;
    int u = -t % 7;
    if ((t > 100 && u <= 3) || !(t == 0)) {
        r.count = t;
    } else {
        r.count = u;
    }
    for (int i = 0; i < 10 && t > 0; ++i) {
        r.items[i].price = r.items[i].tax + t;
        --t;
    }
    switch (t) {
    case 0:
        t = 1;
        break;
    case 1:
        t = 2;
        break;
    default:
        t = 3;
        break;
    }
    while (t > 0)
        t = t - 1;
    Record{I}* p = &r;
    p->total = t != 0 ? x * 1.5 : x - 1.0;
    printf("%d %s %f\n", t, p->items[0].name, p->total);
    return t + u + step{P}(a - 1, b, x, item) * 0;
}
)";

std::string cppFile(long lines)
{
    const std::string head = kCppHead;
    const std::string tail = "\n} // namespace generated\n";
    const long frame = countLines(head) + countLines(tail);
    std::string units;
    long used = frame;
    for (long unit = 1;; ++unit) {
        const std::string text = expand(kCppUnit, unit) + "\n";
        const long cost = countLines(text);
        if (used + cost > lines && unit > 1)
            break;
        used += cost;
        units += text;
    }
    std::string out = head + units;
    for (long n = used; n < lines; ++n)
        out += "// padding\n";
    return out + tail;
}

int usage()
{
    std::cerr << "usage: quvgen e|cpp|valid LINES\n       quvgen random SEED [--files DIR [--without MARKS]]\n";
    return 2;
}

bool writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (out)
        return true;
    std::cerr << "quvgen: cannot write " << path << "\n";
    return false;
}

// Writes the program of SEED without the marks WITHOUT into DIR.
int writeProgram(unsigned long long seed, const std::string& dir, const std::set<int>& without)
{
    const auto program = quvgen::randomProgram(seed, without);
    if (!program) {
        std::cerr << "quvgen: the output of the program without those marks cannot be told\n";
        return 3;
    }
    std::string project = "[QuvBench]\nProject Name=r\nProject File Num=" + std::to_string(program->sources.size()) + "\n";
    for (std::size_t i = 0; i < program->sources.size(); ++i) {
        const auto& source = program->sources[i];
        project += "File " + std::to_string(i + 1) + "=" + source.first + "\n";
        if (!writeFile(dir + "/" + source.first, source.second))
            return 1;
    }
    std::string marks;
    for (int m : program->marks)
        marks += std::to_string(m) + "\n";
    if ((program->sources.size() > 1 && !writeFile(dir + "/r.prj", project)) ||
        !writeFile(dir + "/r.expected", program->output) || !writeFile(dir + "/r.marks", marks))
        return 1;
    return 0;
}

bool parseMarks(const std::string& text, std::set<int>& marks)
{
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        char* end = nullptr;
        const long m = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || m <= 0)
            return false;
        marks.insert(static_cast<int>(m));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "random") == 0) {
        char* end = nullptr;
        const unsigned long long seed = std::strtoull(argv[2], &end, 10);
        if (*end != '\0' || argv[2][0] == '\0' || argv[2][0] == '-')
            return usage();
        if (argc == 3) {
            std::cout << quvgen::randomProgram(seed);
            return 0;
        }
        std::set<int> without;
        if (std::strcmp(argv[3], "--files") != 0 || argc < 5 ||
            (argc > 5 && (argc != 7 || std::strcmp(argv[5], "--without") != 0 || !parseMarks(argv[6], without))))
            return usage();
        return writeProgram(seed, argv[4], without);
    }
    if (argc != 3)
        return usage();
    char* end = nullptr;
    const long lines = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || lines <= 0)
        return usage();
    if (std::strcmp(argv[1], "e") == 0)
        std::cout << quvProgram(lines);
    else if (std::strcmp(argv[1], "cpp") == 0)
        std::cout << cppFile(lines);
    else if (std::strcmp(argv[1], "valid") == 0)
        std::cout << validProgram(lines);
    else
        return usage();
    return 0;
}
