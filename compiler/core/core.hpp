// The compiler core model: diagnostics, the indentation base, code fragments,
// types and their operator rules, the AST node, the symbol nodes, the symbol
// table and the context of one compile job.
#pragma once
#include "compiler/core/base.hpp"
#include "compiler/core/code_fragment.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/gbk.hpp"
#include "compiler/core/job_state.hpp"
#include "compiler/core/quv_ast.hpp"
#include "compiler/core/symbol_table.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
