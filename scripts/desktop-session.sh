# Shell helpers for driving the built program's desktop windows under Xvfb,
# sourced by the desktop end-to-end test and the screenshot script.
#
#   desktop_install DIR PROGRAM ENGINE_TOOL SAMPLE_JSON
#       a program folder (DIR/program, the program and its desktop face's
#       module) beside an engine database, a home and
#       an output folder (DIR/out) of its own, loaded with the sample
#   desktop_env DIR                   sets desktop_vars, the environment of a run in DIR
#   desktop_start DIR [ARGS...]       starts the program on the desktop face (drive table
#                                     DESKTOP_DRIVES, default Z=/); sets desktop_pid
#   desktop_window REGEX              waits for a window whose title matches; prints its id
#   desktop_keys ID KEYS...           focuses the window and presses the keys
#   desktop_type ID TEXT              focuses the window and types the text
#   desktop_wait                      waits for the program; sets desktop_status

desktop_install() {
  local dir=$1 program=$2 tool=$3 sample=$4
  mkdir -p "$dir/program" "$dir/home" "$dir/out"
  chmod 700 "$dir/home"  # also the runtime folder
  cp "$program" "$dir/program/"
  # The desktop face is the module beside the program.
  cp "$(dirname "$program")/pv14-face-qt.so" "$dir/program/"
  printf '[ProgramLevel]\r\nPV14=1\r\n' > "$dir/program/KurodaiDef.ini"
  printf '[=製品名=]勘定丸１９\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]19.00.05\r\n' | iconv -f UTF-8 -t CP932 \
    > "$dir/program/SUPPORT.INF"
  LEDGER_ENGINE_DB="$dir/engine.sqlite" HOME="$dir/home" "$tool" load "$sample" >"$dir/load.txt" 2>&1
}

# The environment of one run of the program in DIR, in the array
# desktop_vars (for `env "${desktop_vars[@]}" ...`: a folder may hold blanks).
desktop_env() {
  local dir=$1
  desktop_vars=(LEDGER_ENGINE_DB="$dir/engine.sqlite" HOME="$dir/home"
                PV14_DRIVES="${DESKTOP_DRIVES:-Z=/}" XDG_RUNTIME_DIR="$dir/home")
}

desktop_start() {
  local dir=$1
  shift
  desktop_env "$dir"
  env "${desktop_vars[@]}" PV14_UI=qt "$dir/program/$(ls "$dir/program" | grep ToPv14)" "$@" \
    2>"$dir/stderr.txt" &
  desktop_pid=$!
}

desktop_window() {
  # Titles are matched in UTF-8.
  LC_ALL=C.UTF-8 timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

desktop_keys() {
  local id=$1
  shift
  xdotool windowfocus --sync "$id"
  xdotool key --delay 50 "$@"
}

desktop_type() {
  xdotool windowfocus --sync "$1"
  xdotool type --delay 10 "$2"
}

desktop_wait() {
  desktop_status=0
  wait "$desktop_pid" || desktop_status=$?
}
