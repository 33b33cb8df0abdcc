// Declarations through which the program calls filesystem.dll: one file name space over the
// registered data packages and folders. Plain C functions, cdecl, single-byte NUL-terminated names.
#pragma once

// Callers declare the functions without dllimport: their calls go through the import library's
// stubs, so a program may also bring definitions of its own, which the linker then takes instead
// (the file reader's tests do, to fail where the real library cannot be made to).
#if defined(_WIN32) && defined(VANTOR_FILESYSTEM_BUILD)
#define FS_API __declspec(dllexport)
#elif defined(VANTOR_FILESYSTEM_BUILD)
#define FS_API __attribute__((visibility("default")))
#else
#define FS_API
#endif

// The longest name the library accepts, without the terminating zero; callers' name buffers hold
// FS_MAX_PATH + 1 bytes.
#define FS_MAX_PATH 259

// An open file. Handles are numbers checked by the library, never pointers into it: a closed or
// made-up handle gets the failure result, never a crash.
typedef struct FS_File* FS_HANDLE;

#ifdef __cplusplus
extern "C" {
#endif

// Before FS_init and after FS_shutdown every function except FS_path_normalize gets its failure
// result. Names that leave the sources are refused by FS_exists and FS_open: a drive ("C:", any
// ':'), a "//server" name, a Windows device name ("con", "nul.txt", ...), or a name that is only
// the root. A name longer than FS_MAX_PATH is refused as well.

// First call into the library. Returns 1; a second call keeps what the first set up.
FS_API int FS_init(void);

// Registers a package (a name ending in ".pak", any case) or a folder as a source. Sources
// registered later win over earlier ones. A source that does not exist, or a damaged package, is
// accepted and serves nothing. The flag and the two further arguments appear in the trace but
// change nothing. Returns 1 when the source was registered, 0 when the name was null, empty or too
// long or the table of sources is full. Names inside packages ignore ASCII case; names in folders
// match as the host's file system matches them.
FS_API int FS_add_source(const char* name, int flag, int reserved1, int reserved2);

// 1 when a file of that name exists in any source, 0 otherwise.
FS_API int FS_exists(const char* name);

// Normalises a name: '/' as the one separator (both '/' and '\' are read as one), "." and empty
// parts removed, ".." resolved (never above the root, extra ".." are dropped), no leading or
// trailing '/'. destination may be the same buffer as source; it must hold FS_MAX_PATH + 1 bytes,
// and the result is cut to fit (then normalised again, so a result is its own normal form).
// Returns the result's length, or -1 (destination emptied when it is not null) for a null
// argument.
FS_API int FS_path_normalize(char* destination, const char* source);

// Opens a file for reading (mode 0 is the only mode; any other fails). Returns null when it cannot
// be opened. At most 64 files are open at once.
FS_API FS_HANDLE FS_open(const char* name, int mode);

// The file's length in bytes, or -1 for a dead handle.
FS_API long FS_length(FS_HANDLE file);

// Reads up to count bytes from the current position; returns the bytes read (fewer at the end of
// the file, 0 past it), or -1 for a dead handle, a null buffer or a negative count.
FS_API long FS_read(FS_HANDLE file, void* buffer, long count);

// Closes the file; the handle is dead afterwards. Returns 0, or -1 for a dead handle.
FS_API int FS_close(FS_HANDLE file);

// Last call into the library: closes what is still open and forgets every source. Returns 1, or 0
// when the library was not running. Handles of the closed files stay dead after a new FS_init.
FS_API int FS_shutdown(void);

#ifdef __cplusplus
}
#endif
