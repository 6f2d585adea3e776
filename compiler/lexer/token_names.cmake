# Writes the token-name table (C++) from the vocabulary that ANTLR exported
# for the lexer. Usage: cmake -DVOCAB=QUVLexerTokenTypes.txt -DOUT=file.cpp -P
#
# Entries 0..272 are the shared numbering, in the format the parser's own table
# uses: plain names as they are, keyword spellings in double quotes, <0> and
# <2> for the two unused types. Entries above 272 are lexer-only rules and are
# kept apart so the shared table keeps exactly 273 entries.

set(shared_last 272)

file(STRINGS "${VOCAB}" lines)
set(max_type 0)
foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=\"([^\"]*)\"=([0-9]+)$")
        set(name_${CMAKE_MATCH_3} "\\\"${CMAKE_MATCH_2}\\\"")
        set(type ${CMAKE_MATCH_3})
    elseif(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=([0-9]+)$")
        set(name_${CMAKE_MATCH_2} "${CMAKE_MATCH_1}")
        set(type ${CMAKE_MATCH_2})
    else()
        continue()
    endif()
    if(type GREATER max_type)
        set(max_type ${type})
    endif()
endforeach()

set(name_0 "<0>")
set(name_1 "EOF")
set(name_2 "<2>")
set(name_3 "NULL_TREE_LOOKAHEAD")

set(shared "")
foreach(type RANGE 0 ${shared_last})
    if(NOT DEFINED name_${type})
        message(FATAL_ERROR "token type ${type} has no name in ${VOCAB}")
    endif()
    string(APPEND shared "    \"${name_${type}}\",\n")
endforeach()

set(local "")
math(EXPR first_local "${shared_last} + 1")
if(max_type GREATER_EQUAL first_local)
    foreach(type RANGE ${first_local} ${max_type})
        if(NOT DEFINED name_${type})
            message(FATAL_ERROR "token type ${type} has no name in ${VOCAB}")
        endif()
        string(APPEND local "    \"${name_${type}}\",\n")
    endforeach()
endif()

set(content "// Generated from QUVLexerTokenTypes.txt by token_names.cmake; do not edit.

extern const char* const QUVTokenNames[] = {
${shared}    nullptr
};

extern const char* const QUVLexerOnlyTokenNames[] = {
${local}    nullptr
};
")

# Leave an unchanged file untouched so dependants are not rebuilt.
if(EXISTS "${OUT}")
    file(READ "${OUT}" old)
    if(old STREQUAL content)
        return()
    endif()
endif()
file(WRITE "${OUT}" "${content}")
