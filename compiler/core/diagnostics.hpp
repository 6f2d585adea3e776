// Diagnostic records: every problem any compiler stage finds becomes one record,
// appended to its job's list, written to standard error and handed to the
// job's host.
#pragma once
#include <string>
#include <vector>

class Type;
class Node;
namespace antlr {
class ANTLRException;
}

class DiagnosticSink;

class QUVException {
public:
    // Kinds of the kind-name table (ORDER: same as kindNames in diagnostics.cpp).
    enum Kind { FileError = 0, LexicalError, SyntaxError, SemanticError, LinkError, RunTimeError };
    // Numbers of the number-name table (ORDER: same as numberNamesUtf8 in
    // diagnostics.cpp). From FirstSemanticText on, the names are the texts of
    // makeSemantic and no diagnostic is filed under them.
    enum Number {
        CharStreamIO = 0, TokenStreamIO, TokenStreamRecognition, TokenStreamRetry,
        MismatchedChar, NoViableAltForChar, MismatchedToken, NoViableAlt,
        Label, OperatorTypeMismatch, TypeMismatch, Undeclared, Redeclared, ReferenceMismatch,
        AmbiguousReference, OtherSemantic,
        ProcessUndeclared, ProcessRedeclared, MainTwice, NoMain,
        UnknownRunTime, FatalRunTime,
        FirstSemanticText
    };

    // The kind and the number a diagnostic is filed under. Every pair in use
    // is named here and nowhere else.
    struct Class {
        Kind kind;
        Number number;
    };
    // What ANTLR's runtime throws, by class (see classOf). Recognition and
    // retry errors of the token stream carry the file kind, not the lexical
    // one: that numbering is established in the diagnostics users see.
    static constexpr Class CharStreamIOError{LexicalError, CharStreamIO};
    static constexpr Class TokenStreamIOError{LexicalError, TokenStreamIO};
    static constexpr Class TokenStreamRecognitionError{FileError, TokenStreamRecognition};
    static constexpr Class TokenStreamRetryError{FileError, TokenStreamRetry};
    static constexpr Class MismatchedCharError{LexicalError, MismatchedChar};
    static constexpr Class NoViableAltForCharError{LexicalError, NoViableAltForChar};
    static constexpr Class MismatchedTokenError{SyntaxError, MismatchedToken};
    static constexpr Class NoViableAltError{SyntaxError, NoViableAlt};
    // The parser's label checks.
    static constexpr Class LabelError{SyntaxError, Label};
    // The tree walker's semantic checks; a SemanticException of the runtime
    // is filed as OtherSemanticError too.
    static constexpr Class OperatorTypeError{SemanticError, OperatorTypeMismatch};
    static constexpr Class TypeMismatchError{SemanticError, TypeMismatch};
    static constexpr Class UndeclaredError{SemanticError, Undeclared};
    static constexpr Class RedeclaredError{SemanticError, Redeclared};
    static constexpr Class ReferenceMismatchError{SemanticError, ReferenceMismatch};
    static constexpr Class AmbiguousReferenceError{SemanticError, AmbiguousReference};
    static constexpr Class OtherSemanticError{SemanticError, OtherSemantic};
    // The project's link checks.
    static constexpr Class ProcessUndeclaredError{LinkError, ProcessUndeclared};
    static constexpr Class ProcessRedeclaredError{LinkError, ProcessRedeclared};
    static constexpr Class MainTwiceError{LinkError, MainTwice};
    static constexpr Class SharedRedeclaredError{LinkError, Redeclared};
    static constexpr Class ChannelTypesDifferError{LinkError, TypeMismatch};
    static constexpr Class NoMainError{LinkError, NoMain};
    // An output file that cannot be written.
    static constexpr Class OutputFileError{FileError, CharStreamIO};
    // An internal consistency failure (makeInFunction); a failure that ends a
    // stage, and whatever else of ANTLR's runtime is thrown.
    static constexpr Class InternalError{RunTimeError, UnknownRunTime};
    static constexpr Class FatalError{RunTimeError, FatalRunTime};

    // The one mapping from ANTLR's exceptions to diagnostics, which the lexer
    // and the parser share: by the exact class of ex, so a class derived from
    // one named above is not taken for it; any other is a FatalError.
    static Class classOf(const antlr::ANTLRException& ex);

    // A blank record, filed nowhere (a builder on it is refused).
    QUVException();
    // A blank record whose builders file into job.
    explicit QUVException(DiagnosticSink& job);
    // A full record, filed into job at once.
    QUVException(DiagnosticSink& job, int kind, int number, int line, int column, const std::string& rule,
                 const std::string& file, const std::string& details);
    QUVException(DiagnosticSink& job, Class c, int line, int column, const std::string& rule,
                 const std::string& file, const std::string& details)
        : QUVException(job, c.kind, c.number, line, column, rule, file, details) {}
    QUVException(const QUVException&) = default;
    QUVException& operator=(const QUVException&) = default;
    ~QUVException() = default;

    std::string format() const;

    int getKind() const { return kind; }
    int getNumber() const { return number; }
    int getLine() const { return line; }
    int getColumn() const { return column; }
    int getSerial() const { return serial; }
    std::string getFileName() const { return file; }
    std::string getDetails() const { return details; }
    std::string getRule() const { return rule; }
    std::string getKindName() const;
    std::string getNumberName() const;

    static std::string kindName(int kind);
    static std::string numberName(int number);

