#!/bin/sh
# The probe as callers meet it, on real desktops judged by their own accounts, out of memory, and
# on a compositor that misleads; on one shared Xvfb.   probe.sh MODE WORK_DIR PROBE [HOSTILE]
set -u
unset WAYLAND_DISPLAY WAYLAND_SOCKET  # inherited from a Wayland desktop, they would come first
mode=$1 work=$2 probe=${3:-} hostile=${4:-}
export W="$work" HOME="$work" XAUTHORITY="$work/auth"
mkdir -p "$work"
[ -s "$work/display" ] && export DISPLAY=":$(cat "$work/display")"
fail() { echo "FAIL: $*"; }

# report BAND SCALE WIDTH [HEIGHT [SAFETOP]]: the report of a screen (1080 high, no notch rows).
report() {
  printf '{\n  "hasNotch" : %s,\n  "menuBarHeight" : %s,\n  "safeTop" : %s,\n  "scale" : %s,
  "screenHeight" : %s,\n  "screenWidth" : %s,\n  "screenX" : 0,\n  "screenY" : 0\n}\n' \
    "$([ "${5:-0}" = 0 ] && echo false || echo true)" "${1:-}" "${5:-0}" "${2:-}" "${4:-1080}" "${3:-}"
}

# macbook SHOWN MODE COMMAND...: COMMAND on a 14" MacBook (74 rows), its files on tmpfs over /sys.
macbook() {
  unshare --mount --propagation private sh -c 'for d in firmware module class; do
      mount -t tmpfs none /sys/$d || exit; done
    t=/sys/firmware/devicetree/base p=/sys/module/appledrm/parameters e=/sys/class/drm/card0-eDP-1
    mkdir -p $t/aliases $t/soc/dcp $p $e && printf "/soc/dcp\0" >$t/aliases/dcp &&
      printf "\0\0\0\112" >$t/soc/dcp/apple,notch-height && echo "$1" >$p/show_notch &&
      echo connected >$e/status && printf "%s\n1920x1080\n" "$2" >$e/modes && shift 2 && exec "$@"' \
    - "$@"
}

# nofile COMMAND...: COMMAND that can grow no file (ftruncate: EFBIG), its output through a pipe.
nofile() { sh -c 'trap "" XFSZ; exec 3>&1; exit $({ (ulimit -f 0 && "$@" 4>&-; echo $? >&4) | cat >&3; } 4>&1)' - "$@"; }

# expect NAME STATUS COMMAND...: STATUS, $work/want on stdout (none on 75), stderr 75's line or none.
expect() {
  name=$1 want=$2 && shift 2
  [ "$want" = 75 ] && : >"$work/want"
  "$@" >"$work/out" 2>"$work/err"; got=$?
  [ "$got" = "$want" ] && cmp -s "$work/out" "$work/want" && { [ "$got" = 75 ] || [ ! -s "$work/err" ]; } &&
    { [ "$got" != 75 ] || grep -qx 'screenprobe: the display did not answer' "$work/err"; } ||
    fail "$name: status $got, $(diff "$work/want" "$work/out"; cat "$work/err")"
}

# await CONDITION [SECONDS]: tried every 0.2 s until it holds or SECONDS (20) have passed.
await() {
  set -- "$1" $(($(date +%s) + ${2:-20}))
  until eval "$1"; do [ "$(date +%s)" -lt "$2" ] && sleep 0.2 || return 1; done
}

# Whether the windows and the root's properties have stayed the same for 0.6 seconds.
steady() {
  now=$(xwininfo -root -tree 2>/dev/null | cksum; xprop -root | cksum)
  [ "$now" = "${last:-}" ] && same=$((${same:-0} + 1)) || same=0; last=$now
  [ "$same" -ge 3 ] && same=0
}

# desktop LOG COMMAND...: in the background, in a PID namespace that ended ends with its daemons.
desktop() { log=$1; shift; setsid unshare --pid --fork --kill-child --mount-proc "$@" </dev/null >>"$work/$log" 2>&1 & group=$!; }
ended() { kill -KILL "-$group" && wait "$group" 2>/dev/null || :; }
shows() { xwininfo -root -tree 2>/dev/null | grep -q "$1"; }
resources() { printf "$1\n" | xrdb -nocpp -load -; }
# The window manager's band atop the main monitor: the top of a window it tiles, or of one it
# maximised plus the border it may push past the work area (wm1: icewm).
wm_band() {
  xlogo -geometry 300x200+1100+300 >/dev/null 2>&1 &
  if [ "$1" = tile ]; then await 'xwininfo -name xlogo >/dev/null 2>&1'; else
    await 'xprop -name xlogo _NET_FRAME_EXTENTS 2>/dev/null | grep -q =' &&
      wmctrl -r xlogo -b add,maximized_vert,maximized_horz
  fi
  await steady
  y=$(xwininfo -name xlogo | sed -n 's/.*Absolute upper-left Y: *//p')
  [ "$1" = tile ] && set -- 0 0 0 0 0 || set -- $(xprop -name xlogo _NET_FRAME_EXTENTS | tr -dc '0-9 ') "$1"
  kill $! && echo $((y - $3 + $5 * $4))
}

