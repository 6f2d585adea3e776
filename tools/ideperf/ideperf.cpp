// Times the IDE's models where a user waits, for scripts/bench. Every verb
// prints its own figures (seconds from a monotonic clock around the work
// alone) on one line; the whole process can be timed from outside as well.
//
//     ideperf text LINES FILE        writes a QUV/E-like text of LINES lines
//     ideperf split FILE             reads FILE and splits it into lines
//     ideperf load FILE              reads FILE into the editor model
//     ideperf edit FILE PASTE_MB     load, keystrokes, Enter, paste, undo and
//                                    redo, a cut of everything and its undo
//     ideperf large FILE             the edits ideperf_window times, in the model
//     ideperf files DIR COUNT MB     writes COUNT files of about MB in all
//     ideperf find DIR TEXT          finds TEXT in DIR's files, rows kept
//     ideperf replace DIR TEXT NEW   replaces TEXT by NEW in DIR's files
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "editor/editor.hpp"
#include "ide/model/find_in_files.hpp"
#include "ide/model/output_rows.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A window that is always there and remembers nothing.
class NullWindow : public quvpad::EditorView, public quvpad::TextMeasurer, public quvpad::CaretPort,
                   public quvpad::ScrollBarPort, public quvpad::ClipboardPort, public quvpad::EditorEvents {
public:
    quvpad::ClientSize GetClientSize() const override { return {1200, 900}; }
    bool HasFocus() const override { return true; }
    void SetFocus() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    bool HasCapture() const override { return false; }
    void Invalidate(const quvpad::Rect&, bool) override {}
    void InvalidateAll(bool) override {}
    void UpdateNow() override {}
    void ScrollPixels(int, int) override {}
    void PostChar(unsigned) override {}
    void NotifyParent(int) override {}
    void ForwardMouseMove(int, int) override {}
    void InvalidateMargin(bool) override {}
    void RedrawMarginLine(int) override {}
    int TextWidth(const char*, size_t length) const override { return static_cast<int>(length) * 8; }
    void Create(int, int) override {}
    void Show() override {}
    void Hide() override {}
    void Destroy() override {}
    void SetPosition(int, int) override {}
    void SetScrollInfo(quvpad::ScrollBar, const quvpad::ScrollInfo&) override {}
    void SetScrollPos(quvpad::ScrollBar, int) override {}
    bool HasScrollBar(quvpad::ScrollBar) const override { return true; }
    bool Open() override { return true; }
    void Close() override {}
    bool SetText(const std::string& t) override
    {
        clipboard = t;
        return true;
    }
    bool GetText(std::string& t) override
    {
        t = clipboard;
        return true;
    }
    bool CanPaste() override { return true; }
    void PosChanged(int, int, int, int) override {}
    void ModifiedChanged(bool) override {}

    quvpad::EditorPorts Ports() { return quvpad::EditorPorts{*this, *this, *this, *this, *this, *this}; }
    std::string clipboard;
};

struct Editor {
    quvpad::SettingsBlock settings;
    NullWindow window;
    quvpad::EditorModel model;

    static quvpad::SettingsBlock& Configure(quvpad::SettingsBlock& s)
    {
        s.SetMetrics(8, 16, 0);
        return s;
    }
    Editor() : model(Configure(settings), window.Ports()) {}
};

