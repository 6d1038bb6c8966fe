# shellcheck shell=bash disable=SC2154  # root, build and work are the caller's
# Shared by scripts/screenshots and scripts/demo-desktop (sourced, not run): a session of the
# desktop program with the receiver simulator, in a private folder, on the user's display or on a
# virtual X server. Every process started here is remembered by its id and ended by
# session_finish, which the caller runs from its EXIT trap.
#
# The caller sets: root (the source tree), build (the build folder), work (an empty folder).

session_pids=()
session_simulator=
session_program=

# Ends what the session started, newest first, by process id.
session_finish() {
  local i
  for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
    kill "${session_pids[$i]}" 2>/dev/null || true
  done
  for pid in "${session_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  session_pids=()
}

# Ends one process of the session by its id.
session_stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Waits up to $1 tenths of a second for the command that follows to succeed.
session_wait() {
  local tenths=$1
  shift
  for ((; tenths > 0; tenths--)); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  "$@"
}

# How often the simulator was started by a program so far.
session_receiver_starts() { grep -c 'command RX>St' "$work/simulator.log" || true; }
session_receiver_started_after() { [ "$(session_receiver_starts)" -gt "$1" ]; }

# A virtual X server (1024x768) on a free display, and openbox on it; sets DISPLAY.
session_start_xvfb() {
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" \
    >/dev/null 2>"$work/xvfb.log" &
  session_pids+=($!)
  session_wait 100 test -s "$work/display" || {
    echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2
    return 1
  }
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
  mkdir -p "$work/openbox"
  HOME="$work/openbox" XDG_CONFIG_HOME="$work/openbox" XDG_CACHE_HOME="$work/openbox" \
    openbox --sm-disable >/dev/null 2>"$work/openbox.log" &
  session_pids+=($!)
  session_wait 100 session_managing || {
    echo "openbox did not start" >&2
    return 1
  }
}

session_managing() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Whether DISPLAY names an X server that answers.
session_display_works() { [ -n "${DISPLAY:-}" ] && xprop -root _NET_SUPPORTED >/dev/null 2>&1; }

# The top-level windows on the screen: the window manager's clients, or the mapped children of
# the root window where no window manager lists them.
session_windows() {
  local id
  if xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q 'window id'; then
    xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'
    return
  fi
  for id in $(xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then echo "$id"; fi
  done
}

# The id of the window on the screen titled exactly $1; nothing when there is none.
session_window() {
  local id
  for id in $(session_windows); do
    if [ "$(LC_ALL=C.UTF-8 xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')" = "$1" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

session_has_window() { session_window "$1" >/dev/null; }
# The current-function window has no caption: Qt titles it with the application's name.
session_hint_closed() { ! session_has_window quillon; }

# The data folder ($work/home), the settings ($work/config) and the other private folders:
# the remote learned from the simulator's lines and the configuration $1 (a .rir file),
# chosen in the settings, with the language $2 (0 English, 1 Bulgarian).
session_prepare() {
  mkdir -p "$work/home/RIVirOriv" "$work/config/quillon" "$work/data" "$work/runtime"
  chmod 700 "$work/runtime"
  cp "$root/samples/remotes/ptk/Vizio_VX32L.IRD" "$work/home/RIVirOriv/"
  cp "$1" "$work/home/RIVirOriv/"
  session_settings "$work/home/RIVirOriv/$(basename "$1")" "$2"
}

# Writes the settings file: the configuration $1, the sample remote, the language $2.
session_settings() {
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Vennard\Pelmora]' \
    "\"Language\"=dword:0000000$2" \
    '"RmtCtrlType"="VIZIO  VX32L"' \
    "\"FileName\"=\"${1//\\/\\\\}\"" >"$work/config/quillon/registry.reg"
}

# The receiver simulator on a pseudo-terminal ($work/ttyPTK) that plays the presses written to
# the pipe $work/presses (file descriptor 7 of the caller stays open on it), $1 ms apart.
session_start_simulator() {
  rm -f "$work/presses" "$work/ttyPTK"
  mkfifo "$work/presses"
  "$build/src/tools/quillon-ptk-sim" --link "$work/ttyPTK" --gap "$1" --presses - \
    <"$work/presses" >/dev/null 2>"$work/simulator.log" &
  session_simulator=$!
  session_pids+=("$session_simulator")
  exec 7>"$work/presses"
  session_wait 100 test -e "$work/ttyPTK"
}

# Sends the recordings of the buttons named in the arguments, in that order.
session_press() {
  local button
  for button in "$@"; do
    grep -A1 -- " button=$button " "$root/samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc" >&7
  done
}

# The program on DISPLAY with the private folders and the simulator's port; waits until its main
# window is up and the receiver started.
session_start_program() {
  local starts
  starts=$(session_receiver_starts)
  QT_QPA_PLATFORM=xcb HOME="$work" QUILLON_HOME="$work/home" QUILLON_SYSTEM_PORTS=0 QUILLON_PORTS="$work/ttyPTK" \
    XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
    "$build/src/app/quillon" >/dev/null 2>>"$work/program.log" &
  session_program=$!
  session_pids+=("$session_program")
  session_wait 300 session_receiver_started_after "$starts" || {
    echo "the program did not start the receiver: $(cat "$work/program.log")" >&2
    return 1
  }
}

# Saves the window $1 (with the window manager's frame) or the whole screen (root) as PNG $2.
session_grab() {
  if [ "$1" = root ]; then
    import -window root "$2"
  else
    import -frame -window "$1" "$2"
  fi
}
