// How the parser turns recognition errors into diagnostics and resumes.
#include <iostream>
#include <typeinfo>
#include <antlr/MismatchedCharException.hpp>
#include <antlr/MismatchedTokenException.hpp>
#include <antlr/NoViableAltException.hpp>
#include <antlr/NoViableAltForCharException.hpp>
#include <antlr/SemanticException.hpp>
#include "compiler/parser/parser.hpp"

namespace {

struct ErrorClass {
    int kind;
    int number;
};

// Kind and number go by the exact class of the error, not by its bases.
ErrorClass classify(const antlr::RecognitionException& ex)
{
    const std::type_info& type = typeid(ex);
    if (type == typeid(antlr::MismatchedCharException)) return {1, 4};
    if (type == typeid(antlr::NoViableAltForCharException)) return {1, 5};
    if (type == typeid(antlr::MismatchedTokenException)) return {2, 6};
    if (type == typeid(antlr::NoViableAltException)) return {2, 7};
    if (type == typeid(antlr::SemanticException)) return {3, 15};
    return {5, 21};
}

}  // namespace

void QUVParser::reportError(const antlr::RecognitionException& ex)
{
    ErrorClass c = classify(ex);
    QUVException(c.kind, c.number, ex.getLine(), ex.getColumn(), ruleName, ex.getFilename(),
                 ex.getMessage());
}

void QUVParser::reportOnly(const antlr::RecognitionException& ex)
{
    reportError(ex);
}

void QUVParser::reportAndFinish(const antlr::RecognitionException& ex)
{
    reportError(ex);
    std::cout << "\n-------- Syntax Checking Finished! -------------\n" << std::endl;
}

void QUVParser::reportAndSkipTo(const antlr::RecognitionException& ex, int type)
{
    reportError(ex);
    consumeUntil(type);
}
