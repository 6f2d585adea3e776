// Lexical grammar of QUV/E.
//
// ORDER: the rules are not free to move.
//  * Token numbers 4..272 come from QUVTokenTypes.txt (vocabulary "QUV",
//    shared with the parser and the tree walker). Rules whose names are not in
//    that file get the next free numbers in the order they are defined here:
//    DIGIT 273, HEX_DIGIT 274, NUMBER 275, ESC 276, DOTDOT 277, WS 278,
//    IDENT_OR_LB 279, DOLLA_O_OR_LB 280. Tests pin these numbers.
//  * nextToken tries the rules that need more than one character of lookahead
//    longest test first and, among equally long tests, in the order of this
//    file. "%Prog" before "%Proc" before "%Pros", "$O" between "$U" and "$T",
//    "." after ".." and so on depend on it; tests cover every dispatch row.

header "pre_include_hpp" {
// The lexer's per-character steps, inlined into every generated rule.
#define QUV_LEXER_HOT __attribute__((always_inline))
#include "compiler/core/core.hpp"
#include "compiler/lexer/source_buffer.hpp"
#include <string>
#include <unordered_map>
}

options {
    language = "Cpp";
}

class QUVLexer extends Lexer;

options {
    importVocab = QUV;
    k = 5;
    charVocabulary = '\u0000'..'\u00FF';
    testLiterals = false;
    caseSensitive = true;
    caseSensitiveLiterals = true;
}

{
public:
    // The rule name carried by lexical diagnostics; the lexer never sets it.
    std::string ruleName;
    // The job the lexer scans for: its typesetting switch decides whether
    // comments and line ends reach the parser.
    JobState* job = nullptr;

    // Lookahead and consumption straight from the in-memory source when the
    // lexer is built over one (QUVSuperLexer), without the runtime's virtual
    // calls, and token text kept in one string that keeps its capacity. Each
    // does what the runtime's own does for a case-sensitive lexer.
    QUV_LEXER_HOT int LA(unsigned int i) override final
    {
        if (__builtin_expect(memorySource != nullptr, 1)) return memorySource->peek(i);
        return streamLA(i);
    }
    QUV_LEXER_HOT void consume() override final
    {
        if (__builtin_expect(memorySource == nullptr, 0)) {
            streamConsume();
            return;
        }
        if (inputState->guessing == 0) {
            const int c = memorySource->peek(1);
            if (saveConsumedInput) text += static_cast<char>(c);
            if (c == '\t')
                tab();
            else
                inputState->column++;
        }
        memorySource->consume();
    }
    // The runtime's matches, each over the LA and consume above, so the
    // generated rules reach neither through a virtual call.
    using ANTLR_USE_NAMESPACE(antlr)CharScanner::match;
    QUV_LEXER_HOT void match(int c) override final
    {
        const int la = LA(1);
        if (la != c) throw ANTLR_USE_NAMESPACE(antlr)MismatchedCharException(la, c, false, this);
        consume();
    }
    void match(const char* s) override final
    {
        while (*s != '\0') {
            const int la = LA(1);
            const int c = *s++ & 0xFF;
            if (la != c) throw ANTLR_USE_NAMESPACE(antlr)MismatchedCharException(la, c, false, this);
            consume();
        }
    }
    QUV_LEXER_HOT void matchNot(int c) override final
    {
        const int la = LA(1);
        if (la == c) throw ANTLR_USE_NAMESPACE(antlr)MismatchedCharException(la, c, true, this);
        consume();
    }
    QUV_LEXER_HOT void matchRange(int c1, int c2) override final
    {
        const int la = LA(1);
        if (la < c1 || la > c2) throw ANTLR_USE_NAMESPACE(antlr)MismatchedCharException(la, c1, c2, false, this);
        consume();
    }
    void append(char c) override
    {
        if (saveConsumedInput) text += c;
    }
    void resetText() override
    {
        text.clear();
        inputState->tokenStartColumn = inputState->column;
        inputState->tokenStartLine = inputState->line;
    }
    // The keyword table looked up by hashing; the same exact-match entries.
    int testLiteralsTable(int ttype) const override
    {
        return testLiteralsTable(text, ttype);
    }
    int testLiteralsTable(const std::string& candidate, int ttype) const override
    {
        if (hashedLiterals.size() != literals.size())
            hashedLiterals = std::unordered_map<std::string, int>(literals.begin(), literals.end());
        auto found = hashedLiterals.find(candidate);
        return found == hashedLiterals.end() ? ttype : found->second;
    }
    void useSourceBuffer(SourceBuffer* buffer) { memorySource = buffer; }

    // A tab is one column like any other character; the runtime would
    // advance to the next multiple of eight.
    void tab() override
    {
        setColumn(getColumn() + 1);
    }

private:
    // The runtime's own, for a lexer over a stream (kept out of line).
    __attribute__((noinline)) int streamLA(unsigned int i)
    {
        return ANTLR_USE_NAMESPACE(antlr)CharScanner::LA(i);
    }
    __attribute__((noinline)) void streamConsume()
    {
        ANTLR_USE_NAMESPACE(antlr)CharScanner::consume();
    }

    SourceBuffer* memorySource = nullptr;
    mutable std::unordered_map<std::string, int> hashedLiterals;

    // After a character of a string literal's body: a line end counts one
    // line as it does in white space: "\r\n" once (at its "\n", so that the
    // column starts afresh after both), a lone "\r" or "\n" once each.
    void countStringLineEnd(int matched)
    {
        if (matched == '\n' || (matched == '\r' && LA(1) != '\n')) newline();
    }

    int typesetType(int tokenType) const
    {
        return job && job->typesetting ? tokenType : int(antlr::Token::SKIP);
    }
}

