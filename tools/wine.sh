# Sourced by the scripts that run the Windows build under Wine.
#
# The Windows launcher is a 32-bit program, run in a 32-bit Wine prefix.
# Some machines cannot execute 32-bit code at all (their kernel has 32-bit
# emulation switched off); there the same sources are built as a 64-bit
# Windows program and run under 64-bit Wine, which exercises the same Win32
# calls. qm_wine_init says which of the two this machine gets.

qm_wine_init() {
  local build
  build=$(realpath "$1")
  if /usr/lib/wine/wine --version > /dev/null 2>&1; then
    QM_WINE_BITS=32
    QM_WIN_TREE=$build/win32
    QM_WINE_LOADER=/usr/lib/wine/wine
    QM_WINE_SERVER=/usr/lib/wine/wineserver32
    export WINEARCH=win32
  else
    QM_WINE_BITS=64
    QM_WIN_TREE=$build/win64
    QM_WINE_LOADER=/usr/lib/wine/wine64
    QM_WINE_SERVER=/usr/lib/wine/wineserver64
    export WINEARCH=win64
  fi
  export WINEDEBUG=-all WINELOADER=$QM_WINE_LOADER WINESERVER=$QM_WINE_SERVER
  QM_WINE_PREFIXES=$build/wine$QM_WINE_BITS
}

# qm_make_prefix PREFIX LOADER SERVER [win98]: makes the prefix once with
# that Wine (the Windows 95 family one reports platform id 1).
qm_make_prefix() {
  local prefix=$1 loader=$2 server=$3
  [ -f "$prefix/.qm-ready" ] && return
  rm -rf "$prefix"
  mkdir -p "$prefix"
  WINEPREFIX=$prefix WINESERVER=$server "$loader" wineboot -i > /dev/null 2>&1
  if [ "${4:-}" = win98 ]; then
    local reg=$prefix/win98.reg
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine]\r\n"Version"="win98"\r\n' > "$reg"
    WINEPREFIX=$prefix WINESERVER=$server "$loader" regedit /S "$reg"
  fi
  WINEPREFIX=$prefix "$server" -w
  touch "$prefix/.qm-ready"
}

# qm_wine_prefix NAME [win98]: makes the prefix once and prints its path.
qm_wine_prefix() {
  local prefix=$QM_WINE_PREFIXES/$1
  qm_make_prefix "$prefix" "$QM_WINE_LOADER" "$QM_WINE_SERVER" "${2:-}"
  # A test that swaps Z: for a drive of its own and was cut short leaves
  # the prefix without it.
  [ -L "$prefix/dosdevices/z:" ] || ln -s / "$prefix/dosdevices/z:"
  echo "$prefix"
}

# qm_wow64_prefix: makes once a 64-bit prefix, in which 32-bit programs run as
# they do on 64-bit Windows (a machine that runs 32-bit programs only), and
# prints its path.
qm_wow64_prefix() {
  local prefix=$QM_WINE_PREFIXES/wow64
  WINEARCH=win64 qm_make_prefix "$prefix" /usr/lib/wine/wine64 /usr/lib/wine/wineserver64
  echo "$prefix"
}

# qm_wine PREFIX PROGRAM ARGS...: runs a Windows program in the prefix.
qm_wine() {
  local prefix=$1
  shift
  WINEPREFIX=$prefix "$QM_WINE_LOADER" "$@"
}
