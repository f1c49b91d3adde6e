# Sourced (sh): Wine as KORVAL's Windows runs use it, the build's programs
# and the installed program alike, in the prefix WINEPREFIX names: quiet,
# without the .NET and HTML engines it would offer to install.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Readies the prefix once, with the Wine program given. A program that crashes
# prints where and ends, rather than wait on Wine's crash dialog until its
# test's time runs out. A Windows desktop has its UI fonts, and Arial's
# metrics for the report. Debian's Wine keeps its own (Tahoma, package
# fonts-wine) where this Wine does not look, and Liberation Sans is Arial's
# metric twin: both go into the prefix's font folder, the one folder Qt's
# offscreen platform reads on Windows. Wine's PostScript driver fails on the
# face Wine gives for Arial, the report's; Liberation Sans prints.
wine_prefix() {
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -e "$fonts/LiberationSans-Regular.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf "$fonts/"
  fi
  if [ ! -e "$WINEPREFIX/.korval-arial" ]; then
    "$1" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1 \
      && touch "$WINEPREFIX/.korval-arial"
  fi
  if [ ! -e "$WINEPREFIX/.korval-crash" ]; then
    "$1" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 \
      && touch "$WINEPREFIX/.korval-crash"
  fi
}
