// The grammar above single tokens: keyword calls, constant definitions, keyword declarations, the
// include directives, and the statement loop with its blocks.
//
// Lists are built through a pointer to their last link, so that a file of a million statements
// costs a million appends, not half a million million steps.
#include <cstring>
#include <memory>
#include <utility>

#include "filesystem_api.h"
#include "text_case.h"
#include "zk_parse.h"

namespace {

// The type a type letter names, or -1. Declarations and constant definitions share the letters.
int TypeOfLetter(int byte) {
  switch (byte) {
    case 'i':
    case 'I':
    case 'n':
    case 'N':
      return ZKPARSE_TYPE_INT;
    case 'f':
    case 'F':
      return ZKPARSE_TYPE_FLOAT;
    case 's':
    case 'S':
      return ZKPARSE_TYPE_STRING;
    default:
      return -1;
  }
}

// The conditional include's comparison: the operator applied to the left and the right operand.
// Floats compare exactly, with no tolerance; a NaN on either side makes only "!=" true.
template <typename Number>
bool Compare(int code, Number a, Number b) {
  switch (code) {
    case ZKPARSE_OP_EQUAL:
      return a == b;
    case ZKPARSE_OP_NOT_EQUAL:
      return a != b;
    case ZKPARSE_OP_GREATER:
      return a > b;
    case ZKPARSE_OP_LESS:
      return a < b;
    case ZKPARSE_OP_GREATER_EQUAL:
      return a >= b;
    case ZKPARSE_OP_LESS_EQUAL:
      return a <= b;
    default:
      return false;
  }
}

// Links list after the last node that tail leads to and moves tail to the new end. Only the
// appended nodes are walked, so appending stays linear over a whole parse.
void Append(CZKPARSE_KEYWORD**& tail, CZKPARSE_KEYWORD* list) {
  *tail = list;
  while (*tail != nullptr) tail = &(*tail)->next;
}

}  // namespace

// --- Keyword calls ---------------------------------------------------------------------------

CZKPARSE_KEYWORD* CZKParse::ReadCall(CZKPARSE_KEYWORD* declarations, int* error) {
  lexer.SkipSpace();
  // On a failure the node is simply left behind: the arena goes with the failed parse.
  CZKPARSE_KEYWORD* const node = arena.New<CZKPARSE_KEYWORD>();
  const auto fail = [this, error](const char* message) -> CZKPARSE_KEYWORD* {
    ReportError("%s", message);
    *error = 1;
    return nullptr;
  };

  if (ReadName(node->name) != 0) return fail("error in call");
  LowerCase(node->name);

  // The newest declaration of the name, as a walk of the chain from its head would find it.
  const CZKPARSE_KEYWORD* declaration = declarationIndex.Find(declarations, node->name);
  if (declaration == nullptr) {
    ReportError("unknown keyword %s", node->name);
    *error = 1;
    return nullptr;
  }

  lexer.SkipSpace();
  if (lexer.ReadChar() != '(') return fail("opening bracket expected");

  CZKPARSE_PARAM* last = nullptr;
  for (const CZKPARSE_PARAM* prototype = declaration->params; prototype != nullptr;
       prototype = prototype->next) {
    lexer.SkipSpace();
    CZKPARSE_PARAM* value;
    if (prototype->type == ZKPARSE_TYPE_INT) {
      value = ReadInt(error);
    } else if (prototype->type == ZKPARSE_TYPE_FLOAT) {
      value = ReadFloat(error);
    } else {
      value = ReadString(error);
    }
    if (value == nullptr) return nullptr;  // the reader has reported and set the flag
    if (last == nullptr) {
      node->params = value;
    } else {
      last->next = value;
    }
    last = value;
    if (prototype->next != nullptr) {
      lexer.SkipSpace();
      if (lexer.ReadChar() != ',') return fail("comma expected");
    }
  }

  lexer.SkipSpace();
  if (lexer.ReadChar() != ')') return fail("closing bracket expected");
  return node;
}

// --- Constant definitions --------------------------------------------------------------------

