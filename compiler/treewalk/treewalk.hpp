// Public header of the QUV/E tree walker: the generated `QUVTreeWalk`, which
// walks the parser's tree of one source file, checks it and has the code
// generator write the five output files of the source.
//
//     JobState job(path);                  // the running job (the driver is one)
//     TopFragment top;                     // the job's top fragment
//     job.setProgramState(&top);
//     QUVTreeWalk walker;
//     walker.program(tree, &top, OutputNames::ofBase(base));
//
// Recognition errors become diagnostics and the walk goes on; an internal
// failure (QUVRunTimeException) and a tree nested too deeply to walk
// (NestingTooDeep, shared with the parser) end the walk by an exception.
#pragma once
#include <string>

#include <antlr/ANTLRException.hpp>
#include "compiler/treewalk/QUVTreeWalk.hpp"

