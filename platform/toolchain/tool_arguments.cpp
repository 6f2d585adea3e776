#include "platform/toolchain/tool_arguments.hpp"

#include <cctype>
#include <fstream>
#include <sstream>

namespace toolchain {

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

bool expandResponseFiles(const std::vector<std::string>& args, std::vector<std::string>& out, std::string& error) {
    for (const std::string& a : args) {
        if (a.size() < 2 || a[0] != '@') {
            out.push_back(a);
            continue;
        }
        std::ifstream in(a.substr(1), std::ios::binary);
        if (!in) {
            error = "cannot read the response file '" + a.substr(1) + "'";
            return false;
        }
        std::ostringstream text;
        text << in.rdbuf();
        for (const std::string& w : splitWords(text.str()))
            out.push_back(w);
    }
    return true;
}

std::string fileArgument(const std::string& name) {
    return !name.empty() && (name[0] == '-' || name[0] == '@' || name[0] == '=') ? "./" + name : name;
}

bool sameLetters(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool endsWithLetters(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && sameLetters(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace toolchain