void CZKParse::ReadConstDef(int* error) {
  CZKPARSE_KEYWORD* const node = arena.New<CZKPARSE_KEYWORD>();
  const auto fail = [this, error](const char* message) {
    ReportError("%s", message);
    *error = 1;
  };

  // Directly after the '$': a blank there leaves the name empty, and the bracket check fails.
  if (ReadName(node->name) != 0) return fail("error in const def");
  LowerCase(node->name);
  lexer.SkipSpace();
  if (lexer.ReadChar() != '(') return fail("left bracked expected in const def");

  lexer.SkipSpace();
  const int type = TypeOfLetter(lexer.ReadChar());
  if (type < 0) return fail("unexpected character in typedef");
  lexer.SkipSpace();
  if (lexer.ReadChar() != ',') return fail("unexpected character in typedef");

  lexer.SkipSpace();
  // The constant keeps only the value: a value read from a variable reference carries the
  // variable's name, which the constant does not.
  CZKPARSE_PARAM* value;
  if (type == ZKPARSE_TYPE_INT) {
    value = ReadInt(error);
  } else if (type == ZKPARSE_TYPE_FLOAT) {
    value = ReadFloat(error);
  } else {
    value = ReadString(error);
  }
  if (value == nullptr) return;
  value->name = nullptr;
  node->params = value;

  lexer.SkipSpace();
  if (lexer.ReadChar() != ')') return fail("unexpected character in typedef");
  // At the head: a later definition of the same name hides this one from every later lookup.
  node->next = constants;
  constants = node;
}

// --- Directives: declarations and includes ---------------------------------------------------

void CZKParse::ReadDirective(int* error, CZKPARSE_KEYWORD** statements,
                             CZKPARSE_KEYWORD** declarations) {
  CZKPARSE_KEYWORD* const node = arena.New<CZKPARSE_KEYWORD>();
  if (ReadName(node->name) != 0) {
    ReportError("error in typedef");
    *error = 1;
    return;
  }
  LowerCase(node->name);
  lexer.SkipSpace();
  const int byte = lexer.ReadChar();

  if (std::strcmp(node->name, "include") == 0) {
    ReadInclude(byte, error, statements, declarations);
  } else if (std::strcmp(node->name, "include_if_int") == 0) {
    ReadConditionalInclude(false, byte, error, statements, declarations);
  } else if (std::strcmp(node->name, "include_if_float") == 0) {
    ReadConditionalInclude(true, byte, error, statements, declarations);
  } else {
    ReadTypeDef(node, byte, error, declarations);
  }
}

void CZKParse::ReadTypeDef(CZKPARSE_KEYWORD* node, int byte, int* error,
                           CZKPARSE_KEYWORD** declarations) {
  if (byte != '(') {
    ReportError("left bracked expected in typedef");
    *error = 1;
    return;
  }

  // Only the first byte of a parameter's type counts; the rest up to the next ',' or ')' is a
  // description ("int width") and is passed over.
  CZKPARSE_PARAM* last = nullptr;
  bool afterType = false;
  for (;;) {
    lexer.SkipSpace();
    const int next = lexer.ReadChar();
    if (!afterType) {
      const int type = TypeOfLetter(next);
      if (type >= 0) {
        CZKPARSE_PARAM* param = arena.New<CZKPARSE_PARAM>(type, nullptr);
        // Appended after the last element rather than from the head, so that a long parameter
        // list does not cost quadratic time.
        if (last == nullptr) {
          node->params = param;
        } else {
          AppendParam(last, param);
        }
        last = param;
        afterType = true;
        continue;
      }
      if (next == ')' && node->params == nullptr) break;  // "()": no parameters
    } else {
      if (next == ',') {
        afterType = false;
        continue;
      }
      if (next == ')') break;
      if (next != kEndOfText) continue;
    }
    ReportError("unexpected characted in typedef");
    *error = 1;
    return;
  }
  node->next = *declarations;
  *declarations = node;
}

