#!/bin/sh
# A headless GNOME screen-cast desktop of its own: a session bus with no service activation (only
# what this script starts runs), PipeWire with WirePlumber, mutter with one virtual monitor, the
# permission store and the screen-cast portal. Runs as the user the caller chose, with HOME and a
# 0700 XDG_RUNTIME_DIR already set. When everything answers, writes "$XDG_RUNTIME_DIR/session.env"
# (the variables a client needs) and waits; the caller ends the whole process group.
#   gnome-session.sh WIDTHxHEIGHT
set -u
size=${1:-1280x720}
run=$XDG_RUNTIME_DIR
log=$run/session.log
: >"$log"

# Waits up to 20 s for a name on the session bus.
wait_name() {
  i=0
  while [ $i -lt 400 ]; do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
      org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'; then
      return 0
    fi
    i=$((i + 1))
    sleep 0.05
  done
  echo "gnome-session.sh: $1 did not appear on the bus" >>"$log"
  exit 1
}

cat >"$run/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$run/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
dbus-daemon --config-file="$run/bus.conf" --nofork --nopidfile >>"$log" 2>&1 &
export DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus"
i=0
while [ ! -S "$run/bus" ] && [ $i -lt 400 ]; do i=$((i + 1)); sleep 0.05; done

export GSETTINGS_BACKEND=memory
export XDG_CURRENT_DESKTOP=GNOME
export XDG_SESSION_TYPE=wayland
export WAYLAND_DISPLAY=trelvin-wayland-0
export NO_AT_BRIDGE=1
export GTK_A11Y=none

pipewire >>"$log" 2>&1 &
i=0
while [ ! -S "$run/pipewire-0" ] && [ $i -lt 400 ]; do i=$((i + 1)); sleep 0.05; done
wireplumber >>"$log" 2>&1 &

mutter --headless --wayland --no-x11 --virtual-monitor "$size" \
  --wayland-display="$WAYLAND_DISPLAY" >>"$log" 2>&1 &
wait_name org.gnome.Mutter.ScreenCast
wait_name org.gnome.Mutter.DisplayConfig

/usr/libexec/xdg-permission-store --replace >>"$log" 2>&1 &
wait_name org.freedesktop.impl.portal.PermissionStore
/usr/libexec/xdg-desktop-portal-gnome --replace >>"$log" 2>&1 &
echo $! >"$run/portal-gnome.pid"
wait_name org.freedesktop.impl.portal.desktop.gnome
/usr/libexec/xdg-desktop-portal --replace >>"$log" 2>&1 &
wait_name org.freedesktop.portal.Desktop

cat >"$run/session.env.tmp" <<EOF
DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
WAYLAND_DISPLAY=$WAYLAND_DISPLAY
XDG_SESSION_TYPE=wayland
XDG_CURRENT_DESKTOP=GNOME
GSETTINGS_BACKEND=memory
EOF
mv "$run/session.env.tmp" "$run/session.env"
wait
