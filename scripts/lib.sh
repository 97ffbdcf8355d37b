# Shared by scripts/test and scripts/run. Source it; it defines functions only.

ORX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

ORX_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev
  libssl-dev zlib1g-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64
  xvfb xauth x11-utils xdotool xclip imagemagick
  fonts-dejavu-core fonts-wqy-zenhei
  clang-format
  python3 xz-utils zstd bzip2 lz4 cpio fdisk e2fsprogs dosfstools genisoimage squashfs-tools tcpdump
  flac id3v2
)

orx_log() { printf '\n== %s\n' "$*" >&2; }

# Installs the packages that are missing (apt-get update once, only when needed).
orx_install_packages() {
  local missing=()
  local pkg
  for pkg in "${ORX_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  orx_log "installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  # A mirror that is mid-sync makes update report errors for indexes we do not use; the
  # install below is what must succeed.
  $sudo apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

orx_jobs() { nproc 2>/dev/null || echo 2; }

# orx_configure BUILD_DIR [cmake args...]
orx_configure() {
  local dir="$1"; shift
  cmake -S "$ORX_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
}

orx_build() {
  cmake --build "$1" -j "$(orx_jobs)" "${@:2}"
}

orx_configure_win() {
  orx_configure "$1" -DCMAKE_TOOLCHAIN_FILE="$ORX_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release "${@:2}"
}

# Starts a private X display, wide enough for the main window with both side windows docked
# beside it; sets DISPLAY and ORX_XVFB_PID.
orx_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      Xvfb ":$n" -screen 0 2560x1440x24 -nolisten tcp >/dev/null 2>&1 &
      ORX_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        if xdpyinfo >/dev/null 2>&1; then return 0; fi
        sleep 0.1
      done
      echo "Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "no free X display number" >&2
  return 1
}

orx_stop_xvfb() {
  if [ -n "${ORX_XVFB_PID:-}" ]; then
    kill "$ORX_XVFB_PID" 2>/dev/null || true
    wait "$ORX_XVFB_PID" 2>/dev/null || true
    ORX_XVFB_PID=""
  fi
}

# Wine's GDI draws boxes for kana and kanji in the menus, the status bar and message boxes
# unless the fonts the controls use are linked to an installed font that has them.
ORX_FONT_LINK='wqy-zenhei.ttc,WenQuanYi Zen Hei'
ORX_LINKED_FONTS=(Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2' 'Segoe UI' 'Microsoft Sans Serif')

# Creates the Wine prefix $WINEPREFIX when it does not exist yet, and links its UI fonts to
# the CJK font (once per prefix).
orx_prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
  fi
  local stamp="$WINEPREFIX/orx-font-links" font
  if [ ! -f "$stamp" ]; then
    for font in "${ORX_LINKED_FONTS[@]}"; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$font" /t REG_MULTI_SZ /d "$ORX_FONT_LINK" /f </dev/null >/dev/null 2>&1 ||
        { echo "could not link the font $font in $WINEPREFIX" >&2; return 1; }
    done
    touch "$stamp"
  fi
}

# A private Wine prefix under the build folder, with a persistent server started detached
# from our pipes (started inside ctest, Wine's services would hold ctest's pipes open).
orx_start_wine() {
  local build="$1"
  export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1 || true
  orx_prepare_prefix
  # Windows are not handed to a window manager: Xvfb has none, and Wine would wait two
  # seconds for one whenever a visible window is destroyed.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# orx_stage_editor ORLIN_EXE SOURCE_DIR OUT_DIR: a fresh OUT_DIR with the editor and its
# string files in OUT_DIR/app, for the screenshot tests. Fails without a display or a Wine
# server to run it on.
orx_stage_editor() {
  local exe="$1" source_dir="$2" out="$3"
  if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    echo "no DISPLAY or WINEPREFIX; run under scripts/test or after orx_start_xvfb and orx_start_wine" >&2
    return 1
  fi
  rm -rf "$out"
  mkdir -p "$out/app/resources/strings"
  cp "$exe" "$out/app/orlin.exe"
  cp "$source_dir"/resources/strings/*.txt "$out/app/resources/strings/"
}

# orx_wait_for_window TITLE_REGEX PID: prints the id of the first visible window whose title
# matches, waiting at most a minute; fails when process PID ends first.
orx_wait_for_window() {
  local title="$1" pid="$2" window _
  for _ in $(seq 1 300); do
    window="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)"
    if [ -n "$window" ]; then
      echo "$window"
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the program ended before a window titled $title appeared" >&2
      return 1
    fi
    sleep 0.2
  done
  echo "no window titled $title appeared" >&2
  return 1
}

# orx_count_colour CAPTURE COLOUR FUZZ WxH+X+Y: how many pixels of the capture inside the
# geometry are within FUZZ of COLOUR.
orx_count_colour() {
  convert "$1" -crop "$4" +repage -alpha off -fuzz "$3" -fill '#FF00FF' -opaque "$2" -fuzz 0 \
    -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' -format '%[fx:round(mean*w*h)]' info:
}

# orx_open_from_menu MENU_KEY ITEM_KEY TITLE: presses Alt+MENU_KEY then ITEM_KEY until a
# window titled TITLE (a regular expression) shows, and prints its id. The menu bar takes
# keys only once the window has painted, so the keys are tried again, five seconds each.
orx_open_from_menu() {
  local menu="$1" item="$2" title="$3" window _try _wait
  for _try in $(seq 1 6); do
    sleep 1
    xdotool key --clearmodifiers "alt+$menu"
    sleep 0.3
    xdotool key "$item"
    for _wait in $(seq 1 25); do
      window="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)"
      if [ -n "$window" ]; then
        echo "$window"
        return 0
      fi
      sleep 0.2
    done
  done
  return 1
}

orx_stop_wine() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
}

# orx_package BUILD_DIR: packs the built Windows tree with CPack and prints the zip's path
# (alone on stdout; CPack's report goes to stderr).
orx_package() {
  local build="$1" name
  orx_log "packing with CPack"
  (cd "$build" && cpack -G ZIP >&2)
  name="$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"
  echo "$build/package/$name.zip"
}

# orx_random_gib_file WORK_DIR: prints the path of WORK_DIR/random-1GiB.bin, made once and
# kept between runs, and reads it into the page cache. Random bytes with every 0x01
# replaced, so that a search pattern starting with 0x01 is absent and reads the whole file.
orx_random_gib_file() {
  local work="$1" file="$1/random-1GiB.bin"
  mkdir -p "$work"
  if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne 1073741824 ]; then
    echo "making $file" >&2
    head -c 1073741824 /dev/urandom | tr '\001' '\002' >"$file.tmp"
    mv "$file.tmp" "$file"
  fi
  cat "$file" >/dev/null # into the page cache
  echo "$file"
}
