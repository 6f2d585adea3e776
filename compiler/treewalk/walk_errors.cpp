// How the walker matches nodes, turns recognition errors and its own semantic
// findings into diagnostics, and guards its stack.
#include <typeinfo>

#include <antlr/MismatchedTokenException.hpp>
#include <antlr/NoViableAltException.hpp>
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

// The mismatch that match throws carries neither node nor expected type: the
// runtime's own message of such an exception reads a field its default
// constructor never sets, so the text is taken from the base, where it is whole.
std::string messageOf(const antlr::RecognitionException& ex)
{
    if (typeid(ex) == typeid(antlr::MismatchedTokenException))
        return ex.RecognitionException::getMessage();
    return ex.getMessage();
}

bool isAbsent(const antlr::RefAST& node)
{
    return !node || node == antlr::TreeParser::ASTNULL;
}

}  // namespace

void QUVTreeWalk::match(antlr::RefAST node, int type)
{
    if (isAbsent(node) || node->getType() != type) {
        matchMissedNode = isAbsent(node);
        throw antlr::MismatchedTokenException();
    }
    if (chainWalked) {
        chainWalked = false;
        return;
    }
    const QUV_AST* quv = dynamic_cast<const QUV_AST*>(node.get());
    line = quv ? quv->getLine() : -1;
    column = quv ? quv->getColumn() : -1;
    if (job)
        job->setWalkPosition(line, column);
}

// The grammar matches single types only; a set match fails and succeeds the same way.
void QUVTreeWalk::match(antlr::RefAST node, const antlr::BitSet& set)
{
    if (isAbsent(node) || !set.member(node->getType())) {
        matchMissedNode = isAbsent(node);
        throw antlr::MismatchedTokenException();
    }
    match(node, node->getType());
}

// A semantic diagnostic the walker finds itself, at the walk's place.
void QUVTreeWalk::reportSemantic(const std::string& text)
{
    QUVException(*job, QUVException::OtherSemanticError, line, column, ruleName, fileName, text);
}

// A node that is not there where a rule expects one: the mismatch that match
// throws says so through the walker, as it carries no node.
bool QUVTreeWalk::isGap(const antlr::RecognitionException& ex) const
{
    if (typeid(ex) == typeid(antlr::MismatchedTokenException))
        return matchMissedNode;
    auto noAlternative = dynamic_cast<const antlr::NoViableAltException*>(&ex);
    return noAlternative && isAbsent(noAlternative->node);
}

void QUVTreeWalk::reportError(const antlr::RecognitionException& ex)
{
    // After a syntax error the parser leaves out of the tree what the error
    // took (a call without its arguments, an element without its action):
    // the gap is that error again, which the user has already been told.
    if (parseReported && isGap(ex))
        return;
    // Filed like the parser's errors, by the one shared mapping. A lexer's
    // error has no place in a walk over a tree: it is filed as fatal, like
    // any class the mapping does not know.
    QUVException::Class c = QUVException::classOf(ex);
    if (c.kind == QUVException::LexicalError)
        c = QUVException::FatalError;
    QUVException(*job, c, line, column, ruleName, fileName, messageOf(ex));
}

// The diagnostic stands where the last node was matched, like every other of the walk.
void QUVTreeWalk::traceIn(const char* rule, antlr::RefAST)
{
    // The program rule is entered before it is handed its job, at the top of the stack.
    if (!job)
        return;
    guardStack(*job, stackGuard, rule, line, column, fileName);
    if (job->stopRequested())
        throw JobStopped();
}
