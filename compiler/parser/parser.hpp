// Public header of the QUV/E parser library: the generated `QUVParser`, its
// token numbering and the label record of its label state.
#pragma once
#include <antlr/ASTFactory.hpp>
#include "compiler/core/core.hpp"
#include "compiler/parser/label_record.hpp"
#include "compiler/parser/typesetting.hpp"
#include "compiler/parser/QUVParser.hpp"

// Makes every node the parser builds a `QUV_AST`. The factory must outlive the parser.
void installNodeFactory(QUVParser& parser, antlr::ASTFactory& factory);