// Seconds one command takes.
double Timed(Editor& e, quvpad::EditCommand command)
{
    const Clock::time_point start = Clock::now();
    e.model.DoCommand(command);
    return Since(start);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        std::cerr << "ideperf: cannot read " << path << "\n";
        std::exit(1);
    }
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Lines of a QUV/E program: statements, declarations, comments (some of them
// block comments over several lines), strings and numbers, 46 bytes a line on
// average.
std::string Line(long i)
{
    switch (i % 8) {
    case 0: return "\t\t\tLB = s" + std::to_string(i) + " => $O t = a * 2 + 1 ^ $OLB = NEXT;";
    case 1: return "\t\t\t%Loc [ t, i : Int; s : String; p : Point2 ] // locals of p";
    case 2: return "\t\t\tLB = w => Writeln(\"p\", a, \" \", sum); // " + std::to_string(i);
    case 3: return "\t\t\t/* a note over two lines";
    case 4: return "\t\t\t   ends here */ $O x = x + 1 mod 7 ^";
    case 5: return "\t\t\tLB = f ^ i < 4 => ( $O r[i] = 3.25 | $OLB = EXIT )";
    case 6: return "\t\tp" + std::to_string(i) + "(%Inp/ a : Int; %Iop/ sum : Int) == [";
    default: return "\t\t] // end of the procedure body";
    }
}

int Text(long lines, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    for (long i = 0; i < lines; ++i)
        out << Line(i) << '\n';
    return out ? 0 : 1;
}

// The yardstick of a load: the file's lines as strings, read with getline,
// a carriage return at a line's end dropped.
int Split(const std::string& path)
{
    Clock::time_point start = Clock::now();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "ideperf: cannot read " << path << "\n";
        return 1;
    }
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    std::printf("split %zu lines %.3f s\n", lines.size(), Since(start));
    return 0;
}

int Load(const std::string& path)
{
    Clock::time_point start = Clock::now();
    std::string text = ReadFile(path);
    Editor e;
    e.model.SetText(text);
    std::printf("load %d lines %.3f s\n", e.model.GetLineCount(), Since(start));
    return 0;
}

int Edit(const std::string& path, double pasteMb)
{
    std::string text = ReadFile(path);
    Editor e;
    Clock::time_point start = Clock::now();
    e.model.SetText(text);
    double load = Since(start);
    int lines = e.model.GetLineCount();
    int middle = lines / 2;

    // Keystrokes in the middle of the file: letters typed, then taken back.
    const int keys = 2000;
    e.model.LocatePos(middle + 1, 5);
    start = Clock::now();
    for (int i = 0; i < keys; ++i)
        e.model.OnChar('a' + i % 26);
    for (int i = 0; i < keys; ++i)
        e.model.OnKeyDown(quvpad::KeyBack, quvpad::ModNone);
    double key = Since(start) / (2 * keys);

    const int enters = 500;
    start = Clock::now();
    for (int i = 0; i < enters; ++i)
        e.model.OnChar('\r');
    double enter = Since(start) / enters;

    // The paste: the file's own lines up to PASTE_MB megabytes.
    size_t want = static_cast<size_t>(pasteMb * 1e6);
    size_t cut = text.find('\n', std::min(want, text.size() - 1));
    e.window.clipboard = text.substr(0, cut == std::string::npos ? text.size() : cut + 1);
    e.model.LocatePos(middle + 1, 3);
    const double paste = Timed(e, quvpad::EditCommand::Paste);
    int pasted = e.model.GetLineCount();
    const size_t pastedBytes = e.window.clipboard.size();
    const double undo = Timed(e, quvpad::EditCommand::Undo);
    const double redo = Timed(e, quvpad::EditCommand::Redo);
    // Everything cut, and the cut undone.
    e.model.DoCommand(quvpad::EditCommand::SelectAll);
    const int all = e.model.GetLineCount();
    const double cutting = Timed(e, quvpad::EditCommand::Cut);
    const double uncut = Timed(e, quvpad::EditCommand::Undo);
    std::printf("edit %d lines: load %.3f s, key %.4f ms, Enter %.4f ms, paste %.2f MB (%d lines) %.3f s, "
                "undo %.3f s, redo %.3f s, cut of all %d lines %.3f s, its undo %.3f s\n",
                lines, load, key * 1e3, enter * 1e3, pastedBytes / 1e6, pasted - lines - enters,
                paste, undo, redo, all, cutting, uncut);
    return 0;
}

