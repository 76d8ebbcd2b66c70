# Sourced by the project's scripts (run, test, screenshot, bench): a private Wine prefix per architecture
# and, on request, a private virtual display. Never touches the user's ~/.wine.
#   wine_prefix_made win32|win64      creates and configures build/wine-<arch> once
#   wine_prefix_ready win32|win64 [plain|ipagothic|japanese]
#                                     the same (or a prefix as players have one, see
#                                     players_prefix_made), with Wine's processes kept up
#                                     for many runs
#   start_private_display             starts Xvfb on a free display, exports DISPLAY
#   stop_everything                   stops what these functions started (by PID)
#   wine_arch                         the build that runs under Wine here: win32 or win64
#   build_tree preset [targets...]    configures build/<preset> once, then builds

VORLAMY_ROOT=${VORLAMY_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine's menu builder would add menus, desktop entries and file types for the prefix's
# programs under the user's home: nothing of a private prefix belongs there.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d
_xvfb_pid=
_prefixes_used=()

# Can this machine run 32-bit Wine? It may not be installed (see install-deps.sh), and
# some kernels (and sandboxes) run only 64-bit code.
can_run_wine32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
# Why not, in a few words.
why_no_wine32() {
  if [ -x /usr/lib/wine/wine ]; then echo "this machine cannot execute 32-bit code"
  else echo "32-bit Wine (wine32:i386) is not installed"; fi
}
# The build that runs under Wine here: the 32-bit product, or where 32-bit Wine cannot
# run, the x86_64 build of the same code.
wine_arch() { if can_run_wine32; then echo win32; else echo win64; fi; }

# Configures a build tree once (CMakePresets.json names them), then builds what changed:
# the named targets, or everything.
build_tree() { # preset [targets...]
  local preset=$1; shift
  if [ ! -f "$VORLAMY_ROOT/build/$preset/build.ninja" ]; then
    (cd "$VORLAMY_ROOT" && cmake --preset "$preset" >/dev/null) || return 1
  fi
  if [ $# -gt 0 ]; then ninja -C "$VORLAMY_ROOT/build/$preset" "$@"
  else (cd "$VORLAMY_ROOT" && cmake --build --preset "$preset"); fi
}

# Every Wine process starts without address randomization. Debian's Wine has no
# preloader to keep the address of Windows' shared user data (0x7ffe0000) free, and the
# kernel puts the heap of its loader (at 0x7d000000) anywhere in the gigabyte after it:
# about one start in a thousand the heap lies on that address, and the process ends at
# once with status 1 ("failed to map the shared user data") before the program has run.
# Without randomization the heap starts right after the loader, 47 MB below it. The
# programs those processes start inherit the setting. Where the system forbids it (some
# containers), Wine runs as it is.
if setarch "$(uname -m)" --addr-no-randomize true 2>/dev/null; then
  fixed_layout=(setarch "$(uname -m)" --addr-no-randomize)
else
  fixed_layout=()
fi

# Runs a command as an ordinary user's process runs as far as files go: root may write a
# read-only file and create files in any folder, whatever their modes say, and Wine, which
# takes its file permissions from the host, would then allow what Windows refuses a
# player. Other users' processes have no such override to give up.
if [ "$(id -u)" -eq 0 ]; then
  ordinary_user=("${fixed_layout[@]}" setpriv --inh-caps=-dac_override,-dac_read_search
    --bounding-set=-dac_override,-dac_read_search --)
else
  ordinary_user=("${fixed_layout[@]}")
fi
as_ordinary_user() { "${ordinary_user[@]}" "$@"; }

wine_loader() { [ "$1" = win32 ] && echo /usr/lib/wine/wine || echo /usr/lib/wine/wine64; }

# The prefix of an architecture, made and configured once; exported as WINEPREFIX. Two
# scripts that get here at once make it once.
wine_prefix_made() {
  local arch=$1 prefix="$VORLAMY_ROOT/build/wine-$1"
  export WINEPREFIX=$prefix WINEARCH=$arch
  mkdir -p "$VORLAMY_ROOT/build"
  (
    flock 9
    if [ ! -f "$prefix/.vorlamy-ready" ]; then
      echo "set-up: making the private Wine prefix build/wine-$arch (Wine's first start takes a while, about 20 s)" >&2
      create_prefix "$arch" "$prefix" "$(wine_loader "$arch")"
    fi
    install_wine_fonts "$prefix"
    settings_applied_for_this_locale "$prefix" "$(wine_loader "$arch")"
  ) 9>"$prefix.lock"
}

# The prefix, with a wineserver that stays up between programs and Wine's own background
# processes (services, the desktop window's explorer) started here with no output
# attached: each test then starts in a tenth of a second, and no Wine process that
# outlives a test holds the test runner's output pipe open. stop_everything ends them.
wine_prefix_ready() {
  local arch=$1 loader
  loader=$(wine_loader "$arch")
  if [ -n "${2:-}" ]; then players_prefix_made "$arch" "$2"; else wine_prefix_made "$arch"; fi
  _prefixes_used+=("$WINEPREFIX")
  # The server does the file operations of every Wine program, so it is the one that
  # must have no override. One that is up already (another script's) serves as well.
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  as_ordinary_user /usr/lib/wine/wineserver -p 2>/dev/null || true
  # The first program also puts the prefix back at 96 dots per inch, wherever a run that
  # was stopped left it.
  set_prefix_dpi "$arch" 96 || true
  if [ -n "${DISPLAY:-}" ]; then
    as_ordinary_user "$loader" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  fi
}

create_prefix() {
  local arch=$1 prefix=$2 loader=$3
  rm -rf "$prefix"
  mkdir -p "$prefix"
  "${fixed_layout[@]}" "$loader" wineboot -i >/dev/null 2>&1
  # The dialogs' font is not part of Wine: map it to a Japanese font of the system.
  # No window manager: Managed=N spares a 2 s wait at every window's end. A crash in a
  # test must end the process, not wait on Wine's crash dialog.
  local reg="$prefix/vorlamy.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n"Decorated"="N"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\r\n\r\n'
    # Menus and message boxes use the system's UI fonts, which have no Japanese glyphs:
    # let them fall back to the Japanese font, as a Japanese system's fonts would.
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    local face link
    link=$(printf 'ipagp.ttf,IPAPGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif"; do
      printf '"%s"=hex(7):%s\r\n' "$face" "$link"
    done
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  touch "$prefix/.vorlamy-ready"
}

# A prefix as a player has one, build/wine-<arch>-<kind>: none of the settings above but
# Managed=N, no crash dialog and Marlett (which change nothing of the texts), an English system
# locale unless named, and fonts from a fontconfig configuration of its own, so that nothing
# of this machine's fonts decides the outcome:
#   plain       DejaVu Sans alone, no Japanese font: the program brings its own
#   ipagothic   the IPA fonts too, with the dialogs' face replaced by the monospaced
#               IPAGothic, as guides for Japanese programs under Wine do
#   japanese    the IPA fonts too, nothing replaced, a Japanese system locale: a Japanese
#               desktop's new prefix, whose system messages are Japanese
# Exports WINEPREFIX, WINEARCH, FONTCONFIG_FILE, LANG and LC_ALL: every Wine process of
# the prefix must see the same fonts, since Wine records those it finds in the prefix.
players_prefix_made() {
  local arch=$1 kind=$2 fonts="$VORLAMY_ROOT/build/fonts-$2" locale=C
  [ "$kind" = japanese ] && locale=ja_JP.UTF-8
  export WINEPREFIX="$VORLAMY_ROOT/build/wine-$arch-$kind" WINEARCH=$arch LANG=$locale LC_ALL=$locale
  export FONTCONFIG_FILE="$fonts/fonts.conf"
  mkdir -p "$fonts/dejavu"
  ln -sf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
    "$fonts/dejavu/"
  {
    echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig>'
    echo "<dir>$fonts/dejavu</dir><cachedir>$fonts/cache</cachedir>"
    if [ "$kind" != plain ]; then echo '<dir>/usr/share/fonts/opentype/ipafont-gothic</dir>'; fi
    echo '</fontconfig>'
  } >"$fonts/fonts.conf"
  (
    flock 9
    [ -f "$WINEPREFIX/.vorlamy-ready" ] && exit 0
    echo "set-up: making the Wine prefix build/wine-$arch-$kind, as a player has one" >&2
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "${fixed_layout[@]}" "$(wine_loader "$arch")" wineboot -i >/dev/null 2>&1
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
      if [ "$kind" = ipagothic ]; then
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ Ｐゴシック"="IPAGothic"\r\n\r\n'
      fi
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$WINEPREFIX/vorlamy.reg"
    "${fixed_layout[@]}" "$(wine_loader "$arch")" regedit /S "$WINEPREFIX/vorlamy.reg" </dev/null >/dev/null 2>&1
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    # Caption buttons as Wine draws them everywhere else (see install_wine_fonts).
    install_wine_fonts "$WINEPREFIX"
    touch "$WINEPREFIX/.vorlamy-ready"
  ) 9>"$VORLAMY_ROOT/build/wine-$arch-$kind.lock"
}

# "japanese" where the Japanese locale is there for that prefix (test.sh says when it is not).
players_japanese_prefix() { if locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then echo japanese; fi; }

# The system's dots per inch for the programs that the prefix starts from now on, as the
# display settings of Windows set it.
set_prefix_dpi() { # arch dpi
  as_ordinary_user "$(wine_loader "$1")" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$2" /f </dev/null >/dev/null 2>&1
}

# Wine sets the fonts linked to Tahoma, the captions' font, anew for the system locale's
# code page whenever that changes (Japanese links to fonts this system does not have, none
# for others): the prefix's settings go in again under each new locale.
settings_applied_for_this_locale() {
  local prefix=$1 loader=$2 locale=${LC_ALL:-${LANG:-C}}
  [ "$(cat "$prefix/.vorlamy-locale" 2>/dev/null)" = "$locale" ] && return 0
  as_ordinary_user "$loader" regedit /S "$prefix/vorlamy.reg" </dev/null >/dev/null 2>&1
  echo "$locale" >"$prefix/.vorlamy-locale"
}

# Wine draws the caption buttons (close, ...) with its own Marlett font. Debian ships it
# in /usr/share/wine/fonts (package fonts-wine), but Wine 8.0 looks for its fonts at
# "<data dir>\../fonts", a name that NT path rules do not resolve (a forward slash is no
# separator there), and fontconfig does not list that folder either: the buttons then
# show letters of a fallback font ("r" for the cross). The prefix's own Fonts folder is
# read first, so the font goes there.
install_wine_fonts() {
  local fonts="$1/drive_c/windows/Fonts" font
  for font in marlett.ttf; do
    [ -f "$fonts/$font" ] || [ ! -f "/usr/share/wine/fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$fonts/"
  done
}

start_private_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    _xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    # Taken already (another server, perhaps in another mount namespace, holds the
    # display number by its abstract socket alone): the next number.
    kill "$_xvfb_pid" 2>/dev/null || true; wait "$_xvfb_pid" 2>/dev/null || true; _xvfb_pid=
  done
  echo "could not start a virtual display (Xvfb)" >&2
  return 1
}

stop_everything() {
  local prefix
  for prefix in "${_prefixes_used[@]}"; do
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  done
  if [ -n "$_xvfb_pid" ]; then
    kill "$_xvfb_pid" 2>/dev/null || true
    wait "$_xvfb_pid" 2>/dev/null || true
    _xvfb_pid=
  fi
}
