# Shared by scripts/run and scripts/test: package set-up, builds, the Wine
# prefix and a private X server.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build
JOBS=$(nproc)

PACKAGES=(cmake ninja-build g++ python3 googletest libgtest-dev libbenchmark-dev libxlsxwriter-dev
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
          wine wine64 xvfb x11-utils imagemagick librsvg2-bin dpkg-dev ca-certificates nsis
          libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils fonts-wqy-microhei fonts-liberation
          nasm pkgconf ffmpeg clang libclang-rt-14-dev openbox xdotool imagej)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of PACKAGES is missing; does nothing when all are there.
ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== installing: ${missing[*]}"
        as_root apt-get update -qq
        # With recommends: Wine's fonts and X extensions come that way.
        # Waits for another apt-get (an unattended upgrade) instead of failing.
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 "${missing[@]}"
    fi
}

build_host() { # build_host DIR [cmake options...]
    local dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}

# The libFuzzer targets of tests/fuzz, built by clang with AddressSanitizer
# and UndefinedBehaviorSanitizer.
build_fuzz() {
    build_host "$BUILD/fuzz" -DQUORELL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
}

fuzz_targets() {
    local src
    for src in "$ROOT"/tests/fuzz/*_fuzz.cpp; do basename "$src" .cpp; done
}

# Runs one target from a fresh copy of its seed corpus in FUZZ_RUNS/NAME
# (new inputs and any crashing one stay there, never in tests/); prints its
# executions and time, and fails when the target found a crash.
FUZZ_RUNS=$BUILD/fuzz/runs
run_fuzz_target() { # run_fuzz_target NAME [libFuzzer options...]
    local name=$1 work=$FUZZ_RUNS/$1 status=0 start runs
    shift
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes"
    cp "$ROOT/tests/fuzz/corpus/${name%_fuzz}/"* "$work/corpus/" || return 1
    start=$(date +%s.%N)
    "$BUILD/fuzz/$name" "$@" -artifact_prefix="$work/crashes/" -print_final_stats=1 "$work/corpus" \
        > "$work/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
    awk -v name="$name" -v runs="${runs:-?}" -v start="$start" -v end="$(date +%s.%N)" \
        'BEGIN { printf "%-24s %10s executions %8.1f s\n", name, runs, end - start }'
    if [ "$status" -ne 0 ]; then
        grep -E 'ERROR|runtime error|property violated|Test unit written' "$work/log" | head -5
        return 1
    fi
}

build_windows() {
    cmake -S "$ROOT" -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$BUILD/win" -j "$JOBS"
}

# Wine converts file names with the locale's character set: under the C locale
# of a bare machine (no LANG) every non-ASCII path fails, so insist on UTF-8.
[ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8

export WINEPREFIX=$BUILD/win/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winealsa.drv=;winepulse.drv="
export WINEARCH=win64

# Creates the Wine prefix once, with Wine's default managed windows: the window
# manager decorates, moves and stacks the program's windows as on a user's
# desktop. (A prefix of an older set-up, whose windows were unmanaged, is made
# again.)
ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/.quorell-managed" ]; then
        echo "== creating the Wine prefix"
        rm -rf "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        touch "$WINEPREFIX/.quorell-managed"
    fi
    ensure_wine_fonts
    ensure_rig
}

# Chinese and Korean glyphs under Wine: no face of the names Windows has
# (SimSun, Gulim, Microsoft YaHei, Malgun Gothic, Batang) exists in the prefix,
# so Wine falls back to Liberation Sans and shows boxes. Those names are made
# WenQuanYi Micro Hei (fonts-wqy-microhei): the language files name them for
# reports, and Wine links its dialog and menu face to SimSun and Gulim. The
# panel's Arial is Liberation Sans here, which gets a link to the same font.
# Debian's Wine 8 does not load the fonts of its own data folder (a font trace
# lists only windows\Fonts and the fontconfig folders), so Marlett, the glyphs
# of the caption buttons, is missing and they show the letters 0, 2 and r;
# copied into the prefix it loads. (Wine's Tahoma stays out: with it, Chinese
# and Korean captions show boxes.)
# The stamp is this function's own text, so that a change here is applied to
# an existing prefix.
ensure_wine_fonts() {
    local stamp=$WINEPREFIX/.quorell-fonts sum face
    sum=$(declare -f ensure_wine_fonts | md5sum | cut -d' ' -f1)
    [ "$(cat "$stamp" 2>/dev/null)" = "$sum" ] && return 0
    echo "== setting up the fonts"
    for face in SimSun Gulim "Microsoft YaHei" "Malgun Gothic" Batang; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d "Liberation Sans" /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "Liberation Sans" \
        /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -w
    echo "$sum" > "$stamp"
}

# Registers the test rig in the prefix whenever the built QuorellRig.dll
# changed: the virtual microscope, and the MJPEG decompressor and YUY2
# converter that Wine lacks (on Windows only the microscope is registered).
ensure_rig() {
    local dll=$BUILD/win/QuorellRig.dll stamp=$WINEPREFIX/.quorell-rig sum
    [ -f "$dll" ] || return 0
    sum=$(md5sum "$dll" | cut -d' ' -f1)
    [ "$(cat "$stamp" 2>/dev/null)" = "$sum" ] && return 0
    echo "== registering the test rig"
    wine regsvr32 /s "$(winepath -w "$dll")" </dev/null >/dev/null 2>&1
    wine regsvr32 /s /n /i:converters "$(winepath -w "$dll")" </dev/null >/dev/null 2>&1
    wineserver -w
    echo "$sum" > "$stamp"
}

# Starts a persistent wineserver and Wine's background services with their
# output on /dev/null, so that no service keeps a test's output pipe open.
start_wineserver() {
    wineserver -k >/dev/null 2>&1 || true # a server left over from an interrupted run
    wineserver -p
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}

XVFB_PID=
WM_PID=
# Starts Xvfb on a display number it finds free itself, exports DISPLAY and
# starts a small real window manager on it (openbox), so that the program's
# windows are stacked, focused and closed as on a Linux desktop.
start_xvfb() {
    local fifo n=
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r n < "$fifo" || true
    rm -f "$fifo"
    [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$n"
    start_window_manager
}

# openbox announces itself on the root window once it manages the screen.
start_window_manager() {
    local tries
    openbox --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    for tries in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$WM_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "the window manager (openbox) did not start" >&2
    return 1
}

stop_xvfb() {
    local pid
    for pid in "$WM_PID" "$XVFB_PID"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    WM_PID=
    XVFB_PID=
}