case $mode in
start)
  # One cookie for any display (FamilyWild): a client without it is refused.
  printf '\377\377\0\0\0\0\0\022MIT-MAGIC-COOKIE-1\0\020%s' 0123456789abcdef >"$XAUTHORITY"
  Xvfb -displayfd 3 -auth "$XAUTHORITY" -noreset -nolisten tcp -screen 0 1920x1080x24 \
    3>"$work/display" >/dev/null 2>&1 & echo $! >"$work/pid"
  await '[ -s "$work/display" ]' || fail "Xvfb did not start"
  ;;
stop) kill "$(cat "$work/pid")" ;;
process)
  "$probe" >"$work/want" 2>&1
  expect "arguments" "$?" "$probe" --help -x "" "$(printf '%10000s')"
  # On the suite's own Xvfb, not whatever $DISPLAY says (launchd sets it where XQuartz is).
  if [ -s "$work/display" ]; then
    printf '{"error":"sem tela"}\n' >"$work/want"
    for s in DISPLAY= DISPLAY=:abc DISPLAY=:61111 XAUTHORITY=/dev/null; do expect "$s" 1 env "$s" "$probe"; done
    report 0 1 1920 1080 74 >"$work/want" && expect "a MacBook" 0 macbook Y 1920x1080 "$probe"
    report 0 1 1920 >"$work/want" && expect "plain screen" 0 "$probe"
    x=$(cat "$work/pid"); kill -STOP "$x"; (sleep 3 && kill -CONT "$x") &  # a display late
    expect "a display 3 s late" 0 "$probe"
    kill -STOP "$x" && expect "a display that does not answer" 75 "$probe"; kill -CONT "$x"
  fi
  # Unwritable output is an error: a full disk (either answer), descriptor 1 closed (which a
  # connection could take) or only for reading, a pipe whose reader is gone.
  runs="'>&-' '1</dev/null' '>&6'"
  [ -c /dev/full ] && runs="$runs '>/dev/full' 'DISPLAY= >/dev/full'"
  rm -f "$work/fifo" && mkfifo "$work/fifo" && eval "set -- $runs"
  for run; do
    exec 5<>"$work/fifo" 6>"$work/fifo" 5<&-
    eval "env $run \"\$probe\" 2>\"\$work/err\""; got=$? && exec 6>&-
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
    desktop desktops.log sh -c "mount -t tmpfs none /tmp && $setup wait"  # its sockets go with it
    await "$ready"; await steady; eval "$then"
    case $band in wm* | tile) band=$(wm_band "${band#wm}") ;; esac
    report "$band" "$scale" $((1920 / monitors)) >"$work/want"
    expect "$name" 0 "$probe"; ended
  done <<'EOF'
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
window scaling 2, Xft.dpi 240|1|echo Gdk/WindowScalingFactor 2 >$W/x; xsettingsd -c $W/x &|shows xsettingsd|resources 'Xft.dpi: 240'|0|2
a factor that is a string|1|echo Gdk/WindowScalingFactor '"2"' >$W/x; xsettingsd -c $W/x &|shows xsettingsd|resources 'Xft.dpi: 144'|0|1.5
EOF
  ;;
