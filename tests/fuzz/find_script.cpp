#include "find_script.hpp"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

#include <boost/regex.hpp>

#include "compiler/core/gbk.hpp"
#include "ide/model/find_regex.hpp"
#include "ide/model/text_finder.hpp"
#include "script_bytes.hpp"
#include "tests/ide/fake_editor.hpp"

namespace {

using ide::TextPos;

// The editor as the finder sees it, holding the script's bytes as they are.
struct Document : ide::test::FakeEditor {
    explicit Document(const std::string& bytes) { SetText(bytes); }
};

struct Match {
    size_t offset;
    std::string text;
    bool operator==(const Match& other) const { return offset == other.offset && text == other.text; }
};

std::vector<Match> matchesOf(const boost::regex& expression, const std::string& text)
{
    std::vector<Match> found;
    ide::GrepAll(expression, text, [&found](size_t offset, const std::string& what) { found.push_back({offset, what}); });
    return found;
}

// Leftmost matches of `bytes`, none overlapping, as std::string::find gives them.
std::vector<Match> literalMatches(const std::string& bytes, const std::string& text, bool foldCase)
{
    auto fold = [foldCase](std::string s) {
        if (foldCase)
            for (char& c : s)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + ('a' - 'A'));
        return s;
    };
    const std::string haystack = fold(text), needle = fold(bytes);
    std::vector<Match> found;
    for (size_t at = haystack.find(needle); !needle.empty() && at != std::string::npos;
         at = haystack.find(needle, at + needle.size()))
        found.push_back({at, text.substr(at, needle.size())});
    return found;
}

class FindScript {
public:
    FindScript(const std::uint8_t* data, std::size_t size) : bytes(data, size) {}

    std::string run()
    {
        const std::uint8_t flags = bytes.byte();
        const int regularExpression = flags & 1;
        const int matchCase = (flags & 2) ? 0 : 1;
        // The dialogs speak UTF-8; the texts go through the same conversion the finder makes.
        const std::string findText = gbk::toUtf8(bytes.text(24));
        const std::string replaceText = gbk::toUtf8(bytes.text(12));
        const std::array<int, 4> selection = {int(bytes.byte()), int(bytes.byte()), int(bytes.byte()),
                                              int(bytes.byte())};
        Document document(bytes.rest());
        const std::string text = document.UnloadText();

        boost::regex expression;
        try {
            expression = ide::MakeFindExpression(findText, regularExpression, matchCase);
        } catch (const boost::regex_error& e) {
            if (!regularExpression)
                return "the literal text " + shown(findText) + " did not compile: " + e.what();
            if (ide::QuvIsValidRegex(findText, regularExpression) && matchCase)
                return "the expression " + shown(findText) + " passed the dialogs' check but did not compile";
            return std::string();
        }
        try {
            check(expression, findText, replaceText, regularExpression, matchCase, text);
            checkFinder(document, findText, replaceText, regularExpression, matchCase, selection);
        } catch (const std::runtime_error&) {
            // The library gave up on a complex expression; the IDE says so and
            // changes nothing, which the finder's own paths check.
        }
        return failure;
    }

private:
    void fail(const std::string& what)
    {
        if (failure.empty())
            failure = what;
    }

    void check(const boost::regex& expression, const std::string& findText, const std::string& replaceText,
               int regularExpression, int matchCase, const std::string& text)
    {
        const std::vector<Match> found = matchesOf(expression, text);
        size_t end = 0;
        for (const Match& m : found) {
            if (m.text.empty() || m.offset < end || text.compare(m.offset, m.text.size(), m.text) != 0)
                return fail("match " + shown(m.text) + " at " + std::to_string(m.offset) +
                            " is empty, overlaps the one before or is not the text there");
            end = m.offset + m.text.size();
        }
        std::string literal;
        if (ide::FindLiteral(findText, regularExpression, matchCase, literal) &&
            found != literalMatches(literal, text, false))
            return fail("the literal " + shown(literal) + " matches otherwise than std::string::find");
        const std::string bytesOfText = gbk::fromUtf8(findText);
        const bool ascii = std::all_of(bytesOfText.begin(), bytesOfText.end(),
                                       [](char c) { return c > 0 && c < 0x7F; });
        if (!regularExpression && !matchCase && ascii && found != literalMatches(bytesOfText, text, true))
            return fail("the text " + shown(bytesOfText) + " ignoring case matches otherwise than a folded find");
        // Replace all: with a format that stands for itself, the text with it
        // spliced in at every match.
        int count = -1;
        const std::string merged = ide::MergeAll(expression, text, replaceText, &count);
        if (count != static_cast<int>(found.size()))
            return fail("replace all counted " + std::to_string(count) + " of " + std::to_string(found.size()) +
                        " matches");
        std::string format;
        if (ide::LiteralFormat(replaceText, format)) {
            std::string spliced;
            size_t last = 0;
            for (const Match& m : found) {
                spliced.append(text, last, m.offset - last);
                spliced += format;
                last = m.offset + m.text.size();
            }
            spliced.append(text, last, std::string::npos);
            if (merged != spliced)
                return fail("replace all gave " + shown(merged) + ", splicing " + shown(spliced));
        }
    }

