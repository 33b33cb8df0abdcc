#include "statement_text.h"

#include <cinttypes>
#include <cstdio>

#include "parse_values.h"

namespace {

void AppendString(std::string& text, const char* value) {
  text += '"';
  for (const unsigned char* byte = reinterpret_cast<const unsigned char*>(value);
       byte != nullptr && *byte != '\0'; ++byte) {
    switch (*byte) {
      case '"':
        text += "\\\"";
        break;
      case '\\':
        text += "\\\\";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\r':
        text += "\\r";
        break;
      case '\t':
        text += "\\t";
        break;
      default:
        if (*byte < 0x20 || *byte == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", *byte);
          text += escaped;
        } else {
          text += static_cast<char>(*byte);
        }
    }
  }
  text += '"';
}

void AppendValue(std::string& text, const CZKPARSE_PARAM* value) {
  char number[48];
  switch (value->type) {
    case ZKPARSE_TYPE_INT:
      std::snprintf(number, sizeof number, "int %" PRId32,
                    static_cast<const CZKPARSE_INT*>(value)->value);
      text += number;
      break;
    case ZKPARSE_TYPE_FLOAT:
      std::snprintf(number, sizeof number, "float %.9g",
                    static_cast<double>(static_cast<const CZKPARSE_FLOAT*>(value)->value));
      text += number;
      break;
    case ZKPARSE_TYPE_STRING:
      text += "string ";
      AppendString(text, static_cast<const CZKPARSE_STRING*>(value)->value);
      break;
    default:
      std::snprintf(number, sizeof number, "type %" PRId32, value->type);
      text += number;
  }
  if (value->name != nullptr) {
    text += " (%";
    text += value->name;
    text += ')';
  }
}

// Blocks are at most CZKParse::kMaxBlockDepth deep, so the recursion is bounded.
void AppendList(std::string& text, const CZKPARSE_KEYWORD* list, StatementLayout layout,
                int depth) {
  const std::string indent(layout == StatementLayout::kLines ? depth * 2 : 0, ' ');
  for (const CZKPARSE_KEYWORD* node = list; node != nullptr; node = node->next) {
    if (layout == StatementLayout::kOneLine && node != list) text += ' ';
    text += indent;
    text += node->name;
    text += '(';
    for (const CZKPARSE_PARAM* value = node->params; value != nullptr; value = value->next) {
      if (value != node->params) text += ", ";
      AppendValue(text, value);
    }
    text += ')';
    if (node->block != nullptr) {
      if (layout == StatementLayout::kLines) {
        text += " {\n";
        AppendList(text, node->block, layout, depth + 1);
        text += indent + "}";
      } else {
        text += " { ";
        AppendList(text, node->block, layout, depth + 1);
        text += " }";
      }
    }
    if (layout == StatementLayout::kLines) text += '\n';
  }
}

}  // namespace

std::string StatementText(const CZKPARSE_KEYWORD* list, StatementLayout layout) {
  std::string text;
  AppendList(text, list, layout, 0);
  return text;
}
