# Sourced by scripts/setup: 32-bit Wine, which runs the product's own (i686) build.
#
# Three things can stand in the way on a Debian 12 machine, and each is repaired only where it is
# found:
# - the mirror's i386 index of a source may fail apt's size check (a mirror caught mid-sync); apt
#   then drops it and cannot resolve the 32-bit halves of multi-arch pairs. The file itself is a
#   consistent, older index, so it is fetched with apt's own downloader and stored as the list.
# - with that older index, a pair whose amd64 candidate exists only in the newer amd64 index cannot
#   be installed for both architectures; both halves are then pinned to the newest version that
#   both architectures offer.
# - a kernel without 32-bit support cannot execute 32-bit programs at all. qemu's user-mode
#   emulator, registered with binfmt_misc, runs them instead. Only a recent qemu is fast enough
#   (bookworm's 7.2 needs about 70 s to start a Wine program, backports' 10.0 a quarter second), so
#   it comes from bookworm-backports, through a source entry for amd64 alone.
# Expects installed, update_index and sudo_if_needed from scripts/setup; setup_wine32 is the entry.

VANTOR_BINFMT=/proc/sys/fs/binfmt_misc
VANTOR_BINFMT_ENTRY=$VANTOR_BINFMT/qemu-i386
VANTOR_QEMU=/usr/bin/qemu-i386-static
VANTOR_QEMU_MIN_VERSION=1:10
VANTOR_BACKPORTS_SOURCE=/etc/apt/sources.list.d/vantor-backports.sources
# Present when installing 32-bit Wine failed, so that later runs do not spend a minute on it again.
VANTOR_WINE32_FAILED=/var/tmp/vantor-wine32-unavailable

# Stores the i386 package index of every source whose index apt could not take.
repair_i386_indexes() {
  local uri file
  while read -r uri file; do
    compgen -G "$file*" >/dev/null && continue
    echo "setup: repairing the i386 index $uri"
    local download
    download=$(mktemp)
    if /usr/lib/apt/apt-helper download-file "$uri.xz" "$download" >/dev/null 2>&1 &&
      xz -dc "$download" | sudo_if_needed tee "$file" >/dev/null; then
      :
    else
      echo "setup: could not fetch $uri.xz" >&2
      sudo_if_needed rm -f "$file"
    fi
    rm -f "$download"
  done < <(apt-get indextargets --no-release-info --format '$(ARCHITECTURE) $(CREATED_BY) $(URI) $(FILENAME)' |
    awk '$1 == "i386" && $2 == "Packages" { print $3, $4 }')
}

# The newest version of a package that both architectures offer, or nothing.
newest_common_version() {
  local name=$1 best="" version
  while read -r version; do
    if [ -z "$best" ] || dpkg --compare-versions "$version" gt "$best"; then best=$version; fi
  done < <(comm -12 <(package_versions "$name") <(package_versions "$name:i386"))
  echo "$best"
}
candidate_version() { apt-cache policy "$1" | awk '/Candidate:/ { print $2 }'; }
package_versions() { apt-cache madison "$1" | awk -F'|' '{ gsub(/ /, "", $2); print $2 }' | sort -u; }

# Installs wine32:i386, pinning each multi-arch pair apt cannot resolve to a version both
# architectures offer. Gives up when apt names no new pair to pin.
install_wine32() {
  local pins=() options=() names name version
  for _ in 1 2 3 4 5 6; do
    if sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${options[@]}" wine32:i386 "${pins[@]}" >/tmp/vantor-wine32.log 2>&1; then
      return 0
    fi
    # "libgd3:i386 : Depends: libtiff6:i386 (>= 4.0.3) but it is not going to be installed"
    names=$(grep -o 'Depends: [a-z0-9.+-]*' /tmp/vantor-wine32.log | awk '{ print $2 }' | sort -u || true)
    local added=0
    for name in $names; do
      [[ " ${pins[*]} " == *" $name="* ]] && continue
      # A pair is stuck only when the two architectures' candidates differ.
      [ "$(candidate_version "$name")" != "$(candidate_version "$name:i386")" ] || continue
      version=$(newest_common_version "$name")
      [ -n "$version" ] || continue
      echo "setup: installing $name $version for both architectures"
      pins+=("$name=$version" "$name:i386=$version")
      # The amd64 half may already be newer than anything the i386 index has.
      options=(--allow-downgrades)
      added=1
    done
    [ "$added" -eq 1 ] || return 1
  done
  return 1
}

