// Small helpers shared by the emitter files of the code generator.
#pragma once
#include <string>

#include "compiler/core/code_fragment.hpp"
#include "compiler/core/job_state.hpp"

namespace emit {
// An emitter handed no type (after a recognition error in the type) writes the unknown type.
inline const Type* orUnknown(JobState& job, const Type* t) {
    return t ? t : job.types().unknownType();
}

// Definitions of the records and unions the program made since the last call,
// each under its one C++ name, in the order they were made.
std::string recordDefinitions(JobState& job);

// The == and != of the record or union named cppName: field by field.
std::string recordEquality(const std::string& cppName, const RecordType* r);

// The C++ text of a variable, ready for a member, an index or a field: a
// variable of another frame is reached as "*(path_p_name)", which is grouped,
// or they would apply to the frame's pointer.
inline std::string selectable(const std::string& code) {
    return code.compare(0, 2, "*(") == 0 ? "(" + code + ")" : code;
}

// A C++ string literal of text (names of formals, which may hold any byte).
std::string quoted(const std::string& text);
// The C++ type-id of t, as a template argument.
std::string typeId(JobState& job, const Type* t);
// A text made on a variable's name (a CodeNames form beginning with its C++
// name), moved onto the variable's access: the two differ where the variable
// is reached through frames or written in its scope.
inline std::string onAccess(std::string text, const std::string& name, const std::string& access) {
    return text.replace(0, CodeNames::varName(name).size(), access);
}
// Files the semantic message `message` at the running walker's place.
void report(JobState& job, int message);
}  // namespace emit
