# Compiler settings shared by all of our own targets.

if(VANTOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Wine's dbghelp reads DWARF 2 to 4 only; frame-relative variables need the frame pointer.
  add_compile_options(-gdwarf-4 -fno-omit-frame-pointer)
  # The same bytes from every build of a commit: no build folder in the binaries (their debug
  # information and __FILE__), and no link time in their headers.
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                      -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  add_link_options(-Wl,--no-insert-timestamp)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # DWARF-2 unwinding: every module must share one libgcc and libstdc++, or exceptions cannot
    # cross module boundaries. Ship the runtime DLLs beside the programs.
    add_link_options(-shared-libgcc)
    set(VANTOR_RUNTIME_DLLS libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
  else()
    # SEH unwinding works across modules with a static runtime; only the thread library of the
    # posix-thread compilers (which C++ threads and GoogleTest need) is shipped.
    add_link_options(-static-libgcc -static-libstdc++)
    set(VANTOR_RUNTIME_DLLS libwinpthread-1.dll)
  endif()
  set(VANTOR_RUNTIME_DLL_PATHS)
  foreach(dll IN LISTS VANTOR_RUNTIME_DLLS)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "runtime library ${dll} not found (compiler said '${path}')")
    endif()
    list(APPEND VANTOR_RUNTIME_DLL_PATHS "${path}")
    file(COPY "${path}" DESTINATION ${CMAKE_BINARY_DIR}/bin)
  endforeach()
endif()

# Our own code builds warning-free.
function(vantor_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Modules whose code can fault: a processor fault translated into a C++ exception must be able to
# unwind through their frames.
function(vantor_faulting_module target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -fnon-call-exceptions)
  endif()
endfunction()