    // Semantic builders: place, rule and file come from the running tree walker.
    QUVException& makeIllegalOp(const std::string& op, const Type* t);
    QUVException& makeIllegalBinaryOp(const std::string& op, const Type* left, const Type* right);
    QUVException& makeIllegalTernaryOp(const std::string& op, const Type* a, const Type* b, const Type* c);
    QUVException& makeIllegalFieldOp(const std::string& op, const Type* left, const std::string& field);
    QUVException& makeIllegalType(const Type* t, int allowedMask);
    QUVException& makeSemantic(int k);
    // Checks of constructs that no operator rule covers, with the caller's text:
    // two types that do not fit (number 10), any other construct (number 15).
    QUVException& makeMismatch(const std::string& text);
    QUVException& makeUnsupported(const std::string& text);
    QUVException& makeRedeclared(const std::string& name, const Node* earlier);
    QUVException& makeUndeclared(const std::string& name, int line, int column);
    QUVException& makeAmbiguous(const std::string& name, const std::vector<Node*>& candidates);
    QUVException& makeRefTypeMismatch(const std::string& name, int refKind, int defKind, const Node* definition);

    // Label builders used by the parser; the place is the caller's.
    QUVException& makeMismatchedLabel(int line, int column, const std::string& rule, const std::string& file,
                                      const std::string& found, const std::string& expected);
    QUVException& makeLabelRedeclared(int line, int column, const std::string& rule, const std::string& file,
                                      const std::string& label, int earlierLine, int earlierColumn);
    QUVException& makeGotoUndeclared(int line, int column, const std::string& rule, const std::string& file,
                                     const std::string& label, int labelLine, int labelColumn);
    QUVException& makeForwardLabel(int line, int column, const std::string& rule, const std::string& file,
                                   const std::string& label);
    QUVException& makeCaseCountMismatch(int line, int column, const std::string& rule, const std::string& file,
                                        int gotoCount, int exitCount);
    QUVException& makeMismatchedLB(int line, int column, const std::string& rule, const std::string& file,
                                   const std::string& found, const std::string& expected, int lbLine, int lbColumn);

    // Run-time builders; the caller throws the record of makeInFunction as a QUVRunTimeException.
    QUVException& makeInFunction(const std::string& text, const std::string& method);
    QUVException& makeFatal(const std::string& text);

    // Link builders for the project checks.
    QUVException& makeProcessUndeclared(const std::string& process, int line, int column, const std::string& file);
    QUVException& makeProcessRedeclared(const std::string& process, int line, int column, const std::string& file,
                                        int oldLine, int oldColumn, const std::string& oldFile);
    QUVException& makeSharedRedeclared(const std::string& variable, int line, int column, const std::string& file,
                                       int oldLine, int oldColumn, const std::string& oldFile);
    // One end of a channel: the process, its channel formal (an input one when
    // the process receives) with the formal's element type as QUV/E writes it,
    // and where the process is declared.
    struct ChannelEnd {
        std::string process;
        std::string formal;
        bool input;
        std::string type;
        int line;
        int column;
        std::string file;
    };
    // The parallel statement at line and column of file joins two processes
    // of the project through a channel whose ends carry different types.
    QUVException& makeChannelTypesDiffer(int line, int column, const std::string& file, const ChannelEnd& one,
                                         const ChannelEnd& other);
    QUVException& makeMainTwice(const std::string& program, const std::string& earlierProgram);
    QUVException& makeNoMain();

protected:
    int kind = 0;
    int number = 0;
    int line = 0;
    int column = 0;
    std::string rule;
    std::string file;
    std::string details;
    int serial = 0;

private:
    friend class DiagnosticSink;
    // Where the builders file the record; never set in a filed copy.
    DiagnosticSink* job = nullptr;

    // A builder starts a blank record, places it, and files it with finish.
    // Place, rule and file of the running tree walker; none while no job is current.
    void startAtWalker();
    // Empties the record, keeping where it files.
    void startBlank();
    void startAt(int line, int column, const std::string& rule, const std::string& file);
    QUVException& finish(Class c, const std::string& details);
};

// A compile job as its diagnostics see it: the job's list of records, where
// the tree walker stands, the source file, and the host that sees every record
// as it is made.
class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual int getWalkLine() const { return 0; }
    virtual int getWalkColumn() const { return 0; }
    virtual std::string getWalkRule() const { return std::string(); }
    virtual std::string getFileName() const { return std::string(); }
    // The host's hook, after the record is in the list and on standard error.
    virtual void deliver(const QUVException& record) const { (void)record; }

    // Appends a copy of record, whose serial becomes its index in the list,
    // writes its text to standard error and delivers it.
    void file(QUVException& record);
    // The job's records in the order they were made; a record's serial is its index.
    const std::vector<QUVException>& records() const { return list; }
    // Files an internal failure that was thrown, with the walker's place.
    void fileFailure(QUVException& failure);
    // Forgets the records (a test that runs several cases in one job).
    void clearRecords() { list.clear(); }

private:
    std::vector<QUVException> list;
};

// The thrown form of an internal consistency failure.
// An internal failure is thrown before any job has it: the stage that
// catches it files it into its job (DiagnosticSink::fileFailure), at the
// walker's place, before anything else is filed, so the list reads as if it
// had been filed where it was thrown. Deep helpers (the type registry) that
// fail this way need no job.
class QUVRunTimeException : public QUVException {
public:
    // The record of makeInFunction(text, method), not yet filed anywhere.
    QUVRunTimeException(const std::string& text, const std::string& method);
};

// Throws the internal-failure record of `method`.
[[noreturn]] void throwInternalFailure(const std::string& text, const std::string& method);
