// The log output's text handling, free of any platform call so that it is tested natively:
// formatting into the fixed message buffer and the conversion of line ends to CR LF.
#pragma once

#include <cstdarg>
#include <cstddef>

// The message buffer every printing operation formats into: text longer than 2047 characters is
// cut so that the buffer always ends with a zero byte.
constexpr std::size_t kMessageBufferSize = 2048;

// The line buffer of LogPrint's converted text: at most 2047 characters and the zero.
constexpr std::size_t kLineBufferSize = 2048;

// Formats like printf (on Windows by the runtime library's _vsnprintf) into buffer, cut to fit.
void FormatLogText(char (&buffer)[kMessageBufferSize], const char* format, va_list arguments);

// Copies text into line with every line feed made CR LF, except a line feed at the very start of
// text or one that already follows a carriage return. The copy stops before an input character
// once 2046 characters are out; a CR LF pair begun at 2045 is completed, so at most 2047
// characters come out. Returns that length; line ends with a zero.
std::size_t ConvertLineEnds(const char* text, char (&line)[kLineBufferSize]);
