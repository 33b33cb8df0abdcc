// How every part of the parser reports a problem in a script: the message, the file and line, and
// the source line it was found on, written to the log; and what a listening host hears of it.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "log.h"
#include "zk_parse.h"

char CZKParse::reportBuffer[CZKParse::kReportBufferSize];
ScriptProblemListener CZKParse::problemListener = nullptr;

namespace {

bool IsLineEnd(char byte) {
  return byte == '\r' || byte == '\n';
}

}  // namespace

void CZKParse::ReportError(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Report(ScriptProblem::kError, format, arguments);
  va_end(arguments);
}

void CZKParse::ReportTolerated(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Report(ScriptProblem::kWarning, format, arguments);
  va_end(arguments);
}

void CZKParse::Report(ScriptProblem kind, const char* format, std::va_list arguments) {
  // Cut to 8191 characters; vsnprintf always terminates.
  std::vsnprintf(reportBuffer, sizeof reportBuffer, format, arguments);
  const std::int32_t line = lexer.line;
  if (problemListener != nullptr) problemListener(kind, true, fileName, line, reportBuffer);

  // The message and the source line may hold '%' (variable references do): both go to the log as
  // data, never as a format.
  LogPrint("[CZKParse] ");
  LogPrint("%s", reportBuffer);
  LogPrint(": in file '%s' in line %d\n", fileName, line);

  // The source line around pos. The backward search stops short of index 0, so a line feed there
  // still belongs to the first line's excerpt.
  const char* const text = lexer.text;
  std::uint32_t start = 0;
  for (std::uint32_t index = lexer.pos; index > 1; --index) {
    if (IsLineEnd(text[index - 1])) {
      start = index;
      break;
    }
  }
  std::uint32_t end = lexer.pos;
  while (end < lexer.length && !IsLineEnd(text[end])) ++end;

  std::size_t count = end - start;
  if (count > sizeof reportBuffer - 1) count = sizeof reportBuffer - 1;
  if (count > 0) std::memcpy(reportBuffer, text + start, count);
  reportBuffer[count] = '\0';

  LogPrint("%s", reportBuffer);
  // A call of its own: a line feed that starts a call's text stays a bare line feed in the log.
  LogPrint("\n\n");
}

void CZKParse::Tell(ScriptProblem kind, bool shown, std::int32_t atLine, const char* format, ...) {
  if (problemListener == nullptr) return;
  char message[kPathSize + 64];  // the longest is a path with a few words
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  problemListener(kind, shown, fileName, atLine, message);
}
