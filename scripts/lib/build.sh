# Sourced by the scripts: configuring and building the presets.

# vantor_build PRESET: configures and builds one preset. The Windows presets stage data0.pak with
# the native pak tool (VANTOR_HOST_PAK in CMakePresets.json), so the native preset comes first.
vantor_build() {
  local preset=$1
  cmake --preset "$preset" >"$VANTOR_ROOT/build/$preset.configure.log" 2>&1 ||
    { cat "$VANTOR_ROOT/build/$preset.configure.log"; return 1; }
  cmake --build --preset "$preset"
}