void CZKParse::ReadInclude(int byte, int* error, CZKPARSE_KEYWORD** statements,
                           CZKPARSE_KEYWORD** declarations) {
  if (byte != '(') {
    ReportError("left bracked expected in include");
    *error = 1;
    return;
  }
  lexer.SkipSpace();
  // A name that cannot be read skips the include and nothing else: the parse goes on after what
  // the string reader consumed.
  int readError = 0;
  const CZKPARSE_STRING* name = ReadString(&readError);
  if (readError != 0 || name == nullptr) return;
  lexer.SkipSpace();
  if (lexer.ReadChar() != ')') {
    ReportError("right bracked expected in include");
    *error = 1;
    return;
  }
  if (name->value == nullptr || name->value[0] == '\0') return;
  IncludeFile(name, error, statements, declarations);
}

void CZKParse::ReadConditionalInclude(bool floats, int byte, int* error,
                                      CZKPARSE_KEYWORD** statements,
                                      CZKPARSE_KEYWORD** declarations) {
  const char* directive = floats ? "include_if_float" : "include_if_int";
  const auto fail = [this, error, directive](const char* what) {
    ReportError("%s expected in '%s'", what, directive);
    *error = 1;
  };
  // Both operands as floats or both as ints; the float directive names its operands "int" too.
  const auto readOperand = [this, floats](int* readError) -> CZKPARSE_PARAM* {
    if (floats) return ReadFloat(readError);
    return ReadInt(readError);
  };

  if (byte != '(') return fail("left bracked");
  lexer.SkipSpace();
  int readError = 0;
  const CZKPARSE_PARAM* left = readOperand(&readError);
  if (readError != 0) return fail("int");
  lexer.SkipSpace();
  const int operation = lexer.ReadOperator();
  if (operation == ZKPARSE_OP_NONE) return fail("operator");
  lexer.SkipSpace();
  readError = 0;
  const CZKPARSE_PARAM* right = readOperand(&readError);
  if (readError != 0) return fail("int");
  lexer.SkipSpace();
  if (lexer.ReadChar() != ',') return fail("comma");
  lexer.SkipSpace();
  readError = 0;
  const CZKPARSE_STRING* name = ReadString(&readError);
  if (readError != 0) return fail("string");
  lexer.SkipSpace();
  if (lexer.ReadChar() != ')') return fail("right bracked");

  if (name->value == nullptr || name->value[0] == '\0') return;
  const bool holds = floats ? Compare(operation, static_cast<const CZKPARSE_FLOAT*>(left)->value,
                                      static_cast<const CZKPARSE_FLOAT*>(right)->value)
                            : Compare(operation, static_cast<const CZKPARSE_INT*>(left)->value,
                                      static_cast<const CZKPARSE_INT*>(right)->value);
  if (holds) IncludeFile(name, error, statements, declarations);
}

void CZKParse::IncludeFile(const CZKPARSE_STRING* name, int* error, CZKPARSE_KEYWORD** statements,
                           CZKPARSE_KEYWORD** declarations) {
  const char* written = name->value != nullptr ? name->value : "";
  const std::size_t folderLength = std::strlen(dir);
  const std::size_t nameLength = std::strlen(written);
  // Refused rather than cut: a cut name could open a different file than the one written.
  if (folderLength + nameLength > kPathSize - 1) {
    ReportError("include name too long: with the folder '%s' it would exceed %d characters", dir,
                kPathSize - 1);
    *error = 1;
    return;
  }
  char path[kPathSize];
  std::memcpy(path, dir, folderLength);
  std::memcpy(path + folderLength, written, nameLength + 1);
  FS_path_normalize(path, path);

  // Every include level is a level of recursion; a file that includes itself, directly or through
  // others, ends here instead of on the end of the stack.
  if (includeDepth >= kMaxIncludeDepth) {
    ReportError("includes nested deeper than %d levels: '%s' not included", kMaxIncludeDepth, path);
    *error = 1;
    return;
  }

  std::unique_ptr<CZKParse> child(new CZKParse(path));
  // The console has said so; a listener hears where the include stands.
  if (child->lexer.text == nullptr) {
    Tell(ScriptProblem::kWarning, true, lexer.line, "cannot open '%s'", path);
  }
  child->intVariable = intVariable;
  child->floatVariable = floatVariable;
  child->stringVariable = stringVariable;
  child->blockDepth = blockDepth;
  child->includeDepth = includeDepth + 1;
  // The constants go to the child and come back grown: the included file sees every constant
  // defined before the directive, and the including file sees the included file's afterwards.
  // They are lent with both indexes, not copied, so that an include costs the same however many
  // constants and declarations there are. The arena goes along, so that one arena holds the
  // whole parse. The child starts with none of these, so swapping there and back leaves it none.
  const auto swapWithChild = [this, &child] {
    std::swap(child->arena, arena);
    std::swap(child->constants, constants);
    std::swap(child->constantIndex, constantIndex);
    std::swap(child->declarationIndex, declarationIndex);
  };
  swapWithChild();
  *statements = child->ReadStatements(declarations, error, false);
  swapWithChild();
}