// ---------------------------------------------------------------- comments

SL_COMMENT
    :   "//"
        ( ~('\n'|'\r') )*
        ( '\n' | '\r' ( options { greedy = true; } : '\n' )? )
        { newline(); $setType(typesetType(SL_COMMENT)); }
    ;

ML_COMMENT
    :   "/*"
        (   // "\r\n" is one line end, but "\r" alone is one as well, so
            // the alternatives overlap on purpose.
            options { generateAmbigWarnings = false; }
        :   { LA(2) != '/' }? '*'
        |   '\r' '\n' { newline(); }
        |   '\r'      { newline(); }
        |   '\n'      { newline(); }
        |   ~('*'|'\n'|'\r')
        )*
        "*/"
        { $setType(typesetType(ML_COMMENT)); }
    ;

// ----------------------------------------------------------------- numbers

protected
DIGIT
    :   '0'..'9'
    ;

protected
HEX_DIGIT
    :   ('0'..'9' | 'A'..'F' | 'a'..'f')
    ;

// A "." right after digits commits the number to the decimal form.
NUMBER
    :   ( (DIGIT)+ '.' ) => FLOAT_LITERAL { $setType(FLOAT_LITERAL); }
    |   INT_LITERAL { $setType(INT_LITERAL); }
    ;

protected
INT_LITERAL
    :   ( options { greedy = true; } : DIGIT )+
    ;

protected
FLOAT_LITERAL
    :   ( DIGIT )+ '.' ( options { greedy = true; } : DIGIT )+
    ;

// ----------------------------------------------------------------- strings

// Line ends inside a literal are part of its text and count as lines, so
// that whatever follows the literal carries the line it is on.
STRING_LITERAL
    :   '"' ( ESC | c:~('"'|'\\') { countStringLineEnd(c); } )* '"'
    ;

// Escapes are only checked here; the text keeps them as written.
protected
ESC
    :   '\\'
        (   'n' | 'r' | 't' | 'b' | 'f' | '"' | '\'' | '\\'
        |   ('u')+ HEX_DIGIT HEX_DIGIT HEX_DIGIT HEX_DIGIT
        |   '0'..'3'
            (   options { warnWhenFollowAmbig = false; }
            :   '0'..'7'
                (   options { warnWhenFollowAmbig = false; }
                :   '0'..'7'
                )?
            )?
        |   '4'..'7'
            (   options { warnWhenFollowAmbig = false; }
            :   '0'..'9'
            )?
        )
    ;

// ------------------------------------------------- punctuation and operators

DOTDOT      : ".." ;
EQUAL       : "==" ;
NE          : "/=" ;
LTE         : "=<" ;
GTE         : ">=" ;
ARROW       : "->" ;
IMPLY       : "=>" ;
DEFAULT     : "|~" ;
PARALLEL    : "||" ;
SELECT      : "!!" ;
XOR         : "|>" ;
SEQ         : ">>" ;

