// What the editor asks of the window, call by call: the areas it invalidates,
// the scroll bars, the caret, the clipboard and the events, and the layout it
// paints. Sessions are played with the window tracing and compared with the
// traces kept under tests/data/editor_traces, so that moving code between the
// editor's classes can be seen to leave every repaint where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "plain_editor.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {

const std::string TraceDir = QUV_TEST_DATA "/editor_traces/";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Empty when the trace is the kept one; else where the two first part.
std::string TraceDifference(const std::string& name, const std::string& trace)
{
    const std::string kept = ReadFile(TraceDir + name + ".trace");
    if (kept.empty())
        return "no trace kept for " + name;
    std::istringstream a(kept), b(trace);
    std::string x, y;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, x));
        const bool moreB = static_cast<bool>(std::getline(b, y));
        if (!moreA && !moreB)
            return std::string();
        if (!moreA || !moreB || x != y)
            return name + " line " + std::to_string(line) + ": kept \"" + (moreA ? x : "<end>") + "\", now \"" +
                   (moreB ? y : "<end>") + "\"";
    }
}

// One line per painted line: where it goes and a digest of its cells.
void NotePaint(EditorFixture& f)
{
    for (const LineLayout& line : f.model.LayoutView()) {
        uint64_t digest = 1469598103934665603ull;
        auto mix = [&digest](uint64_t v) { digest = (digest ^ v) * 1099511628211ull; };
        for (const Cell& cell : line.cells) {
            mix(static_cast<uint64_t>(cell.x));
            mix(static_cast<uint64_t>(cell.width));
            mix(cell.textColor);
            mix(cell.backColor);
            for (char c : cell.bytes)
                mix(static_cast<unsigned char>(c));
        }
        f.win.Note("paint ", line.line, ' ', line.top, line.caretLine ? " caret " : " ", line.lineBackColor, ' ',
                   line.cells.size(), ' ', digest);
    }
}

std::string PlayScript(const std::vector<uint8_t>& script, bool fuzzed)
{
    EditScript run(fuzzed ? EditScript::FuzzedScriptWork : SIZE_MAX);
    run.Fixture().win.tracing = true;
    const size_t size = fuzzed ? std::min(script.size(), EditScript::FuzzedScriptBytes) : script.size();
    EXPECT_EQ(run.Run(script.data(), size), "");
    NotePaint(run.Fixture());
    return run.Fixture().win.trace;
}

