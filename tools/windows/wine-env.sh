# Sourced by the scripts here: a private, headless Wine prefix inside the
# cache. Expects $cache to be set.
#
# wine_ready     makes the prefix once (wineboot -i, some 15 s)
# wine_done      waits for Wine's background processes to end
#
# Programs run under Wine keep their output in files: Wine's background
# processes inherit the standard handles, so a pipe would never close.
export WINEPREFIX=$cache/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

wine_ready() {
    [ -e "$WINEPREFIX/system.reg" ] && return 0
    local start=$SECONDS
    mkdir -p "$WINEPREFIX"
    wineboot -i >"$cache/wineboot.log" 2>&1 || {
        cat "$cache/wineboot.log" >&2
        echo "could not make the Wine prefix $WINEPREFIX" >&2
        return 1
    }
    wineserver -w
    [ -e "$WINEPREFIX/system.reg" ] || {
        echo "wineboot left no prefix in $WINEPREFIX (see $cache/wineboot.log)" >&2
        return 1
    }
    echo "Wine prefix made in $((SECONDS - start)) s"
}

wine_done() { wineserver -w; }
