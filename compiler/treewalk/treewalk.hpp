// Public header of the QUV/E tree walker: the generated `QUVTreeWalk`, which
// walks the parser's tree of one source file, checks it and leaves the
// program the code generator built in the top fragment. It writes no file:
// its caller (the driver) writes the five output files after the walk.
//
//     JobState job(path);                  // the job's context (the driver is one)
//     TopFragment top;                     // the job's top fragment
//     QUVTreeWalk walker;
//     walker.program(tree, job, &top);     // may throw, see below
//     top.writeFiles(job, OutputNames::ofBase(base));  // when the walk left a program
//
// Recognition errors become diagnostics and the walk goes on; an internal
// failure (QUVRunTimeException) and a tree nested too deeply to walk
// (NestingTooDeep, shared with the parser) end the walk by an exception. The
// walk may end so after it left its program (closing the program's block
// failed); the files are written all the same, as a walk that ended normally
// would have had them written.
#pragma once
#include <string>

#include <antlr/ANTLRException.hpp>
#include "compiler/treewalk/QUVTreeWalk.hpp"

