# Sourced by the scripts: the Wine environment the programs run in.

VANTOR_WINE64=/usr/lib/wine/wine64
VANTOR_WINE32=/usr/lib/wine/wine
VANTOR_WINESERVER=/usr/lib/wine/wineserver64

# How 32-bit Wine runs here: "native", "emulated" (through qemu, which scripts/setup registers on
# a kernel without 32-bit support), or nothing when it cannot run.
vantor_wine32_mode() {
  [ -x "$VANTOR_WINE32" ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1 || return 0
  if grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then echo emulated; else echo native; fi
}
vantor_have_wine32() { [ -n "$(vantor_wine32_mode)" ]; }

# vantor_prefix PREFIX GRAPHICS: prepares (once) and enters a prefix. GRAPHICS is "null" for tests
# (message boxes are real, invisible dialogs that the harness answers) or "x11" for a visible game.
vantor_prefix() {
  local prefix=$1 graphics=$2
  export WINEPREFIX=$prefix
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko install prompts.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # A prefix made while 32-bit Wine could not run lacks its 32-bit half ("could not load
  # kernel32.dll"): once 32-bit Wine works, such a prefix is made anew.
  local wine32_marker=$prefix/.vantor-wine32
  if [ -f "$prefix/system.reg" ] && [ ! -f "$wine32_marker" ] && vantor_have_wine32; then
    echo "wine: the prefix $prefix has no 32-bit half; making it anew"
    "$VANTOR_WINESERVER" -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
  fi
  if [ ! -f "$prefix/system.reg" ]; then
    echo "wine: creating the prefix $prefix"
    mkdir -p "$prefix"
    "$VANTOR_WINE64" wineboot --init >/dev/null 2>&1
    if vantor_have_wine32; then touch "$wine32_marker"; fi
  fi
  # Drive T: is a folder of its own, so tests can run the game from a drive's root.
  mkdir -p "$prefix/drive_t"
  ln -sfn "$prefix/drive_t" "$prefix/dosdevices/t:"
  if [ "$graphics" = null ]; then
    "$VANTOR_WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  else
    "$VANTOR_WINE64" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  fi
  "$VANTOR_WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # No audio driver: the game plays no sound, and the first program that opens audio in a new
  # game folder (the diagnostics tool the launcher starts there) would otherwise print a screen of
  # ALSA's errors about a missing sound card. An empty driver list loads none.
  "$VANTOR_WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
  # The desktop keeps the graphics driver (and display) of the session that created it: start a
  # fresh session so the setting above is the one in force. The new server stays up for the whole
  # run: a program start costs ~55 ms with it, ~1 s without.
  "$VANTOR_WINESERVER" -k >/dev/null 2>&1 || true
  "$VANTOR_WINESERVER" -w >/dev/null 2>&1 || true
  "$VANTOR_WINESERVER" -p >/dev/null 2>&1 || true
  # The session's first program starts the desktop and the services, which live on and inherit
  # its output: start them here, so that ctest and build steps never wait on a pipe they hold.
  "$VANTOR_WINE64" cmd /c exit </dev/null >/dev/null 2>&1
}

vantor_prefix_stop() { "$VANTOR_WINESERVER" -k >/dev/null 2>&1 || true; }
