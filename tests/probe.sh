#!/bin/sh
# The probe as callers meet it (process), on real desktops judged by their window managers, out
# of memory; on one shared Xvfb, or on whatever screen there is.   probe.sh MODE WORK_DIR PROBE
set -u
mode=$1 work=$2 probe=${3:-}
export W="$work" HOME="$work" XAUTHORITY="$work/auth"
mkdir -p "$work"
[ -s "$work/display" ] && export DISPLAY=":$(cat "$work/display")"
fail() { echo "FAIL: $*"; }
same=0

# report BAND SCALE WIDTH: the report of a screen 1080 high without a camera housing.
report() {
  printf '{\n  "hasNotch" : false,\n  "menuBarHeight" : %s,\n  "safeTop" : 0,\n  "scale" : %s,
  "screenHeight" : 1080,\n  "screenWidth" : %s,\n  "screenX" : 0,\n  "screenY" : 0\n}\n' "$@"
}

# expect NAME STATUS COMMAND...: STATUS, exactly $work/want on standard output, nothing else.
expect() {
  name=$1 want=$2
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  got=$?
  [ "$got" = "$want" ] && cmp -s "$work/out" "$work/want" && [ ! -s "$work/err" ] ||
    fail "$name: status $got, $(diff "$work/want" "$work/out"; cat "$work/err")"
}

await() {
  for _ in $(seq 100); do
    eval "$1" && return
    sleep 0.2
  done
  return 1
}

# Whether the windows and the root's properties have stayed the same for 0.6 seconds.
steady() {
  now=$(xwininfo -root -tree 2>/dev/null | cksum; xprop -root | cksum)
  [ "$now" = "${last:-}" ] && same=$((same + 1)) || same=0
  last=$now
  [ "$same" -ge 3 ] && same=0
}

shows() { xwininfo -root -tree 2>/dev/null | grep -q "$1"; }
resources() { printf "$1\n" | xrdb -nocpp -load -; }
# The band the window manager keeps atop the main monitor: the top of the window it tiles there
# (tile), or of the frame of one it maximised there plus the border it may push past the work
# area (wm1: icewm).
wm_band() {
  xlogo -geometry 300x200+1100+300 >/dev/null 2>&1 &
  if [ "$1" = tile ]; then await 'xwininfo -name xlogo >/dev/null 2>&1'; else
    await 'xprop -name xlogo _NET_FRAME_EXTENTS 2>/dev/null | grep -q ='
    wmctrl -r xlogo -b add,maximized_vert,maximized_horz
  fi
  await steady
  y=$(xwininfo -name xlogo | sed -n 's/.*Absolute upper-left Y: *//p')
  extents=$(xprop -name xlogo _NET_FRAME_EXTENTS | tr -dc '0-9 ')
  [ "$1" = tile ] && set -- 0 0 0 0 0 || set -- $extents "$1"
  kill $!
  echo $((y - $3 + $5 * $4))
}

case $mode in
start)
  # One cookie for any display (FamilyWild): a client without it is refused.
  printf '\377\377\0\0\0\0\0\022MIT-MAGIC-COOKIE-1\0\020%s' 0123456789abcdef >"$XAUTHORITY"
  Xvfb -displayfd 3 -auth "$XAUTHORITY" -noreset -nolisten tcp -screen 0 1920x1080x24 \
    3>"$work/display" >/dev/null 2>&1 &
  echo $! >"$work/pid"
  await '[ -s "$work/display" ]' || fail "Xvfb did not start"
  ;;
