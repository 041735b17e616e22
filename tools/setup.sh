#!/usr/bin/env bash
# Installs what building and testing need, when it is missing: compilers for
# both platforms, Wine, GoogleTest sources, a JDK and a German locale for the
# message tests. Safe to run again; it does nothing when all is there.
set -euo pipefail

missing=()
need() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" || missing+=("$1"); }

for package in cmake ninja-build g++ clang libclang-rt-14-dev googletest \
               g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 \
               openjdk-17-jdk-headless locales; do
  need "$package"
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt_updated=no
fi
need wine32:i386

if [ ${#missing[@]} -gt 0 ] || [ "${apt_updated:-yes}" = no ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" > /dev/null
fi

# Wine chooses its user interface language from the locale, which must exist.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen > /dev/null
fi
