// Package and agent classes, and type declarations.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

void CodeFragment::createPackClass(std::string, const CodeFragment*, const CodeFragment*, const CodeFragment*) {}
void CodeFragment::createAgentClass(std::string, const CodeFragment*, const CodeFragment*, const CodeFragment*,
                                    const CodeFragment*, const CodeFragment*) {}
void CodeFragment::createTypeDecl(std::string, Type*, TypeNode*) {}