stop) kill "$(cat "$work/pid")" ;;
process)
  "$probe" >"$work/want" 2>&1
  expect "arguments" "$?" "$probe" --help -x "" "$(printf '%10000s')"
  # The X11 checks need the suite's own Xvfb, not whatever $DISPLAY says (launchd sets it where
  # XQuartz is installed).
  if [ -s "$work/display" ]; then
    report 0 1 1920 >"$work/want"
    expect "plain screen" 0 "$probe"
    printf '{"error":"sem tela"}\n' >"$work/want"
    for setting in DISPLAY= DISPLAY=:abc DISPLAY=:61111 XAUTHORITY=/dev/null; do
      expect "$setting" 1 env "$setting" "$probe"
    done
    report 0 1 1920 >"$work/want"
    kill -STOP "$(cat "$work/pid")"  # a display that answers late, then one that never does
    (sleep 3 && kill -CONT "$(cat "$work/pid")") &
    expect "a display 3 s late" 0 "$probe"
    kill -STOP "$(cat "$work/pid")"
    "$probe" >"$work/out" 2>"$work/err"
    got=$?
    kill -CONT "$(cat "$work/pid")"
    [ "$got" = 75 ] && [ ! -s "$work/out" ] && grep -qx 'screenprobe: the display did not answer' \
      "$work/err" || fail "a display that does not answer: status $got"
  fi
  # Unreadable output is an error, never an answer: a full disk (with either answer, where there
  # is a /dev/full), descriptor 1 closed (which a connection could take) or open only for
  # reading, a pipe whose reader is gone.
  runs="'>&-' '1</dev/null' '>&6'"
  [ -c /dev/full ] && runs="$runs '>/dev/full' 'DISPLAY= >/dev/full'"
  rm -f "$work/fifo" && mkfifo "$work/fifo"
  eval "set -- $runs"
  for run; do
    exec 5<>"$work/fifo" 6>"$work/fifo" 5<&-
    eval "env $run \"\$probe\" 2>\"\$work/err\""
    got=$?
    exec 6>&-
    [ "$got" = 74 ] && grep -q '^screenprobe: ' "$work/err" && [ "$(wc -l <"$work/err")" -eq 1 ] &&
      { [ "$run" != '>&-' ] || grep -q 'output is closed' "$work/err"; } ||
      fail "output $run: status $got, $(cat "$work/err")"
  done
  ;;
desktops)
  # desktop | monitors | set-up | ready when | then | band: the window manager's (wm1 where it
  # pushes borders off) or as given | scale. (fluxbox's fbsetbg would leave a dialog behind.)
  while IFS='|' read -r name monitors setup ready then band scale; do
    xrandr --delmonitor L --delmonitor R >/dev/null 2>&1
    xprop -root $(xprop -root | sed -n 's/^\([A-Za-z0-9_]*\)(.*/-remove \1/p')
    [ "$monitors" = 1 ] || xrandr --setmonitor L 960/254x1080/286+0+0 screen \
      --setmonitor '*R' 960/254x1080/286+960+0 none >/dev/null
    setsid sh -c "$setup wait" </dev/null >>"$work/desktops.log" 2>&1 &
    group=$!
    await "$ready"
    await steady
    eval "$then"
    case $band in wm* | tile) band=$(wm_band "${band#wm}") ;; esac
    report "$band" "$scale" $((1920 / monitors)) >"$work/want"
    expect "$name" 0 "$probe"
    kill -KILL "-$group" 2>/dev/null
    wait 2>/dev/null
  done <<'EOF'