// The edits ideperf_window times in the IDE's window, in the model alone:
// the file loaded, its whole text copied and pasted into an empty editor,
// that undone and redone, then all of it cut and the cut undone. A row each,
// as ideperf_window prints them.
int Large(const std::string& path)
{
    const std::string text = ReadFile(path);
    Editor source;
    Clock::time_point start = Clock::now();
    source.model.SetText(text);
    const int lines = source.model.GetLineCount();
    auto row = [lines](const char* what, double seconds) {
        std::printf("%-6s %8d lines %8.3f s\n", what, lines, seconds);
    };
    row("open", Since(start));
    source.model.DoCommand(quvpad::EditCommand::SelectAll);
    source.model.DoCommand(quvpad::EditCommand::Copy);
    Editor e;
    e.window.clipboard = source.window.clipboard;
    const struct {
        const char* what;
        quvpad::EditCommand command;
    } steps[] = {{"paste", quvpad::EditCommand::Paste}, {"undo", quvpad::EditCommand::Undo},
                 {"redo", quvpad::EditCommand::Redo}, {"cut", quvpad::EditCommand::Cut},
                 {"undo", quvpad::EditCommand::Undo}};
    for (const auto& step : steps) {
        if (step.command == quvpad::EditCommand::Cut)
            e.model.DoCommand(quvpad::EditCommand::SelectAll);
        row(step.what, Timed(e, step.command));
    }
    return e.model.GetText() == source.model.GetText() ? 0 : 1;
}

// COUNT files in DIR (ten to a folder) of MB in all, the editor's lines.
int Files(const std::string& dir, long count, double mb)
{
    size_t each = static_cast<size_t>(mb * 1e6 / count);
    std::string body;
    for (long i = 0; body.size() < each; ++i)
        body += Line(i) + "\n";
    ::mkdir(dir.c_str(), 0777);
    for (long f = 0; f < count; ++f) {
        std::string folder = dir + "/d" + std::to_string(f / 10);
        ::mkdir(folder.c_str(), 0777);
        std::ofstream out(folder + "/f" + std::to_string(f) + ".e", std::ios::binary);
        out << "// file " << f << "\n" << body;
        if (!out)
            return 1;
    }
    return 0;
}

int Find(const std::string& dir, const std::string& text, const std::string* replacement)
{
    Clock::time_point start = Clock::now();
    ide::QuvFindJob job = replacement
        ? ide::QuvFindJob(1, text, *replacement, "*.*", dir, 1, 0, 1, 0)
        : ide::QuvFindJob(0, text, "*.*", dir, 1, 0, 1, 0);
    ide::LookupResultModel rows;
    size_t matches = 0;
    ide::FindInFilesRun run(job, [&](ide::LookupEntry row) {
        if (row.Line() >= 0)
            ++matches;
        rows.Add(std::move(row));
    });
    run.Run();
    std::printf("%s %zu rows, %zu matches %.3f s\n", replacement ? "replace" : "find", static_cast<size_t>(rows.Count()),
                matches, Since(start));
    return 0;
}

int Usage()
{
    std::cerr << "usage: ideperf text LINES FILE | split FILE | load FILE | edit FILE PASTE_MB | large FILE |\n"
                 "       files DIR COUNT MB | find DIR TEXT | replace DIR TEXT NEW\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> a(argv + 1, argv + argc);
    if (a.size() == 3 && a[0] == "text")
        return Text(std::atol(a[1].c_str()), a[2]);
    if (a.size() == 2 && a[0] == "split")
        return Split(a[1]);
    if (a.size() == 2 && a[0] == "load")
        return Load(a[1]);
    if (a.size() == 3 && a[0] == "edit")
        return Edit(a[1], std::atof(a[2].c_str()));
    if (a.size() == 2 && a[0] == "large")
        return Large(a[1]);
    if (a.size() == 4 && a[0] == "files")
        return Files(a[1], std::atol(a[2].c_str()), std::atof(a[3].c_str()));
    if (a.size() == 3 && a[0] == "find")
        return Find(a[1], a[2], nullptr);
    if (a.size() == 4 && a[0] == "replace")
        return Find(a[1], a[2], &a[3]);
    return Usage();
}