wayland | trixie)
  # trixie: the rows marked (1.10), on sway from the Debian 13 root $R.   probe.sh trixie WORK PROBE
  x11=${DISPLAY:-} && unset DISPLAY  # but in the rows that set it
  export XDG_RUNTIME_DIR="$work/run" && mkdir -p -m 0700 "$work/run"
  # Compositors by their own account: sway's IPC; Plasma's KWin's work area; others' sizes for a
  # real client fullscreen and maximised on the output it enters (foot, or weston's terminal where
  # foot finds no seat). KWin runs as a copy, without the file capability a container refuses.
  [ "$mode" = trixie ] && only='(1.10)' || cp /usr/bin/kwin_wayland "$work"
  printf '{"position":"top","height":30,"modules-left":[]}' >"$work/waybar"
  # "OUTPUT WIDTH HEIGHT": the client's last configure of a size before it enters an output.
  configured() {
    rm -f "$work/client"  # not to read the last one's before this one starts
    sh -c 'WAYLAND_DEBUG=client exec "$0" "$1"' "$client" "$1" 2>"$work/client" &
    await 'grep -qs "wl_surface@[0-9]*\.enter" "$work/client"' 10; kill -KILL $! && wait $!
    awk -F'[][(), ]+' '/xdg_toplevel@[0-9]*\.configure\(/ && $4 > 0 { w = $4; h = $5 }
      /wl_surface@[0-9]*\.enter\(/ { print $4, w, h; exit }' "$work/client"
  }
  account() {  # "BAND WIDTH HEIGHT", both sizes on one output
    set -- $(configured --fullscreen) $(configured --maximized)
    [ "$1" = "$4" ] && echo "$(($3 - $6)) $2 $3"
  }
  ipc() { timeout 5 swaymsg -s "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY.ipc" "$@"; }
  both() { { ipc -r -t get_outputs && ipc -r -t get_workspaces; } | jq -rse "$1"; }
  oracle() { both '(.[0][] | select(.focused)) as $o | (.[1][] | select(.focused)) as $w |
      "\($w.rect.y - $o.rect.y) \($o.scale) \($o.rect.width) \($o.rect.height)"'; }
  # Once a bar keeps a band on some output, and sway's account stays the same.
  swayed() {
    await 'both "(.[0] | map({(.name): .rect}) | add) as \$o | any(.[1][]; .rect != \$o[.output])"' &&
      await '[ "$a" = "${a:=$(oracle)}" ] && sleep 0.3 && [ "$a" = "$(oracle)" ]' && last=$a
  } 2>/dev/null
  # accounted SCALE: once a band is kept and the account stays the same.
  accounted() {
    await '[ "${a:=$(account)}" = "$(account)" ] && [ "${a%% *}" -gt 0 ] 2>/dev/null || { a=; false; }' 60 &&
      set -- "$1" $a && last="$2 $1 $3 $4"
  }
  mutter() { timeout 10 gdbus call --session -d org.gnome.Mutter.DisplayConfig -o /org/gnome/Mutter/DisplayConfig -m "org.gnome.Mutter.DisplayConfig.$@"; }
  started() { await 'grep -qs "GNOME Shell started" "$T/log"' 130; }
  # A layout for this run only, on the current serial.
  apply() { mutter ApplyMonitorsConfig "$(mutter GetCurrentState | sed 's/^(uint32 \([0-9]*\).*/\1/')" 1 "$@"; }
  # From a KWin script: the active screen's maximise area against its full one, "BAND W H MAX-H".
  kwin_area() {
    k=$(date +%s%N) && printf 'var s = workspace.activeScreen, d = workspace.currentDesktop;
      var m = workspace.clientArea(KWin.MaximizeArea, s, d), f = workspace.clientArea(KWin.FullScreenArea, s, d);
      print("area%s " + (m.y - f.y) + " " + f.width + " " + f.height + " " + m.height);' $k >"$work/area$k.js"
    q loadScript "$work/area$k.js" "area$k" && q start &&
      await 'grep -q "^js: area$k " "$T/kwin.log"' 5
    sed -n "s/^js: area$k //p" "$T/kwin.log"
  }
  q() { timeout 5 qdbus org.kde.KWin /Scripting "org.kde.kwin.Scripting.$@" >/dev/null 2>&1; }
  panels() { timeout 5 qdbus org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript "panels().forEach(function(p){ $1 })" 2>/dev/null; }
  # placed WHERE SCALE CONDITION: Plasma's panels moved, until KWin's account meets it and holds.
  placed() {
    where=$1 scale=$2 condition=$3
    await 'panels "print(p.location)" | grep -qx "top\|bottom\|left\|right"' 60 && await settled 30 &&
      set -- $a && last="$1 $scale $2 $3"
  }
  settled() {
    panels "p.location = \"$where\";" >/dev/null
    set -- $(kwin_area) && a="$*" && eval "$condition" && [ "$a" = "$(kwin_area)" ]
  }
  # name | start on $WAYLAND_DISPLAY ($S: this script; $T: the row's folder, under /tmp for nobody)
  # | ready once, with $last "BAND SCALE WIDTH HEIGHT"
  export S="$0"
  n=0
  while IFS='|' read -r name start ready; do
    case $name in *"${only:-}"*) ;; *) continue ;; esac
    n=$((n + 1)) client=foot last= a= && export WAYLAND_DISPLAY=c$n DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus$n"
    export T="$(mktemp -d ${R:+-p "$R/tmp"})" && desktop compositors.log env TMPDIR="$T" sh -c "$start & wait"
    await '[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && timeout 5 wayland-info >/dev/null 2>&1' &&
      eval "$ready" >/dev/null || fail "$name: not ready: the account was '$a'"
    report $last >"$work/want"; expect "$name" 0 "$probe"; ended; rm -rf "$T"
  done <<'EOF'
