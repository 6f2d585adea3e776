// How the parser turns recognition errors into diagnostics and resumes.
#include <iostream>
#include "compiler/parser/parser.hpp"

void QUVParser::reportError(const antlr::RecognitionException& ex)
{
    QUVException(*job, QUVException::classOf(ex), ex.getLine(), ex.getColumn(), ruleName, ex.getFilename(),
                 ex.getMessage());
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