openbox and tint2 on top|1|echo panel_position=top >$W/t; echo panel_size=100% 37 >>$W/t; openbox & tint2 -c $W/t &|shows tint2 && shows Openbox||wm0|1
openbox, tint2 on the other monitor|2|echo panel_position=top >$W/t; echo panel_monitor=1 >>$W/t; openbox & tint2 -c $W/t &|shows tint2 && shows Openbox||wm0|1
icewm, taskbar on top of the main monitor|2|mkdir -p $W/.icewm; echo TaskBarAtTop=1 >$W/.icewm/preferences; icewm &|shows TaskBar||wm1|1
icewm, taskbar at the bottom|1|rm -rf $W/.icewm; icewm &|shows TaskBar||wm1|1
fluxbox, toolbar on top|1|mkdir -p $W/.fluxbox; echo session.screen0.toolbar.placement: TopCenter >$W/.fluxbox/init; ln -sf /bin/true $W/fbsetbg; PATH=$W:$PATH fluxbox &|xprop -root _NET_WORKAREA >$W/a; grep -q = $W/a||wm0|1
xfwm4 and xfce4-panel|1|dbus-run-session -- sh -c 'xfwm4 & xfce4-panel' &|shows xfce4-panel && shows xfwm4||wm0|1
stale per-monitor areas|1|xprop -root -f _GTK_WORKAREAS_D0 32c -set _GTK_WORKAREAS_D0 0,0,1920,1080; echo panel_position=top >$W/t; openbox & tint2 -c $W/t &|shows tint2 && shows Openbox||wm0|1
a strut on a window that is not on screen|2|openbox & xsettingsd -c /dev/null &|shows Openbox && shows xsettingsd|xprop -name xsettingsd -f _NET_WM_STRUT 32c -set _NET_WM_STRUT 0,0,300,0|wm0|1
work area of a window manager gone|1|echo panel_position=top >$W/t; openbox & wm=$!; tint2 -c $W/t & sleep 2; kill $wm;|shows tint2 && ! shows Openbox||0|1
work area of desktop 3|1|openbox &|shows Openbox|wmctrl -s 2; await steady; xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,1920,1080,0,10,1920,1070,0,40,1920,1040|40|1
one work area for all desktops, on desktop 3|1|openbox &|shows Openbox|wmctrl -s 2; await steady; xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,37,1920,1043|37|1
i3 and i3bar on top|1|printf '# i3 config file (v4)\ndefault_border none\nbar {\nposition top\n}\n' >$W/i3; i3 -c $W/i3 &|shows i3bar||tile|1
i3, i3bar on the other monitor|2|printf '# i3 config file (v4)\ndefault_border none\nbar {\noutput L\nposition top\n}\n' >$W/i3; i3 -c $W/i3 &|shows i3bar|i3-msg focus output R >/dev/null|tile|1
bspwm and polybar on top|1|printf '#!/bin/sh\nbspc config border_width 0\nbspc config window_gap 0\n' >$W/b; chmod +x $W/b; printf '[bar/t]\nheight = 27\nmodules-left = t\n[module/t]\ntype = custom/text\ncontent = x\n' >$W/p; bspwm -c $W/b & polybar -c $W/p t &|shows polybar||tile|1
per-monitor areas of desktop 3|1|openbox &|shows Openbox|wmctrl -s 2; await steady; xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _GTK_WORKAREAS; xprop -root -f _GTK_WORKAREAS_D2 32c -set _GTK_WORKAREAS_D2 0,44,1920,1036|44|1
Xft.dpi|1|||resources 'Xft.antialias: 1\nXft.dpi: 144'|0|1.5
window scaling 2, Xft.dpi 240|1|echo Gdk/WindowScalingFactor 2 >$W/x; xsettingsd -c $W/x &|shows xsettingsd|resources 'Xft.dpi: 240'|0|2
a factor that is a string|1|echo Gdk/WindowScalingFactor '"2"' >$W/x; xsettingsd -c $W/x &|shows xsettingsd|resources 'Xft.dpi: 144'|0|1.5
EOF
  ;;
memory)
  # Short of memory anywhere in a run, the report is whole or there is none.
  resources "Xft.dpi: 144\n$(seq -f 'app%g.background: #202020' 20000)"
  report 0 1.5 1920 >"$work/want"
  ran_out=0
  for limit in $(seq 2000 16 12000); do
    timeout 10 sh -c 'ulimit -v "$1" && exec "$2"' - "$limit" "$probe" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" = 71 ] && grep -qx 'screenprobe: out of memory' "$work/err" && ran_out=1
    { [ "$got" = 0 ] && cmp -s "$work/out" "$work/want"; } || [ "$got" = 71 ] ||
      [ "$got" = 127 ] || fail "ulimit -v $limit: status $got, $(cat "$work/out")"
  done
  [ "$ran_out" = 1 ] || fail "never out of memory, or not said so"
  ;;
esac
