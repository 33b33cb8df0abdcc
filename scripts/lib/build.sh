# Sourced by the scripts: configuring and building the presets.

# vantor_build PRESET: configures and builds one preset. The Windows presets stage data0.pak with
# the native pak tool, which therefore is built first.
vantor_build() {
  local preset=$1 extra=()
  if [ "$preset" != native ]; then
    extra=(-DVANTOR_HOST_PAK="$VANTOR_ROOT/build/native/bin/pak")
  fi
  cmake --preset "$preset" "${extra[@]}" >"$VANTOR_ROOT/build/$preset.configure.log" 2>&1 ||
    { cat "$VANTOR_ROOT/build/$preset.configure.log"; return 1; }
  cmake --build --preset "$preset"
}