// --- The statement loop ----------------------------------------------------------------------

CZKPARSE_KEYWORD* CZKParse::ReadStatements(CZKPARSE_KEYWORD** declarations, int* error,
                                           bool inBlock) {
  CZKPARSE_KEYWORD* const atEntry = *declarations;
  CZKPARSE_KEYWORD* working = atEntry;
  CZKPARSE_KEYWORD* result = nullptr;
  CZKPARSE_KEYWORD** tail = &result;
  // A block's statements start right after its '{'.
  const std::int32_t openedOn = lexer.line;
  bool closed = false;

  if (lexer.SkipSpace() == 0) {
    for (;;) {
      const int byte = lexer.ReadChar();  // never the end: SkipSpace said text remains
      if (byte == '$') {
        ReadConstDef(error);
      } else if (byte == '!') {
        CZKPARSE_KEYWORD* included = nullptr;
        ReadDirective(error, &included, &working);
        Append(tail, included);
      } else if (byte == '}') {
        closed = true;
        if (!inBlock) {
          ReportError("unexpected closing curly bracket");
          *error = 1;
        }
        break;
      } else {
        lexer.UnreadChar();
        CZKPARSE_KEYWORD* call = ReadCall(working, error);
        Append(tail, call);
        if (*error != 0) break;
        lexer.SkipSpace();
        const int after = lexer.ReadChar();
        if (after == '{') {
          // Each block is a level of recursion: bounded, so that no script can exhaust the stack.
          if (blockDepth >= kMaxBlockDepth) {
            ReportError("blocks nested deeper than %d levels", kMaxBlockDepth);
            *error = 1;
            break;
          }
          ++blockDepth;
          call->block = ReadStatements(&working, error, true);
          --blockDepth;
        } else if (after == ';') {
          ReportTolerated("its not c!");  // reported, consumed, and the parse goes on
        } else if (after != kEndOfText) {
          lexer.UnreadChar();
        }
      }
      if (*error != 0) break;
      if (lexer.SkipSpace() != 0) break;
    }
  }

  // What the game accepts without a word, but an author hardly means.
  if (inBlock && !closed && *error == 0) {
    Tell(ScriptProblem::kWarning, false, openedOn, "block not closed before the end of the file");
  }
  if (!inBlock && lexer.UnclosedCommentLine() != 0) {
    Tell(ScriptProblem::kWarning, false, lexer.UnclosedCommentLine(),
         "block comment not closed before the end of the file");
  }

  if (inBlock) {
    // The block's own declarations end with it, however it ended: out of scope, their nodes wait
    // in the arena for the end of the parse.
    declarationIndex.Drop(working, atEntry);
    *declarations = atEntry;
  } else {
    *declarations = working;
  }
  return result;
}

CZKPARSE_KEYWORD* CZKParse::ParseText(int* error) {
  *error = 0;
  CZKPARSE_KEYWORD* declarations = nullptr;
  CZKPARSE_KEYWORD* list = ReadStatements(&declarations, error, false);
  declarationIndex.Drop(declarations, nullptr);
  if (list == nullptr) return nullptr;
  // The list's head takes the arena with everything in it; the constants go with it.
  constants = nullptr;
  return new StatementListHead(*list, std::move(arena));
}