binfmt_mounted() { [ -e "$VANTOR_BINFMT/register" ]; }

# Runs 32-bit programs when the kernel can, whatever binfmt_misc says: the emulator's entry is put
# aside for the check and restored.
i386_runs_natively() {
  local entry_enabled=0 result=1
  if [ -f "$VANTOR_BINFMT_ENTRY" ] && grep -qx enabled "$VANTOR_BINFMT_ENTRY"; then
    entry_enabled=1
    echo 0 | sudo_if_needed tee "$VANTOR_BINFMT_ENTRY" >/dev/null
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && result=0
  [ "$entry_enabled" -eq 1 ] && echo 1 | sudo_if_needed tee "$VANTOR_BINFMT_ENTRY" >/dev/null
  return $result
}

install_recent_qemu() {
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  if installed qemu-user-static &&
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user-static)" ge "$VANTOR_QEMU_MIN_VERSION"; then
    return 1  # nothing installed: the registration may stay
  fi
  if [ ! -f "$VANTOR_BACKPORTS_SOURCE" ]; then
    local repo
    repo=$(apt-get indextargets --no-release-info --format '$(URI)' |
      sed -n "s|dists/$codename/main/binary-amd64/Packages\$||p" | head -n 1)
    echo "setup: adding $codename-backports (amd64 only) for a recent qemu"
    sudo_if_needed tee "$VANTOR_BACKPORTS_SOURCE" >/dev/null <<EOF
Types: deb
URIs: ${repo:-http://deb.debian.org/debian/}
Suites: $codename-backports
Components: main
Architectures: amd64
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    updated=0
  fi
  update_index
  echo "setup: installing qemu-user-static from backports"
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -t "$codename-backports" qemu-user-static >/tmp/vantor-qemu.log 2>&1 ||
    { echo "setup: qemu-user-static could not be installed (see /tmp/vantor-qemu.log)" >&2; return 2; }
  return 0
}

# Registers the emulator for 32-bit x86 ELF programs. With flag F the kernel opens the interpreter
# at registration, so a new qemu needs a new registration. Kernel state: lost at every boot.
register_qemu() {
  local renew=$1
  binfmt_mounted || sudo_if_needed mount -t binfmt_misc binfmt_misc "$VANTOR_BINFMT"
  if [ -f "$VANTOR_BINFMT_ENTRY" ]; then
    if [ "$renew" -eq 0 ] && grep -qx enabled "$VANTOR_BINFMT_ENTRY" &&
      grep -qx "interpreter $VANTOR_QEMU" "$VANTOR_BINFMT_ENTRY"; then
      return 0
    fi
    echo -1 | sudo_if_needed tee "$VANTOR_BINFMT_ENTRY" >/dev/null
  fi
  echo "setup: registering $VANTOR_QEMU for 32-bit programs"
  # binfmt_misc decodes the \x escapes itself.
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$VANTOR_QEMU"':FOC' |
    sudo_if_needed tee "$VANTOR_BINFMT/register" >/dev/null
}

setup_wine32() {
  if ! installed wine32:i386; then
    if [ -f "$VANTOR_WINE32_FAILED" ] && [ -z "${VANTOR_RETRY_WINE32:-}" ]; then
      echo "setup: wine32 is not installed (failed before, see $VANTOR_WINE32_FAILED; VANTOR_RETRY_WINE32=1 tries again)" >&2
      return 0
    fi
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      sudo_if_needed dpkg --add-architecture i386
      updated=0
    fi
    update_index
    repair_i386_indexes
    echo "setup: installing wine32:i386"
    if install_wine32; then
      sudo_if_needed rm -f "$VANTOR_WINE32_FAILED"
      echo "setup: wine32 installed"
    else
      tail -n 20 /tmp/vantor-wine32.log | sudo_if_needed tee "$VANTOR_WINE32_FAILED" >/dev/null
      echo "setup: wine32 could not be installed (see /tmp/vantor-wine32.log); the 32-bit build is built but its tests cannot run here" >&2
      return 0
    fi
  fi
  if i386_runs_natively; then return 0; fi
  local installed_now=0
  install_recent_qemu || installed_now=$?
  case $installed_now in
    0) register_qemu 1 ;;
    1) register_qemu 0 ;;
    *) return 0 ;;
  esac
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 ||
    echo "setup: 32-bit programs still do not run through $VANTOR_QEMU" >&2
}