TEST(EditorRepaintTrace, ScriptsInvalidateAsBefore)
{
    struct Case {
        std::string name;
        std::vector<uint8_t> script;
        bool fuzzed;
    };
    std::vector<Case> cases;
    for (const auto& entry : std::filesystem::directory_iterator(QUV_TEST_DATA "/fuzz/editor"))
        if (entry.path().extension() == ".script") {
            const std::string bytes = ReadFile(entry.path().string());
            cases.push_back({"fuzz-" + entry.path().stem().string(), {bytes.begin(), bytes.end()}, true});
        }
    for (unsigned seed = 1; seed <= 4; ++seed) {
        std::mt19937 rng(seed);
        std::vector<uint8_t> script(400);
        for (uint8_t& b : script)
            b = static_cast<uint8_t>(rng());
        cases.push_back({"random-" + std::to_string(seed), script, false});
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
    ASSERT_GE(cases.size(), 5u);
    for (const Case& c : cases)
        EXPECT_EQ(TraceDifference(c.name, PlayScript(c.script, c.fuzzed)), "");
}

TEST(EditorRepaintTrace, ScrollingMouseAndCommandsInvalidateAsBefore)
{
    EditorFixture f;
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) +
                (i % 7 == 0 ? "\t/* a comment that runs on past the window */" : " IF x1") +
                (i == 20 ? std::string(90, 'w') : "") + "\n";
    f.win.tracing = true;
    // Each action, then what the window would paint after it.
    const std::vector<std::function<void()>> actions = {
        [&] { f.model.SetText(text); },
        [&] { f.model.OnSize(); },
        [&] { f.model.OnVScroll(ScrollLineDown, 0); },
        [&] { f.model.OnVScroll(ScrollLineUp, 0); },
        [&] { f.model.OnVScroll(ScrollPageDown, 0); },
        [&] { f.model.OnVScroll(ScrollThumbTrack, 30); },
        [&] { f.model.OnVScroll(ScrollThumbPosition, 25); },
        [&] { f.model.OnVScroll(ScrollPageUp, 0); },
        [&] { f.model.OnVScroll(ScrollBottom, 0); },
        [&] { f.model.OnVScroll(ScrollTop, 0); },
        [&] { f.model.LocatePos(21, 80); },
        [&] { f.model.OnHScroll(ScrollLineDown, 0); },
        [&] { f.model.OnHScroll(ScrollLineUp, 0); },
        [&] { f.model.OnHScroll(ScrollPageDown, 0); },
        [&] { f.model.OnHScroll(ScrollThumbTrack, 12); },
        [&] { f.model.OnHScroll(ScrollThumbPosition, 3); },
        [&] { f.model.OnHScroll(ScrollBottom, 0); },
        [&] { f.model.OnHScroll(ScrollTop, 0); },
        [&] { f.model.OnMouseWheel(ModNone, -120); },
        [&] { f.model.OnMouseWheel(ModNone, 240); },
        [&] { f.model.OnMouseWheel(ModControl, -120); },
        [&] { f.model.OnLButtonDown(f.X(3), f.Y(2), ModNone); },
        [&] { f.model.OnMouseMove(f.X(9), f.Y(5)); },
        [&] { f.model.OnLButtonUp(); },
        [&] { f.model.OnLButtonDown(f.X(1), f.Y(7), ModShift); },
        [&] { f.model.OnLButtonUp(); },
        [&] { f.model.DoCommand(EditCommand::Copy); },
        [&] { f.model.DoCommand(EditCommand::Cut); },
        [&] { f.model.DoCommand(EditCommand::Undo); },
        [&] { f.model.DoCommand(EditCommand::Redo); },
        [&] { f.model.DoCommand(EditCommand::Paste); },
        [&] { f.model.OnDoubleClick(f.X(2), f.Y(4)); },
        [&] { f.model.ReplaceSelection("one\ntwo\tthree\n"); },
        [&] { f.model.DoCommand(EditCommand::BreakPoint); },
        [&] { f.model.DoCommand(EditCommand::SelectAll); },
        [&] { f.Key(KeyDelete); },
        [&] { f.model.DoCommand(EditCommand::Undo); },
        [&] { f.model.SetSelection(2, 50, 4, 3); },
        [&] { f.Key(KeyNext, ModShift); },
        [&] { f.Key(KeyPrior); },
        [&] { f.Key(KeyEnd, ModControl); },
        [&] { f.Key(KeyReturn, ModControl); },
        [&] { f.Type("ab\xD6\xD0\t"); },
        [&] { f.Key(KeyBack); },
        [&] { f.Key(KeyHome, ModControl); },
        [&] { f.Key(KeyRight, ModControl | ModShift); },
        [&] { f.Key(KeyDown, ModShift); },
        [&] { f.Type("x"); },
        [&] { f.model.TranslateAccelerator(KeyBack, ModAlt); },
        [&] { f.model.TranslateAccelerator('Y', ModControl); },
        [&] { f.model.OnKillFocus(); },
        [&] { f.model.OnSetFocus(); },
        [&] { f.win.client = {200, 90}; f.model.OnSize(); },
        [&] { f.model.EnsureCaretVisible(); },
        [&] { f.model.RecolorAll(); },
        [&] { f.model.SetText(""); },
        [&] { f.model.Reset(); },
    };
    for (size_t i = 0; i < actions.size(); ++i) {
        f.win.Note("action ", i);
        actions[i]();
        NotePaint(f);
    }
    EXPECT_EQ(TraceDifference("session", f.win.trace), "");
}

} // namespace
