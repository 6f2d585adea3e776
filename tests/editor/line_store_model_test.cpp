// The editor's hand-written stores against plain models: the line store
// (GapVector) against std::vector, the undo group against a vector of records,
// and the text store's lazy colouring, line lengths and break points against
// colouring the plain lines from the top. Random operations from fixed seeds,
// compared after every operation, at sizes that cross every growth of the
// store and every state in which its gap is used up.
#include "editor/color_text_buffer.hpp"
#include "editor/color_tokenizer.hpp"
#include "editor/undo_group.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace quvpad;

namespace {

// A line of text whose buffer is on the heap (longer than a short string), so
// that a lost or twice-destroyed item shows as wrong text or a sanitizer report,
// and a count of the items alive, so that a leak or a double destruction shows
// as a wrong count.
struct Tracked {
    static int alive;
    std::string text;
    explicit Tracked(std::string t) : text(std::move(t)) { ++alive; }
    Tracked(Tracked&& o) noexcept : text(std::move(o.text)) { ++alive; }
    Tracked(const Tracked&) = delete;
    ~Tracked() { --alive; }
};
int Tracked::alive = 0;

std::string Item(int n) { return "item number " + std::to_string(n) + " with room on the heap"; }

TEST(LineStore, EraseFromAFullStoreKeepsEveryOtherItem)
{
    // The fault this guards against: 16 items in room for exactly 16, erase(3)
    // emptied items 3 to 14 and destroyed one of them twice.
    GapVector<std::string> store;
    store.reserve(16);
    for (int i = 0; i < 16; ++i)
        store.insert(static_cast<size_t>(i), Item(i));
    ASSERT_EQ(store.size(), store.capacity());
    store.erase(3);
    ASSERT_EQ(store.size(), 15u);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(store[static_cast<size_t>(i)], Item(i < 3 ? i : i + 1)) << i;
}

TEST(LineStore, EveryEraseFromAFullStoreWhereverTheLastEditWas)
{
    struct Fill { const char* name; bool atFront; };
    for (Fill fill : {Fill{"appended", false}, Fill{"prepended", true}}) {
        for (size_t erased = 0; erased < 16; ++erased) {
            ASSERT_EQ(Tracked::alive, 0);
            {
                GapVector<Tracked> store;
                std::vector<std::string> model;
                store.reserve(16);
                for (int i = 0; i < 16; ++i) {
                    const size_t at = fill.atFront ? 0 : static_cast<size_t>(i);
                    store.insert(at, Tracked(Item(i)));
                    model.insert(model.begin() + static_cast<long>(at), Item(i));
                }
                ASSERT_EQ(store.size(), store.capacity()) << fill.name;
                store.erase(erased);
                model.erase(model.begin() + static_cast<long>(erased));
                ASSERT_EQ(Tracked::alive, 15) << fill.name << " erase " << erased;
                for (size_t i = 0; i < model.size(); ++i)
                    EXPECT_EQ(store[i].text, model[i]) << fill.name << " erase " << erased << " item " << i;
            }
            EXPECT_EQ(Tracked::alive, 0) << fill.name << " erase " << erased;
        }
    }
}

TEST(LineStore, PlacesOutsideTheStoreAreRefused)
{
    GapVector<std::string> store;
    EXPECT_THROW(store.erase(0), std::out_of_range);
    EXPECT_THROW(store.insert(1, "a"), std::out_of_range);
    store.insert(0, "a");
    EXPECT_THROW(store.erase(1), std::out_of_range);
    EXPECT_THROW(store.insert(2, "b"), std::out_of_range);
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(store[0], "a");
}

// Where the next edit goes: mostly at or next to the last one, as typing, a
// paste or an undo does, else anywhere, or at either end.
size_t Place(std::mt19937& rng, size_t last, size_t size)
{
    switch (rng() % 4) {
    case 0: return std::min(size, last);
    case 1: return std::min(size, last + rng() % 3);
    case 2: return rng() % 2 ? 0 : size;
    default: return rng() % (size + 1);
    }
}

TEST(LineStore, AgreesWithAVectorOverRandomEdits)
{
    int fullErases = 0, growths = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        GapVector<Tracked> store;
        std::vector<std::string> model;
        // Each seed grows the store to a few thousand items and shrinks it
        // again, in waves, so that every growth is crossed several times.
        const size_t peak = 200 + seed * 250;
        size_t last = 0;
        int serial = 0;
        bool growing = true;
        for (int step = 0; step < 12000; ++step) {
            const size_t size = model.size();
            if (size >= peak)
                growing = false;
            else if (size < 8)
                growing = true;
            const size_t capacity = store.capacity();
            const unsigned roll = rng() % 100;
            std::string what;
            if (size > 0 && size == capacity && roll < 50) {
                // The gap is used up: a removal anywhere must not move it.
                last = rng() % size;
                store.erase(last);
                model.erase(model.begin() + static_cast<long>(last));
                ++fullErases;
                what = "erase from a full store";
            } else if (roll < 2) {
                const size_t room = size + rng() % 40;
                store.reserve(room);
                what = "reserve";
            } else if (roll < 3 && rng() % 8 == 0) {
                store.clear();
                model.clear();
                last = 0;
                what = "clear";
            } else if (size == 0 || (growing ? roll < 70 : roll < 30)) {
                last = Place(rng, last, size);
                store.insert(last, Tracked(Item(++serial)));
                model.insert(model.begin() + static_cast<long>(last), Item(serial));
                if (store.capacity() != capacity)
                    ++growths;
                what = "insert";
            } else {
                last = std::min(Place(rng, last, size), size - 1);
                store.erase(last);
                model.erase(model.begin() + static_cast<long>(last));
                what = "erase";
            }
            ASSERT_EQ(store.size(), model.size()) << "seed " << seed << " step " << step << ' ' << what;
            ASSERT_EQ(Tracked::alive, static_cast<int>(model.size())) << "seed " << seed << " step " << step << ' ' << what;
            // Every item now and then; between, the items around the edit,
            // where the gap was and is.
            const bool whole = step % 8 == 0 || model.size() < 100;
            const size_t from = whole ? 0 : std::max<size_t>(last, 40) - 40;
            const size_t to = whole ? model.size() : std::min(model.size(), last + 40);
            for (size_t i = from; i < to; ++i)
                ASSERT_EQ(store[i].text, model[i]) << "seed " << seed << " step " << step << ' ' << what << " item " << i;
        }
    }
    EXPECT_EQ(Tracked::alive, 0);
    // The runs reached what they are meant to test.
    EXPECT_GT(fullErases, 100);
    EXPECT_GT(growths, 50);
}

