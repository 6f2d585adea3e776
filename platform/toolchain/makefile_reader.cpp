#include "platform/toolchain/makefile_reader.hpp"

#include <cstdlib>
#include <sstream>

#include "platform/toolchain/tool_arguments.hpp"

namespace toolchain {

namespace {

[[noreturn]] void fail(const std::string& message) {
    throw MakefileError(message);
}

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The first `c` outside double quotes; npos when none.
size_t outsideQuotes(const std::string& line, char c) {
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        if (line[k] == '"')
            quoted = !quoted;
        else if (!quoted && line[k] == c)
            return k;
    }
    return std::string::npos;
}

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// The colon (or the first of "::") between the targets and the dependents:
// outside double quotes, with a blank before it or a blank or the line end
// after it. A name is written in quotes when it holds a blank, so a colon
// inside a name never stands beside one.
size_t separatingColon(const std::string& line) {
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        if (line[k] == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || line[k] != ':')
            continue;
        const size_t after = k + 1 < line.size() && line[k + 1] == ':' ? k + 2 : k + 1;
        if ((k > 0 && blank(line[k - 1])) || after == line.size() || blank(line[after]))
            return k;
        k = after - 1;
    }
    return std::string::npos;
}

}  // namespace

void Makefile::read(const std::string& makefileText) {
    std::istringstream in(makefileText);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }

    std::vector<MakeCommand>* commands = nullptr;  // of the block or rule being read
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (trim(line).empty())
            continue;
        if (line[0] == ' ' || line[0] == '\t') {
            if (!commands)
                fail("line " + std::to_string(i + 1) + ": a command outside a description block");
            MakeCommand c{trim(line), {}};
            for (size_t at = c.line.find("<<"); at != std::string::npos; at = c.line.find("<<", at + 2)) {
                std::string text;
                for (++i; i < lines.size() && lines[i].compare(0, 2, "<<") != 0; ++i)
                    text += lines[i] + "\n";
                if (i == lines.size())
                    fail("an inline file without its closing \"<<\"");
                c.inlineTexts.push_back(text);
            }
            commands->push_back(c);
            continue;
        }
        // Macro definitions and dependency lines go on after a backslash at the line end.
        while (!line.empty() && line.back() == '\\' && i + 1 < lines.size())
            line = trim(line.substr(0, line.size() - 1)) + " " + trim(lines[++i]);
        if (!line.empty() && line.back() == '\\')
            line.pop_back();
        // A line with a separating colon is a dependency line, whatever "="
        // its names hold; any other line with an "=" defines a macro.
        const size_t colon = separatingColon(line);
        const size_t equals = colon == std::string::npos ? outsideQuotes(line, '=') : std::string::npos;
        if (colon != std::string::npos) {
            readDependencyLine(line, colon, commands);
        } else if (equals != std::string::npos) {
            macros[trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
            commands = nullptr;
        } else {
            fail("line " + std::to_string(i + 1) + ": not a macro, a description block or a command");
        }
    }
}

void Makefile::readDependencyLine(const std::string& line, size_t colon, std::vector<MakeCommand>*& commands) {
    const bool twoColons = colon + 1 < line.size() && line[colon + 1] == ':';
    const std::string left = trim(line.substr(0, colon));
    const std::string right = line.substr(colon + (twoColons ? 2 : 1));
    // ".from.to" alone on the left, nothing on the right: an inference rule.
    const size_t second = left.find('.', 1);
    if (left.size() > 2 && left[0] == '.' && second != std::string::npos && left.find_first_of(" \t/") ==
        std::string::npos && trim(right).empty()) {
        rules.push_back({left.substr(0, second), left.substr(second), twoColons, {}});
        commands = &rules.back().commands;
        return;
    }
    if (twoColons)
        fail("\"::\" only after an inference rule: " + line);
    const std::vector<std::string> targets = names(left);
    if (targets.empty())
        fail("a description block without a target: " + line);
    const std::vector<std::string> dependents = names(right);
    for (const std::string& t : targets) {
        MakeBlock& b = blocks[t];
        b.dependents.insert(b.dependents.end(), dependents.begin(), dependents.end());
    }
    if (firstTarget.empty())
        firstTarget = targets.front();
    commands = &blocks[targets.front()].commands;
}

std::vector<std::string> Makefile::names(const std::string& text) const {
    return splitWords(expand(text, nullptr));
}

std::string Makefile::macroValue(const std::string& name, int depth) const {
    const char* environment = std::getenv(name.c_str());
    auto own = macros.find(name);
    // Values from the environment are taken as they are.
    if (environment && (environmentFirst || own == macros.end()))
        return environment;
    return own == macros.end() ? "" : expand(own->second, nullptr, depth + 1);
}

std::string Makefile::expand(const std::string& text, const std::string* sources, int depth) const {
    if (depth > 50)
        fail("a macro that expands into itself: " + text);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '$') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '$') {
            out += '$';
            ++i;
        } else if (i + 1 < text.size() && text[i + 1] == '<') {
            if (!sources)
                fail("$< outside the commands of an inference rule");
            out += *sources;
            ++i;
        } else if (i + 1 < text.size() && text[i + 1] == '(') {
            const size_t close = text.find(')', i);
            if (close == std::string::npos)
                fail("a macro without its \")\": " + text);
            out += macroValue(text.substr(i + 2, close - i - 2), depth);
            i = close;
        } else {
            fail("only $(NAME), $< and $$ are known: " + text);
        }
        if (out.size() > kMaxExpansionBytes)
            fail("a macro expands to more than " + std::to_string(kMaxExpansionBytes) + " bytes: " +
                 text.substr(0, 80));
    }
    return out;
}

}  // namespace toolchain
