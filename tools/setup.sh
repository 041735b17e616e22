#!/usr/bin/env bash
# Installs what building and testing need, when it is missing: compilers for
# both platforms, Wine, GoogleTest sources, Google Benchmark, a JDK and a
# German locale for the message tests. Safe to run again; it does nothing
# when all is there.
set -euo pipefail

missing=()
need() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" || missing+=("$1"); }

for package in cmake ninja-build g++ clang libclang-rt-14-dev googletest \
               g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 \
               openjdk-17-jdk-headless locales libbenchmark-dev; do
  need "$package"
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt_updated=no
fi
# Once the 32-bit Wine could not be installed, it is not asked for again on
# this machine (see below).
no_wine32_mark=/var/tmp/quillmark-no-wine32
[ -f "$no_wine32_mark" ] || need wine32:i386

if [ ${#missing[@]} -gt 0 ] || [ "${apt_updated:-yes}" = no ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails one index now and then; what the other
  # indexes hold is usually enough, and a later attempt gets the rest. The
  # 32-bit Wine is only of use where 32-bit programs run (tools/wine.sh falls
  # back to 64-bit Wine), so when it alone cannot be installed the rest is.
  for attempt in 1 2 3; do
    apt-get update -qq || true
    apt-get install -y -qq "${missing[@]}" > /dev/null && break
    without_i386=()
    for package in "${missing[@]}"; do
      [[ $package == *:i386 ]] || without_i386+=("$package")
    done
    if [ ${#without_i386[@]} -lt ${#missing[@]} ] &&
       apt-get install -y -qq "${without_i386[@]}" > /dev/null; then
      echo "setup: WARNING: the 32-bit Wine could not be installed; Wine runs 64-bit only"
      touch "$no_wine32_mark"
      break
    fi
    [ "$attempt" -lt 3 ] || exit 1
    echo "setup: installing failed; trying again in $((attempt * 15)) s"
    sleep $((attempt * 15))
  done
fi

# Wine chooses its user interface language from the locale, which must exist.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen > /dev/null
fi
