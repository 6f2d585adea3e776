// What the tool chain's programs share: command words and response files in
// the form the makefile writes them.
#pragma once
#include <string>
#include <vector>

namespace toolchain {

// The words of a command text: blanks, tabs and line ends separate them;
// double quotes group blanks into a word and are dropped.
std::vector<std::string> splitWords(const std::string& text);

// The arguments with each "@file" replaced by the words of that file; false
// with `error` set when a response file cannot be read.
bool expandResponseFiles(const std::vector<std::string>& args, std::vector<std::string>& out, std::string& error);

// A file name as an argument g++ takes for a name: one that starts with "-"
// (an option), "@" (a response file) or "=" (the linker's system root) gets
// a leading "./".
std::string fileArgument(const std::string& name);

// Case-insensitive comparison of ASCII texts.
bool sameLetters(const std::string& a, const std::string& b);
bool endsWithLetters(const std::string& text, const std::string& suffix);

}  // namespace toolchain