weston|weston --backend=headless-backend.so --use-pixman --width=1600 --height=900 --scale=2 --socket=$WAYLAND_DISPLAY|client=weston-terminal && accounted 2
KWin, two outputs of one size at scale 1.5|QT_QPA_PLATFORM=offscreen $W/kwin_wayland --virtual --no-lockscreen --socket $WAYLAND_DISPLAY --width 1600 --height 900 --scale 1.5 --output-count 2 & until timeout 5 wayland-info >/dev/null 2>&1; do sleep 0.1; done; waybar -c $W/waybar|client=weston-terminal && accounted 1.5
sway: swaybar at the bottom|sh $S sway $W $WAYLAND_DISPLAY 'bar {\nposition bottom\n}\n'|swayed
sway: scale 1.5|sh $S sway $W $WAYLAND_DISPLAY 'output HEADLESS-1 scale 1.5\nbar {\nposition top\n}\n'|swayed
sway: rotated|sh $S sway $W $WAYLAND_DISPLAY 'output HEADLESS-1 transform 90\nbar {\nposition top\n}\n'|swayed
sway: the bar only on the unfocused output|sh $S sway $W $WAYLAND_DISPLAY 'bar {\noutput HEADLESS-2\nposition top\n}\n'|ipc create_output && swayed
sway (1.10): focus on the second output, of the first's logical size at scale 2, with the bar and a terminal tiled|sh $S sway $W $WAYLAND_DISPLAY 'output HEADLESS-2 resolution 2560x1440 scale 2\nbar {\noutput HEADLESS-2\nposition top\n}\n'|ipc create_output && ipc focus output HEADLESS-2 && ipc exec "foot sleep 600" && await 'ipc -t get_tree | grep -q foot' && swayed
GNOME at 200%|sh $S gnome $W $WAYLAND_DISPLAY 1920x1080|started && apply "[(0, 0, 2.0, 0, true, [('Meta-0', '1920x1080@60.000', {})])]" {} && accounted 2
GNOME at 150%, fractional|sh $S gnome $W $WAYLAND_DISPLAY 1920x1080|started && gsettings set org.gnome.mutter experimental-features "['scale-monitor-framebuffer']" && sleep 1 && apply "[(0, 0, 1.5, 0, true, [('Meta-0', '1920x1080@60.000', {})])]" "{'layout-mode': <uint32 1>}" && accounted 1.5
GNOME, two monitors, the second primary|sh $S gnome $W $WAYLAND_DISPLAY 1920x1080 1280x1024|started && apply "[(0, 0, 1.0, 0, true, [('Meta-1', '1280x1024@60.000', {})]), (1280, 0, 1.0, 0, false, [('Meta-0', '1920x1080@60.000', {})])]" {} && accounted 1
Plasma: the panel at the bottom, waybar on top, scale 1.5|sh $S plasma $W $WAYLAND_DISPLAY 1.5 waybar|placed bottom 1.5 '[ "$1" = 30 ] && [ $(($3 - $4)) -gt 30 ]'
Plasma: the panel on top|sh $S plasma $W $WAYLAND_DISPLAY 1|placed top 1 '[ "$1" -gt 0 ]'
Plasma: the panel and waybar on top|sh $S plasma $W $WAYLAND_DISPLAY 1 waybar|placed top 1 '[ "$1" -gt 30 ]'
EOF
  [ "$mode" = trixie ] && exit
  # Ours: row | status | report (band scale width height safetop), or none | the machine. With
  # $DISPLAY naming a working X server: a compositor's answer stands.
  while IFS='|' read -r row status answer machine; do
    rm -f "$XDG_RUNTIME_DIR/hostile-$row"  # a last run's, which would be connected to too early
    "$hostile" "$row" "hostile-$row" & compositor=$!
    await '[ -S "$XDG_RUNTIME_DIR/hostile-$row" ]'
    [ -n "$answer" ] && report $answer >"$work/want" || printf '{"error":"sem tela"}\n' >"$work/want"
    expect "compositor $row" "$status" $machine env WAYLAND_DISPLAY="hostile-$row" DISPLAY="$x11" "$probe"
    kill $compositor && wait $compositor
  done <<'EOF'