EditOp Op(int n)
{
    EditOp op;
    op.text = Item(n);
    op.kind = static_cast<EditOpKind>(n % 3);
    op.line = n;
    op.caretColumn = n + 1;
    op.caretLine = n + 2;
    op.anchorColumn = n + 3;
    op.anchorLine = n + 4;
    return op;
}

bool Same(const EditOp& a, const EditOp& b)
{
    return a.text == b.text && a.kind == b.kind && a.line == b.line && a.caretColumn == b.caretColumn &&
           a.caretLine == b.caretLine && a.anchorColumn == b.anchorColumn && a.anchorLine == b.anchorLine;
}

TEST(UndoGroupStore, AgreesWithAVectorOverRandomPushesAndPops)
{
    std::mt19937 rng(7);
    UndoGroup group;
    std::vector<EditOp> model;
    int serial = 0;
    for (int step = 0; step < 20000; ++step) {
        const unsigned roll = rng() % 100;
        if (roll < 55) {
            group.PushOp(Op(++serial));
            model.push_back(Op(serial));
        } else if (roll < 99) {
            EditOp op;
            const bool popped = group.PopOp(op);
            ASSERT_EQ(popped, !model.empty()) << step;
            if (popped) {
                ASSERT_TRUE(Same(op, model.back())) << step;
                model.pop_back();
            }
        } else {
            group.Clear();
            model.clear();
        }
        ASSERT_EQ(group.Size(), model.size()) << step;
        ASSERT_EQ(group.Empty(), model.empty()) << step;
        const auto& ops = group.Ops();
        ASSERT_EQ(ops.size(), model.size()) << step;
        for (size_t i = 0; i < model.size(); ++i)
            ASSERT_TRUE(Same(ops[i], model[i])) << step << " op " << i;
    }
}

// ---- the text store: lines, colour state per line, lengths, break points ----

SettingsBlock ClassColors()
{
    SettingsBlock s;
    for (int c = 0; c < ColorClassCount; ++c)
        s.SetColor(c, 0x100 + c);
    return s;
}

// Lines built of pieces that open and close block comments, so that the state
// at a line start changes as lines come, go and change.
std::string RandomLine(std::mt19937& rng)
{
    static const char* const pieces[] = {"/*", "*/", "IF x", " ", "123", "\"s\"", "%PROG", "a:=b;",
                                         "\xD6\xD0", "--> ", "// c", "\t", "*", "/"};
    std::string line;
    const unsigned count = rng() % 7;
    for (unsigned i = 0; i < count; ++i)
        line += pieces[rng() % (sizeof pieces / sizeof *pieces)];
    if (rng() % 16 == 0)
        line += std::string(1000 + rng() % 100, 'w');   // a long line, counted apart
    return line;
}

