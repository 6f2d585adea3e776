// The regular-expression work shared by the document finder and the
// find-in-files job. Find texts, replacements and dialogs speak UTF-8; the
// texts searched (the editor's and the files') are 8-bit GBK, so every
// expression and format is converted to GBK before it is compiled. Matches are
// byte offsets into the searched text, and a NUL byte is a character like any
// other: the searches run over the whole length, never up to the first NUL.
#pragma once
#include <functional>
#include <string>

#include <boost/regex.hpp>

namespace ide {

// Every search and replace of the IDE: "." never matches a line break or a
// NUL, and no empty match is reported or replaced.
inline constexpr boost::regex_constants::match_flag_type kFindMatchFlags =
    boost::regex_constants::match_flag_type(int(boost::match_not_dot_newline) | int(boost::match_not_dot_null) |
                                            int(boost::match_not_null));

// A backslash before each of \ . | * ? + ( ) { } [ ] ^ $, so the text matches literally.
std::string QuvEscapeRegex(const std::string& text);

// True without a check when `regularExpression` is 0; else true when the text
// compiles (case-sensitive).
bool QuvIsValidRegex(const std::string& utf8Text, int regularExpression);

// The expression of a find text: escaped unless it is a regular expression,
// case-insensitive unless matchCase. Throws boost::regex_error for an invalid one.
boost::regex MakeFindExpression(const std::string& utf8Text, int regularExpression, int matchCase);

// Calls `onMatch` (offset, matched bytes) for every successive match in `text`.
void GrepAll(const boost::regex& expression, const std::string& text,
             const std::function<void(size_t offset, const std::string& what)>& onMatch);

// Every match replaced by the expanded format (a UTF-8 format converted to
// GBK), the rest copied. Counts the replacements in `count` when given. Throws
// std::runtime_error when the library gives up on the expression.
std::string MergeAll(const boost::regex& expression, const std::string& text, const std::string& utf8Format,
                     int* count = nullptr);

// The bytes a find text stands for when it is searched as they are: true, with
// `bytes` set, for a non-empty text that is not a regular expression and
// matches case. Its matches are then exactly the expression's, leftmost first
// and none overlapping.
bool FindLiteral(const std::string& utf8Text, int regularExpression, int matchCase, std::string& bytes);

// True when a replacement format expands to its own bytes whatever it
// replaces: it holds no "$" and no backslash. `bytes` is the format in GBK.
bool LiteralFormat(const std::string& utf8Format, std::string& bytes);

// The 1-based line of a byte offset: one more than the line feeds before it.
int LineOfOffset(const std::string& text, size_t offset);

} // namespace ide
