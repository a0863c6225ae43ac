#!/usr/bin/env bash
# The Wine environment of the project: its own prefix inside the build folder (32-bit, or 64-bit
# for the 64-bit build), no Mono or Gecko installers, no debug chatter, the English locale with
# ANSI code page 1252. Wine takes a process's code page from the Unix locale it starts in:
# TL_WINE_LOCALE=ja_JP.UTF-8 runs a program on the Japanese code page 932 (the locales come from
# scripts/setup.sh).
tl_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# TL_WINEARCH=win64 selects the 64-bit prefix of the 64-bit build instead.
export WINEARCH="${TL_WINEARCH:-win32}"
if [[ $WINEARCH == win64 ]]; then
  export WINEPREFIX="${TL_WINEPREFIX:-$tl_root/build/wineprefix64}"
else
  export WINEPREFIX="${TL_WINEPREFIX:-$tl_root/build/wineprefix}"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=en_US.UTF-8
export LC_ALL="${TL_WINE_LOCALE:-}"
export TL_SOURCE_DIR="$tl_root"

# Makes the prefix on first use; later calls only check that it is there.
tl_wine_prefix_ready() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot failed for $WINEPREFIX" >&2; return 1; }
    wineserver -w
  fi
  tl_wine_caption_font
}

# Wine draws the caption buttons of the frames it paints itself with the Marlett font, or "0 1 r"
# without it. Debian's fonts-wine holds it, where this Wine does not look: the prefix's own font
# folder gets a copy.
tl_wine_caption_font() {
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [[ -f $marlett && -d $fonts && ! -f $fonts/marlett.ttf ]]; then cp "$marlett" "$fonts/"; fi
  return 0
}

# Windows on a display without a window manager stay unmanaged, as in scripts/wine-session, also
# for a program run by itself: hiding a dialog then does not wait two seconds for a window
# manager. Set once; the prefix's user.reg keeps it.
tl_wine_unmanaged_windows() {
  grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg" ||
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
}
