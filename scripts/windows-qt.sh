# Sourced by windows.sh: Qt for 64-bit Windows, cross-built with MinGW-w64
# from Debian's own source of the Qt the Linux build uses, into a cache
# outside the source tree. The cache is named by Qt's version and a digest of
# the build's options: a second run reuses it, a change of either builds anew.
# A build counts as finished only once it is installed whole: the mark that
# says so is written last, and a folder without it is built again.

# The Qt modules KORVAL, its tests and their deployment need; everything
# else is left out to keep the build within a CI run.
qt_windows_options=(
  -release -nomake tests -nomake examples -no-opengl -no-dbus
  -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-doubleconversion
  -no-feature-sql -no-feature-xml -no-feature-concurrent -no-feature-vulkan
  # Debian's source lacks the tablet header (wintab.h).
  -no-feature-tabletevent
)
qt_windows_submodules=qtbase

# Prints the folder of the finished Qt for Windows, building it first when
# the cache does not hold it. Progress goes to stderr.
qt_for_windows() {
  local root="$1" version key cache sources work build
  version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
  key="$(printf '%s\n' "$version" "${qt_windows_options[@]}" "$(cat "$root/cmake/mingw-w64.cmake")" \
    "$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)" | sha256sum | cut -c1-12)"
  cache="${KORVAL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korval}"
  local prefix="$cache/qt-${version%%+*}-mingw-w64-$key"
  if [ -f "$prefix/.korval-complete" ]; then
    qt_windows_translations "$prefix"
    echo "$prefix"
    return 0
  fi
  echo "Qt ${version} for Windows is not in $cache: building it (about an hour on two cores)" >&2
  work="$cache/work-$key"
  rm -rf "$work"
  mkdir -p "$work/lists/partial" "$work/parts"
  # Debian's sources for the archive the machine already uses, in lists of
  # our own beside the machine's (which stay as they are): each entry as
  # written, its key (Signed-By) included, with its type turned to source.
  # Apt then checks the archive's signature and every file's checksum, and
  # dpkg-source checks the .dsc's signature (debian-keyring) and the
  # unpacked files against it.
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' "$f" >>"$work/parts/korval.list"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN {RS = ""; ORS = "\n\n"}
         /(^|\n)Types:[^\n]*deb( |\n|$)/ && /(^|\n)URIs:[^\n]*debian/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print}' \
      "$f" >>"$work/parts/korval.sources"
  done
  local apt=(apt-get -q -o APT::Sandbox::User="$(id -un)" -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/parts"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
  "${apt[@]}" update >&2
  (cd "$work" && "${apt[@]}" source --download-only "qt6-base=$version" >&2)
  (cd "$work" && dpkg-source --require-valid-signature --require-strong-checksums -x qt6-base_*.dsc src >&2)

  build="$work/build"
  rm -rf "$prefix"
  mkdir -p "$build"
  (
    cd "$build"
    "$work/src/configure" -prefix "$prefix" "${qt_windows_options[@]}" \
      -xplatform win32-g++ -qt-host-path /usr \
      -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  ) >&2
  # Ninja's own counter shows the progress.
  nice -n 10 cmake --build "$build" --parallel 2 >&2
  cmake --install "$build" >&2
  touch "$prefix/.korval-complete"
  rm -rf "$work"
  qt_windows_translations "$prefix"
  echo "$prefix"
}

# Qt's own texts (qttranslations) are data, the same files on every
# platform: the host's, of the same Qt version, go where this Qt looks.
qt_windows_translations() {
  mkdir -p "$1/translations"
  cp -u /usr/share/qt6/translations/qtbase_*.qm "$1/translations/"
}