    void checkFinder(Document& document, const std::string& findText, const std::string& replaceText,
                     int regularExpression, int matchCase, const std::array<int, 4>& selection)
    {
        const std::string text = document.UnloadText();
        ide::CTextFinder finder(document);
        ide::ReplaceOptions options;
        options.regularExpression = regularExpression;
        options.matchCase = matchCase;
        options.findText = findText;
        options.replaceText = replaceText;
        finder.SetReplaceOptions(options);
        const std::vector<Match> found =
            matchesOf(ide::MakeFindExpression(findText, regularExpression, matchCase), text);

        // Find next from the start walks the matches in order, then wraps to the first.
        document.LocatePos(1, 1);
        for (size_t step = 0; step <= found.size() && step < 64; ++step) {
            int sl = 0, sc = 0, el = 0, ec = 0;
            const bool hit = finder.FindNext(sl, sc, el, ec);
            if (found.empty()) {
                if (hit)
                    fail("find next found a match where there is none");
                break;
            }
            const Match& want = found[step % found.size()];
            const TextPos start = document.At(want.offset), end = document.At(want.offset + want.text.size());
            if (!hit || sl != start.line || sc != start.col || el != end.line || ec != end.col)
                return fail("find next, step " + std::to_string(step) + ": selected " + std::to_string(sl) + ":" +
                            std::to_string(sc) + "-" + std::to_string(el) + ":" + std::to_string(ec) +
                            ", the match " + shown(want.text) + " at " + std::to_string(want.offset) + " lies at " +
                            std::to_string(start.line) + ":" + std::to_string(start.col) + "-" +
                            std::to_string(end.line) + ":" + std::to_string(end.col));
            document.SetSelection(sl, sc, el, ec);
        }

        // The text as it was again for the checks below, which the finder learns by the change count.
        const std::vector<std::string> unedited = document.lines;
        checkAfterEdit(document, finder, findText, regularExpression, matchCase, selection);
        document.lines = unedited;
        ++document.changeCount;

        // The selected text is the text between anchor and caret.
        const int lineCount = static_cast<int>(document.lines.size());
        const TextPos anchor{1 + selection[0] % lineCount, 1 + selection[1] % 40};
        const TextPos caret{1 + selection[2] % lineCount, 1 + selection[3] % 40};
        document.SetSelection(anchor.line, anchor.col, caret.line, caret.col);
        size_t from = document.Offset(anchor), to = document.Offset(caret);
        if (to < from)
            std::swap(from, to);
        const std::string selected = ide::GetSelectedText(document);
        if (selected != text.substr(from, to - from))
            return fail("the selected text is " + shown(selected) + ", between its ends stands " +
                        shown(text.substr(from, to - from)));

        // Replace all in the selection changes only the selection.
        const std::string mergedSelection =
            ide::MergeAll(ide::MakeFindExpression(findText, regularExpression, matchCase), selected, replaceText);
        options.scope = 1;
        finder.SetReplaceOptions(options);
        if (from != to) {
            finder.ReplaceAll();
            Document expected(text.substr(0, from) + mergedSelection + text.substr(to));
            if (document.UnloadText() != expected.UnloadText())
                return fail("replace all in the selection gave " + shown(document.UnloadText()) + ", expected " +
                            shown(expected.UnloadText()));
        }

        // Replace all in the whole document is the merge of its text. A
        // replacement that repeats the text beside its match ($` and $')
        // makes each replace all square the document: after the selection's
        // it could grow from a few hundred bytes to hundreds of megabytes. A
        // document grown past twice the text starts from the text again, whose
        // merge check() has made already.
        if (document.UnloadText().size() > 2 * text.size() + 256)
            document.SetText(text);
        const std::string now = document.UnloadText();
        options.scope = 0;
        finder.SetReplaceOptions(options);
        finder.ReplaceAll();
        Document expected(ide::MergeAll(ide::MakeFindExpression(findText, regularExpression, matchCase), now,
                                        replaceText));
        if (document.UnloadText() != expected.UnloadText())
            return fail("replace all gave " + shown(document.UnloadText()) + ", expected " +
                        shown(expected.UnloadText()));
    }

