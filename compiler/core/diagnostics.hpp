// Diagnostic records: every problem any compiler stage finds becomes one record,
// appended to the global list, written to standard error and handed to the
// current driver's error callback.
#pragma once
#include <string>
#include <vector>

class Type;
class Node;

class QUVException {
public:
    // Kinds of the kind-name table (ORDER: same as kindNames in diagnostics.cpp).
    enum Kind { FileError = 0, LexicalError, SyntaxError, SemanticError, LinkError, RunTimeError };

    QUVException();
    QUVException(int kind, int number, int line, int column, const std::string& rule,
                 const std::string& file, const std::string& details);
    QUVException(const QUVException&) = default;
    QUVException& operator=(const QUVException&) = default;
    ~QUVException() = default;

    void report() const;
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

    // The global diagnostic list, shared by all stages of a compile job.
    static std::vector<QUVException>& list();
    static void clearList();
    static std::string getFileNameAt(int index);
    static std::string kindName(int kind);
    static std::string numberName(int number);

    // Semantic builders: place, rule and file come from the running tree walker.
    QUVException& makeIllegalOp(const std::string& op, const Type* t);
    QUVException& makeIllegalBinaryOp(const std::string& op, const Type* left, const Type* right);
    QUVException& makeIllegalTernaryOp(const std::string& op, const Type* a, const Type* b, const Type* c);
    QUVException& makeIllegalFieldOp(const std::string& op, const Type* left, const std::string& field);
    QUVException& makeIllegalType(const Type* t, int allowedMask);
    QUVException& makeSemantic(int k);
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
    // Place, rule and file of the running tree walker; none while no driver is current.
    void takeWalkerPlace();
    void makeSemanticAt();
    void makeSyntaxAt(int line, int column, const std::string& rule, const std::string& file);
    void makeLabelError(int line, int column, const std::string& rule, const std::string& file);
    void makeLinkError();
    QUVException& finish(int number, const std::string& details);
};

// The thrown form of an internal consistency failure.
class QUVRunTimeException : public QUVException {
public:
    explicit QUVRunTimeException(const QUVException& e) : QUVException(e) {}
};

// Makes the internal-failure record of `method` and throws it.
[[noreturn]] void throwInternalFailure(const std::string& text, const std::string& method);
