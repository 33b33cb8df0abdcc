// A statement list as readable text, for people who check scripts (the script checker's --tree)
// and for tests: every call with its name and typed values, and its block's calls.
#pragma once

#include <string>

#include "parse_keyword.h"

enum class StatementLayout {
  kLines,    // one line per call, a block's calls two blanks further in between braces
  kOneLine,  // calls separated by one blank, a block as "{ calls }"
};

// The list from list on, as "name(int 1, float 2.5, string "a\tb" (%var)) ...". Strings are
// quoted with \" \\ \n \r \t and \xNN for other control bytes; a value read from a variable keeps
// the variable's name; floats have nine digits, enough to give every float back exactly.
std::string StatementText(const CZKPARSE_KEYWORD* list, StatementLayout layout);