zero|1|
close|1|
outputs|0|0 1 1002 502
nomemory|1|
macbook|0|0 2 1512 982 37|macbook Y 3024x1964
above|0|0 2 1920 1080
above|0|0 1 1920 1080|nofile
never|0|0 1 1920 1080
refuse|0|30 1 1920 1080
lie|0|30 1 1920 1080
EOF
  printf '{"error":"sem tela"}\n' >"$work/want"
  expect "no such socket, no runtime directory" 1 env -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=nowhere \
    "$probe"
  ;;
sway)
  # sway as nobody (it refuses root) in $T, from the root $R where set, without XWayland (whose
  # lock file a killed sway leaves), its sockets linked here.   probe.sh sway WORK DISPLAY CONFIG
  run=${T#"${R:-}"} && chown nobody:nogroup "$T" && printf "xwayland disable\n$4" >"$T/config" && cd "$T" &&
    { [ -z "${R:-}" ] || { mount --rbind /dev "$R/dev" && mount -t proc proc "$R/proc"; }; } || exit
  ${R:+chroot "$R"} setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$PATH" \
    HOME="$run" XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$run/config" &
  await 'ls "$T"/wayland-? "$T"/sway-ipc.* >/dev/null 2>&1' &&
    ln -sf "$(ls "$T"/sway-ipc.*)" "$XDG_RUNTIME_DIR/$3.ipc" &&
    ln -sf "$(ls "$T"/wayland-? | head -1)" "$XDG_RUNTIME_DIR/$3"
  wait
  ;;
gnome | plasma)
  # A desktop with a session bus sharing its environment (plasmashell starts services through it),
  # its home and log in $T. GNOME Shell with a system bus for logind, started again where it hangs
  # at start (as on a loaded machine); Plasma on KWin, whose stderr takes its scripts' prints.
  #   probe.sh gnome WORK DISPLAY MONITOR...   probe.sh plasma WORK DISPLAY SCALE [waybar]
  export WAYLAND_DISPLAY="$3" HOME="$T"
  [ "$mode" = gnome ] && export DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS-system"
  [ "$mode" = plasma ] && export QT_QPA_PLATFORM=wayland XDG_SESSION_TYPE=wayland \
    XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
  shift 3 && unset DISPLAY
  dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" &
  await '[ -S "${DBUS_SESSION_BUS_ADDRESS#unix:path=}" ]'
  if [ "$mode" = plasma ]; then
    QT_QPA_PLATFORM=offscreen "$work/kwin_wayland" --virtual --no-lockscreen --width 1920 \
      --height 1080 --scale "$1" --socket "$WAYLAND_DISPLAY" 2>"$HOME/kwin.log" &
    await 'timeout 5 wayland-info >/dev/null 2>&1' && plasmashell &
    [ -n "${2:-}" ] && await 'timeout 5 wayland-info >/dev/null 2>&1' && waybar -c "$work/waybar" &
    wait; exit
  fi
  dbus-daemon --session --nofork --address="$DBUS_SYSTEM_BUS_ADDRESS" &
  for try in 1 2; do
    gnome-shell --headless --wayland --no-x11 --wayland-display="$WAYLAND_DISPLAY" \
      $(printf -- '--virtual-monitor %s ' "$@") >"$HOME/log" 2>&1 &
    await 'grep -q "GNOME Shell started" "$HOME/log"' 60 && wait; kill -KILL $!
  done
  ;;
memory)
  # Short of memory anywhere in a run, the report is whole or there is none.
  resources "Xft.dpi: 144\n$(seq -f 'app%g.background: #202020' 20000)"
  report 0 1.5 1920 >"$work/want" && ran_out=0
  for limit in $(seq 2000 16 12000); do
    timeout 10 sh -c 'ulimit -v "$1" && exec "$2"' - "$limit" "$probe" >"$work/out" 2>"$work/err"; got=$?
    [ "$got" = 71 ] && grep -qx 'screenprobe: out of memory' "$work/err" && ran_out=1
    { [ "$got" = 0 ] && cmp -s "$work/out" "$work/want"; } || [ "$got" = 71 ] ||
      [ "$got" = 127 ] || fail "ulimit -v $limit: status $got, $(cat "$work/out")"
  done
  [ "$ran_out" = 1 ] || fail "never out of memory, or not said so"
  ;;
esac
