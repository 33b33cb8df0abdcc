// Lets the compiler check the arguments of the project's printf-style functions against their
// formats. The Windows builds format by the Windows runtime's rules (%I64X and the like), so their
// checks follow those rules.
#pragma once

#if defined(__GNUC__) && defined(_WIN32)
#define VANTOR_PRINTF_FORMAT(formatIndex, firstArgument) \
  __attribute__((format(ms_printf, formatIndex, firstArgument)))
#elif defined(__GNUC__)
#define VANTOR_PRINTF_FORMAT(formatIndex, firstArgument) \
  __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define VANTOR_PRINTF_FORMAT(formatIndex, firstArgument)
#endif
