// Public header of the QUV/E parser library: the generated `QUVParser`, its
// token numbering and the label record of its label state.
#pragma once
#include <istream>
#include <string>

#include <antlr/ASTFactory.hpp>
#include "compiler/core/core.hpp"
#include "compiler/lexer/lexer.hpp"
#include "compiler/parser/label_record.hpp"
#include "compiler/parser/typesetting.hpp"
#include "compiler/parser/QUVParser.hpp"

// Makes every node the parser builds a `QUV_AST`. The factory must outlive the parser.
void installNodeFactory(QUVParser& parser, antlr::ASTFactory& factory);

// A parser over one source stream, set up as every job sets it up: the lexer
// that recovers from lexical errors, QUV_AST nodes, the file name on every
// diagnostic, and the job both file their diagnostics into.
struct SourceParser {
    SourceParser(std::istream& in, const std::string& fileName, JobState& job);
    SourceParser(const SourceParser&) = delete;
    SourceParser& operator=(const SourceParser&) = delete;

    QUVSuperLexer lexer;
    antlr::ASTFactory factory;
    QUVParser parser;
};