DOT         : '.' ;
ASSIGN      : '=' ;
GT          : '>' ;
MINUS       : '-' ;
DIV         : '/' ;
MOD         : '%' ;
EXCLAMATION : '!' ;
OR          : '|' ;

COLON       : ':' ;
SEMI        : ';' ;
COMMA       : ',' ;
LBRACKET    : '[' ;
RBRACKET    : ']' ;
LCURLY      : '{' ;
RCURLY      : '}' ;
LPAREN      : '(' ;
RPAREN      : ')' ;
LT_         : '<' ;
PLUS        : '+' ;
STAR        : '*' ;
BAND        : '&' ;
QUESTION    : '?' ;
AND         : '^' ;
LNOT        : '~' ;

// ------------------------------------------- white space, names and labels

// A run of blanks or one line end per call; nextToken loops over the skips.
// A run is taken at once: an indentation of many blanks is one skip, not one
// trip through nextToken per blank.
WS
    :   ( options { greedy = true; } : ' ' | '\t' | '\f' )+ { $setType(antlr::Token::SKIP); }
    |   ( options { generateAmbigWarnings = false; }
        :   "\r\n"
        |   '\r'
        |   '\n'
        )
        { newline(); $setType(typesetType(NEWLINE)); }
    ;

// A label is a label only when no identifier character follows it.
IDENT_OR_LB
    options { testLiterals = true; }
    :   ( LB ~('A'..'Z' | 'a'..'z' | '0'..'9' | '_') ) => LB { $setType(LB); }
    |   IDENT { $setType(IDENT); }
    ;

protected
IDENT
    options { testLiterals = true; }
    :   ('A'..'Z' | 'a'..'z')
        ( options { greedy = true; } : 'A'..'Z' | 'a'..'z' | '0'..'9' | '_' )*
    ;

protected
LB
    :   ( "LB" | "Lb" | "lb" ) ( options { greedy = true; } : DIGIT )*
    ;

DOLLA_C     : "$C" | "$c" ;
DOLLA_V     : "$V" | "$v" ;
DOLLA_U     : "$U" | "$u" ;

DOLLA_O_OR_LB
    :   ( DOLLA_O_LB ) => DOLLA_O_LB { $setType(DOLLA_O_LB); }
    |   DOLLA_O { $setType(DOLLA_O); }
    ;

protected
DOLLA_O     : "$O" | "$o" ;

protected
DOLLA_O_LB  : ( "$O" | "$o" ) LB ;

DOLLA_T     : "$T" | "$t" ;
DOLLA_F     : "$F" | "$f" ;

// -------------------------------------------------------- section keywords

PERCENT_PRO     : "%Prog" | "%PROG" | "%prog" ;
PERCENT_PROC    : "%Proc" | "%PROC" | "%proc" ;
PERCENT_PROS    : "%Pros" | "%PROS" | "%pros" ;
PERCENT_PACK    : "%Pack" | "%PACK" | "%pack" ;
PERCENT_AGT     : "%Agt"  | "%AGT"  | "%agt"  ;
PERCENT_ALG     : "%Alg"  | "%ALG"  | "%alg"  ;
PERCENT_IOP     : "%Iop/" | "%IOP/" | "%iop/" ;
PERCENT_INP     : "%Inp/" | "%INP/" | "%inp/" ;
PERCENT_MPRO    : "%MProg" | "%MPROG" | "%Mprog" | "%mprog" ;
PERCENT_DPRO    : "%DProg" | "%DPROG" | "%Dprog" | "%dprog" ;
PERCENT_FATHER  : "%Father" | "%FATHER" | "%father" ;
PERCENT_GLOB    : "%Glob" | "%GLOB" | "%glob" ;
PERCENT_TYPE    : "%Type" | "%TYPE" | "%type" ;
PERCENT_VAR     : "%Var"  | "%VAR"  | "%var"  ;
PERCENT_LOC     : "%Loc"  | "%LOC"  | "%loc"  ;
PERCENT_STM     : "%Stm"  | "%STM"  | "%stm"  ;
PERCENT_CHN     : "%Chn/" | "%CHN/" | "%chn/" ;