    // An edit after the finder's last search (a piece of the find text typed
    // in): from several places, both ways, the finder selects the match the
    // text as it is now has there, as a search of the whole text finds it.
    void checkAfterEdit(Document& document, ide::CTextFinder& finder, const std::string& findText,
                        int regularExpression, int matchCase, const std::array<int, 4>& selection)
    {
        const int lineCount = static_cast<int>(document.lines.size());
        std::string& edited = document.lines[static_cast<size_t>(selection[0] % lineCount)];
        const size_t at = std::min(static_cast<size_t>(selection[1] % 40), edited.size());
        // A line of the editor holds no line end.
        std::string typed = gbk::fromUtf8(findText).substr(0, 1 + selection[2] % 3);
        typed.erase(std::remove(typed.begin(), typed.end(), '\n'), typed.end());
        edited.insert(at, typed);
        ++document.changeCount;
        const std::string text = document.UnloadText();
        const std::vector<Match> found =
            matchesOf(ide::MakeFindExpression(findText, regularExpression, matchCase), text);
        const TextPos places[] = {{1, 1},
                                  {1 + selection[0] % lineCount, 1 + static_cast<int>(at)},
                                  {1 + selection[2] % lineCount, 1 + selection[3] % 40},
                                  {lineCount, 1 + static_cast<int>(document.lines.back().size())}};
        for (const TextPos& place : places)
            for (bool previous : {false, true}) {
                document.LocatePos(place.line, place.col);
                const size_t from = document.Offset(place);
                const Match* want = nullptr;
                for (const Match& m : found)
                    if (previous ? m.offset + m.text.size() < from : m.offset >= from && !want)
                        want = &m;
                // The text's last line end, with the caret before it where it
                // also ends, counts as selected and gives way to the next match.
                const auto same = [](TextPos a, TextPos b) { return a.line == b.line && a.col == b.col; };
                if (!previous && want && same(document.At(want->offset), place) &&
                    same(document.At(want->offset + want->text.size()), place))
                    want = want + 1 != found.data() + found.size() ? want + 1 : nullptr;
                if (!want && !found.empty())
                    want = previous ? &found.back() : &found.front();
                int sl = 0, sc = 0, el = 0, ec = 0;
                const bool hit = previous ? finder.FindPrevious(sl, sc, el, ec) : finder.FindNext(sl, sc, el, ec);
                const TextPos start = want ? document.At(want->offset) : TextPos{0, 0};
                const TextPos end = want ? document.At(want->offset + want->text.size()) : TextPos{0, 0};
                if (hit != (want != nullptr) ||
                    (hit && (sl != start.line || sc != start.col || el != end.line || ec != end.col)))
                    return fail(std::string("after an edit, find ") + (previous ? "previous" : "next") + " from " +
                                std::to_string(place.line) + ":" + std::to_string(place.col) + " selected " +
                                (hit ? std::to_string(sl) + ":" + std::to_string(sc) + "-" + std::to_string(el) +
                                           ":" + std::to_string(ec)
                                     : std::string("nothing")) +
                                ", the text has " + (want ? shown(want->text) + " at " + std::to_string(want->offset)
                                                          : std::string("no match")));
            }
    }

    ScriptBytes bytes;
    std::string failure;
};

} // namespace

std::string RunFindScript(const std::uint8_t* data, std::size_t size)
{
    return FindScript(data, size).run();
}