// What colouring every line from the top gives: one colour per byte.
std::vector<std::vector<uint32_t>> PlainColours(const std::vector<std::string>& lines, std::vector<int>& starts)
{
    std::vector<std::vector<uint32_t>> out;
    starts.clear();
    int state = StateNormal;
    for (const std::string& line : lines) {
        starts.push_back(state);
        std::vector<uint32_t> colours;
        for (size_t pos = 0; pos < line.size();) {
            ColorToken t = ScanToken(line, pos, state);
            colours.insert(colours.end(), t.length, 0x100u + static_cast<uint32_t>(t.colorClass));
            pos += t.length;
        }
        out.push_back(std::move(colours));
    }
    starts.push_back(state);
    return out;
}

TEST(TextStore, ColoursLengthsAndBreakPointsAgreeWithPlainLines)
{
    const SettingsBlock settings = ClassColors();
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        ColorTextBuffer store(settings);
        store.Reset();
        std::vector<std::string> lines{""};
        std::vector<int> breaks{0};
        const size_t peak = 60 + seed * 60;
        bool growing = true;
        int last = 0;
        for (int step = 0; step < 3000; ++step) {
            const int count = static_cast<int>(lines.size());
            if (count >= static_cast<int>(peak))
                growing = false;
            else if (count < 4)
                growing = true;
            const unsigned roll = rng() % 100;
            const int near = std::clamp(last + static_cast<int>(rng() % 3) - 1, 0, count - 1);
            const int at = rng() % 2 ? near : static_cast<int>(rng() % static_cast<unsigned>(count));
            std::string what;
            if (roll < 3) {
                store.Reset();
                lines.assign(1, "");
                breaks.assign(1, 0);
                what = "reset";
            } else if (growing ? roll < 55 : roll < 25) {
                const int where = rng() % 4 == 0 ? count : at;
                const std::string text = RandomLine(rng);
                if (rng() % 3 == 0) {
                    store.InsertColoredLine(text, where);
                    what = "insert coloured";
                } else {
                    store.InsertLine(text, where, rng() % 2 == 0);
                    what = "insert";
                }
                lines.insert(lines.begin() + where, text);
                breaks.insert(breaks.begin() + where, 0);
                last = where;
            } else if (roll < 70 && count > 1) {
                store.RemoveLine(at);
                lines.erase(lines.begin() + at);
                breaks.erase(breaks.begin() + at);
                last = at;
                what = "remove";
            } else if (roll < 82) {
                const std::string text = RandomLine(rng);
                store.SetLine(text, at);
                lines[static_cast<size_t>(at)] = text;
                last = at;
                what = "set";
            } else if (roll < 87) {
                store.ToggleBreakPoint(at);
                breaks[static_cast<size_t>(at)] ^= 1;
                what = "break point";
            } else if (roll < 93) {
                store.ColorUpTo(at, at + static_cast<int>(rng() % 20));
                what = "colour up to";
            } else if (roll < 96) {
                store.RecolorStale();
                what = "recolour stale";
            } else {
                store.Reserve(lines.size() + rng() % 30);
                what = "reserve";
            }
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + ' ' + what;
            ASSERT_EQ(store.GetLineCount(), static_cast<int>(lines.size())) << where;
            size_t longest = 0;
            for (size_t i = 0; i < lines.size(); ++i) {
                ASSERT_EQ(store.GetLine(static_cast<int>(i)), lines[i]) << where << " line " << i;
                longest = std::max(longest, lines[i].size());
            }
            ASSERT_EQ(store.UpdateMaxLineLength(), static_cast<int>(longest)) << where;
            ASSERT_EQ(store.BreakPoints(), breaks) << where;
            // Every line above the first stale one is coloured as from the top.
            std::vector<int> starts;
            const auto colours = PlainColours(lines, starts);
            for (int i = 0; i < store.ColoredUpTo(); ++i) {
                ASSERT_EQ(store.GetLineStartState(i), starts[static_cast<size_t>(i)]) << where << " line " << i;
                ASSERT_EQ(store.GetLineColors(i), colours[static_cast<size_t>(i)]) << where << " line " << i;
            }
        }
        store.RecolorStale();
        std::vector<int> starts;
        const auto colours = PlainColours(lines, starts);
        ASSERT_EQ(store.ColoredUpTo(), store.GetLineCount());
        for (size_t i = 0; i < lines.size(); ++i)
            ASSERT_EQ(store.GetLineColors(static_cast<int>(i)), colours[i]) << "seed " << seed << " line " << i;
    }
}

} // namespace
