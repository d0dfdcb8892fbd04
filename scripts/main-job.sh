# The main job's steps, sourced by scripts/run.sh (which sets build, jobdir,
# install and screenshots, and has prepared the display and the Wine template
# prefix).
#
# The three programs run in one Wine prefix of their own, so that they share
# one desktop, the receiver's pipe and the hotkey, as on one Windows machine.
# Each step makes the pendant (or the keyboard) do what an operator does and
# waits for its effect in NcStudio's log or on the pendant's display.

prefix="$WHEELPAD_WINE_ROOT/prefix-main-job"
receiver='\\.\pipe\wheelpad-receiver'
# HID devices of other vendors beside the virtual receiver device, their
# interfaces listed before the receiver's.
other_devices=30
ncstudio_log="$jobdir/ncstudio.log"
pendant_log="$jobdir/pendant.log"
steps_passed=0
background=()

# Runs a Windows program of the main job in the job's prefix.
wine_in_prefix() {
    WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 "$WHEELPAD_WINE" "$@"
}

say() { printf '%s\n' "$*"; }

# NcStudio's changes as it logs them: coordinates, run state, step, dialogs.
show_ncstudio() {
    local time rest
    while read -r time rest; do
        rest=${rest%$'\r'}
        case "$rest" in
            [XYZ]": "*|"work coordinate "*|"run state: "*|"step: "*|"ON/OFF: "*|"feed set: "*|"jogging "*|"jog ended: "*|\
            "back to reference: "*|"prompt "*|*" opened"|*" closed"|"NcStudio "*)
                printf '%s  NcStudio  %s\n' "$time" "$rest" ;;
        esac
    done
}

# The pendant's four display lines each time they change.
show_pendant() {
    local line lines=() time
    while IFS= read -r line; do
        line=${line%$'\r'}
        case "$line" in
            "display "*) lines=() ;;
            "  |"*)
                lines+=("${line#  }")
                if [ ${#lines[@]} -eq 4 ]; then
                    # One write, so that NcStudio's lines do not come between.
                    time=$(date +%T.%3N)
                    printf '%s  pendant   %s\n%s' "$time" "${lines[0]}" \
                        "$(printf '                        %s\n' "${lines[@]:1}")"$'\n'
                    lines=()
                fi ;;
        esac
    done
}

# A step's effect came, or did not: the job ends at the first that did not.
passed() {
    steps_passed=$((steps_passed + 1))
    say "          ok        $1"
}

failed() {
    say "          FAILED    $1"
    say "The logs are in $jobdir."
    exit 1
}

# The number of lines a log has now: expectations look only after it.
mark() { wc -l <"$1" 2>/dev/null || echo 0; }

# expect DESCRIPTION LOG MARK TEXT [SECONDS [COUNT]]: waits until LOG holds
# COUNT (1) lines with TEXT after line MARK; the job fails when it does not
# within SECONDS (5).
expect() {
    local description=$1 log=$2 from=$3 text=$4 seconds=${5:-5} count=${6:-1} tries
    for ((tries = seconds * 10; tries > 0; tries--)); do
        if [ "$(tail -n +$((from + 1)) "$log" 2>/dev/null | grep -cF -- "$text")" -ge "$count" ]; then
            passed "$description"
            return 0
        fi
        sleep 0.1
    done
    failed "$description: \"$text\" did not show in $(basename "$log") within $seconds s"
}

# expect_display DESCRIPTION TEXT [SECONDS]: waits until the display the
# pendant shows (its last four lines) holds TEXT; the job fails when it does
# not within SECONDS (5).
expect_display() {
    local description=$1 text=$2 seconds=${3:-5} tries
    for ((tries = seconds * 10; tries > 0; tries--)); do
        if grep '^  |' "$pendant_log" | tail -n 4 | grep -qF -- "$text"; then
            passed "$description"
            return 0
        fi
        sleep 0.1
    done
    failed "$description: the display did not show \"$text\" within $seconds s"
}

# expect_none DESCRIPTION LOG MARK TEXT SECONDS: LOG gains no line holding
# TEXT after line MARK for SECONDS.
expect_none() {
    local description=$1 log=$2 from=$3 text=$4 seconds=$5
    sleep "$seconds"
    if tail -n +$((from + 1)) "$log" | grep -qF -- "$text"; then
        failed "$description: \"$text\" showed in $(basename "$log")"
    fi
    passed "$description"
}

pendant() { printf '%s\n' "$@" >&4; }
ncstudio() { printf '%s\n' "$@" >&3; }
step() { say ""; say "--- $*"; }

main_job_stop() {
    exec 3>&- 4>&-
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    for pid in "${background[@]}"; do kill "$pid" 2>/dev/null || true; done
    eval "$previous_exit_trap"
}

main_job_start() {
    main_job_desktop
    previous_exit_trap=$(trap -p EXIT | sed -e "s/^trap -- '//" -e "s/' EXIT$//")
    trap main_job_stop EXIT

    mkfifo "$jobdir/ncstudio.in" "$jobdir/pendant.in"
    : >"$ncstudio_log"
    : >"$pendant_log"
    # The followers end with their tail (their pid is the tail's).
    tail -n +1 -F "$ncstudio_log" 2>/dev/null > >(show_ncstudio) &
    background+=($!)
    tail -n +1 -F "$pendant_log" 2>/dev/null > >(show_pendant) &
    background+=($!)

    step "NcStudio 8 starts (shown, not yet in front)"
    wine_in_prefix "$build/bin/ncstudio-v8/ncstudio.exe" --inactive --stdin \
        --log "$(winepath_of "$ncstudio_log")" <"$jobdir/ncstudio.in" >/dev/null 2>&1 &
    exec 3>"$jobdir/ncstudio.in"
    expect "NcStudio's main window is up" "$ncstudio_log" 0 "started" 20

    if [ "${WHEELPAD_RECEIVER_DEVICE:-0}" = 1 ]; then
        step "The pendant's receiver is plugged in: a HID device among $other_devices others"
        wine_in_prefix "$build/bin/pendant.exe" --device --others "$other_devices" \
            <"$jobdir/pendant.in" >"$pendant_log" 2>&1 &
        exec 4>"$jobdir/pendant.in"
        expect "the receiver is plugged in" "$pendant_log" 0 "serving" 20

        step "wheelpad.exe starts as a user starts it"
        wine_in_prefix "$install/wheelpad.exe" >"$jobdir/wheelpad.log" 2>&1 &
        wheelpad_pid=$!
    else
        say "This machine cannot load the virtual receiver device: the pendant serves the pipe instead."
        step "The pendant serves the receiver $receiver"
        wine_in_prefix "$build/bin/pendant.exe" --pipe "$receiver" <"$jobdir/pendant.in" >"$pendant_log" 2>&1 &
        exec 4>"$jobdir/pendant.in"
        expect "the pendant is serving" "$pendant_log" 0 "serving" 20

        step "wheelpad.exe starts with WHEELPAD_RECEIVER=$receiver"
        WHEELPAD_RECEIVER=$receiver wine_in_prefix "$install/wheelpad.exe" >"$jobdir/wheelpad.log" 2>&1 &
        wheelpad_pid=$!
    fi
}

# The receiver pulled out while a continuous jog is held, and plugged in
# again (on the virtual receiver device only: a pipe has no plug).
main_job_replug() {
    [ "${WHEELPAD_RECEIVER_DEVICE:-0}" = 1 ] || return 0
    local m

    step "Axis knob on X, key 12 held, the receiver pulled out: the jog is let go"
    pendant "axis X" "wait 300"
    m=$(mark "$ncstudio_log")
    pendant "key 12" "wait 500" "unplug"
    expect "X+ is held down" "$ncstudio_log" "$m" "jogging X+"
    expect "X+ is let go when the receiver goes" "$ncstudio_log" "$m" "jog ended: X" 2
    expect "the receiver is pulled out" "$pendant_log" 0 "receiver unplugged"
    rig_wait 5 rig_tray_is red || failed "the tray icon does not show the missing receiver ($(rig_tray_colour))"
    passed "the tray icon shows the missing receiver (red)"

    step "The receiver plugged in again: the display comes back and key 11 sends Ctrl+Home"
    m=$(mark "$ncstudio_log")
    local shown
    shown=$(mark "$pendant_log")
    pendant "wait 1000" "plug" "release" "wait 1500" "key 11" "release"
    expect "the receiver is plugged in again" "$pendant_log" "$shown" "receiver plugged in"
    expect "the display is shown again" "$pendant_log" "$shown" "display (day" 10
    expect "NcStudio receives Ctrl+Home" "$ncstudio_log" "$m" "key down Ctrl+Home" 10
}

# The job's prefix: its programs share one Wine desktop with a taskbar, whose
# notification area shows wheelpad's icon (the desktop rig of the tests).
main_job_desktop() {
    rig_prefix=$prefix
    rig_bin=$build/bin
    rig_pictures=$screenshots
    source "$root/tests/desktop/desktop_rig.sh"
    rig_make_prefix
}

# The tray icon as the operator meets it: its colour, the control menu by a
# right click, the about box, and Exit, which ends wheelpad.exe.
main_job_menu() {
    local about="MP40R Driver-V3.90 For WeihongCNC"
    step "The tray icon: green while wheelpad drives NcStudio"
    rig_wait 5 rig_tray_is green || failed "the notification area shows no green icon ($(rig_tray_colour))"
    rig_find_icon
    passed "the notification area shows wheelpad's green icon"
    rig_picture tray-icon "$rig_tray_area"

    step "A right click on the icon: the control menu; About: the NcStudio version found"
    rig_open_menu || failed "no menu opened"
    passed "the control menu opens"
    rig_menu_picture tray-menu
    rig_choose_menu_item 4
    rig_wait 5 rig_window_shown "$about" || failed "About showed no about box"
    rig_text_holds "$about" 1005 "Ncstudio V8" || failed "the about box does not name NcStudio V8"
    passed "the about box names NcStudio V8"
    rig_window_picture about "$about"
    rig_click_control "$about" 1
    rig_wait 5 rig_window_gone "$about" || failed "OK did not close the about box"
    passed "OK closes it"

    step "Exit from the menu: wheelpad.exe ends and its icon goes"
    rig_open_menu || failed "no menu opened"
    rig_choose_menu_item 3
    wheelpad_ended() { ! kill -0 "$wheelpad_pid" 2>/dev/null; }
    rig_wait 3 wheelpad_ended || failed "wheelpad.exe still runs 3 s after Exit"
    passed "wheelpad.exe has ended"
    rig_wait 5 rig_tray_is none || failed "its icon is still there"
    passed "its icon is gone"
}

# The path of a Unix file as the Windows programs see it.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

main_job_script() {
    local m

    step "NcStudio comes to the front: wheelpad binds it"
    m=$(mark "$ncstudio_log")
    ncstudio "front"
    # Binding posts Ctrl+2 to NcStudio's main window (its manual page).
    expect "NcStudio receives the binding's Ctrl+2" "$ncstudio_log" "$m" "Ctrl+2 to \"NcStudio V" 10
    # Once bound and mapped, the display shows NcStudio's step.
    expect_display "the display shows NcStudio's 0.01 mm step" "|    0.01   |" 10

    step "Axis knob on X: the display shows X"
    pendant "axis X"
    expect_display "the display shows X at 12.500" "X:12.500"

    step "Rate knob to 10 %: the 0.05 mm step, and 10 % of the base feed in \"Feedrate\""
    m=$(mark "$ncstudio_log")
    pendant "rate 14"
    expect "NcStudio's feed becomes 10 % of 3000" "$ncstudio_log" "$m" "feed set: 300" 10
    expect "NcStudio selects the 0.05 mm step" "$ncstudio_log" "$m" "step: 0.05mm" 10

    step "Wheel on X: +1, +1, -1, one step each"
    m=$(mark "$ncstudio_log")
    pendant "wheel 1" "wait 300" "wheel 1" "wait 300" "wheel -1" "wait 300"
    expect "X steps to 12.550" "$ncstudio_log" "$m" "X: 12.550"
    expect "X steps to 12.600" "$ncstudio_log" "$m" "X: 12.600"
    expect "X steps back to 12.550" "$ncstudio_log" "$m" "X: 12.550" 5 2
    expect_display "the display shows X at 12.550" "X:12.550"

    step "Key 12 held for 600 ms: a continuous jog on X+"
    m=$(mark "$ncstudio_log")
    pendant "key 12" "wait 600" "release"
    expect "NcStudio switches to continuous jogging" "$ncstudio_log" "$m" "step: &Jog"
    expect "X+ is held down" "$ncstudio_log" "$m" "jogging X+"
    expect "X+ is let go" "$ncstudio_log" "$m" "jog ended: X"

    step "Keys 14 and 16 together on X: X halves through NcStudio's \"Offset Setting\" dialog"
    local x halved
    x=$(grep -o 'X: -\?[0-9.]*' "$ncstudio_log" | tail -n 1 | cut -d' ' -f2)
    # The driver takes NcStudio's run state from its status polls (every
    # 80 ms): keys pressed before a poll has seen the jog end are refused.
    sleep 0.5
    m=$(mark "$ncstudio_log")
    pendant "key 14 16" "release"
    expect "NcStudio sets X's work coordinate" "$ncstudio_log" "$m" "work coordinate X: " 10
    halved=$(grep -o 'work coordinate X: -\?[0-9.]*' "$ncstudio_log" | tail -n 1 | cut -d' ' -f4)
    # Half of an odd number of micrometres lands on either neighbour.
    if awk -v x="$x" -v h="$halved" 'BEGIN { d = x / 2 - h; exit !(d < 0.0009 && d > -0.0009) }'; then
        passed "X is $halved, half of $x"
    else
        failed "X is $halved, not half of $x"
    fi
    expect_display "the display shows X at $halved" "X:$halved"

    step "Axis knob on Y, wheel -1: one step of the knob's 0.05 mm"
    m=$(mark "$ncstudio_log")
    pendant "axis Y" "wait 300" "wheel -1" "wait 300"
    expect "Y steps to -3.300" "$ncstudio_log" "$m" "Y: -3.300"
    expect_display "the display shows Y at -3.300" "Y:-3.300"

    step "Key 4: start; key 4 again: pause; key 3: stop"
    # Two seconds after a step was selected, the driver checks whether a
    # continuous jog it let go still runs; a program started before that
    # check would be taken for one and stopped. An operator starts later.
    sleep 2.5
    m=$(mark "$ncstudio_log")
    pendant "key 4" "release"
    expect "NcStudio runs the program (F9)" "$ncstudio_log" "$m" "run state: RUNNING"
    sleep 1
    screenshot_ncstudio
    m=$(mark "$ncstudio_log")
    pendant "key 4" "release"
    expect "NcStudio pauses (Pause)" "$ncstudio_log" "$m" "run state: PAUSING"
    m=$(mark "$ncstudio_log")
    pendant "key 3" "release"
    expect "NcStudio stops (F11)" "$ncstudio_log" "$m" "run state: IDLE"

    step "Ctrl+F11 on the keyboard locks the pendant: the wheel moves nothing"
    run_keyboard ctrl+f11
    sleep 1.5
    m=$(mark "$ncstudio_log")
    pendant "wheel -1" "wait 300"
    expect_none "Y stays at -3.300 while locked" "$ncstudio_log" "$m" "Y: " 2

    step "Ctrl+F11 again unlocks it: the wheel moves Y again"
    run_keyboard ctrl+f11
    sleep 1.5
    m=$(mark "$ncstudio_log")
    pendant "wheel -1" "wait 300"
    expect "Y steps to -3.350" "$ncstudio_log" "$m" "Y: -3.350"
    sleep 1
    screenshot_pendant
}

# expect_once DESCRIPTION LOG MARK TEXT: LOG holds exactly one line with TEXT
# after line MARK.
expect_once() {
    local description=$1 log=$2 from=$3 text=$4 count
    count=$(tail -n +$((from + 1)) "$log" | grep -cF -- "$text" || true)
    [ "$count" = 1 ] || failed "$description: \"$text\" showed $count times in $(basename "$log")"
    passed "$description"
}

# A second pass with a receiver that repeats the pendant's report every 35 ms
# while a key is held or the wheel turns, as some receivers' firmware does:
# a held key still does its thing once, and a held jog key holds one jog.
main_job_repeating_receiver() {
    step "The receiver repeats the report every 35 ms while something is held"
    pendant "repeat 35" "axis X"
    sleep 2.5  # past the check for a jog that kept running (see above)

    step "Key 4 held for 600 ms: NcStudio runs the program, once"
    m=$(mark "$ncstudio_log")
    pendant "key 4" "wait 600" "release"
    expect "NcStudio runs the program (F9)" "$ncstudio_log" "$m" "run state: RUNNING"
    expect_none "the held key does not pause it" "$ncstudio_log" "$m" "key down Pause" 1
    expect_once "F9 came once" "$ncstudio_log" "$m" "key down F9"

    step "Key 3 held for 600 ms: NcStudio stops"
    m=$(mark "$ncstudio_log")
    pendant "key 3" "wait 600" "release"
    expect "NcStudio stops (F11)" "$ncstudio_log" "$m" "run state: IDLE"

    step "Key 8 held for 1.6 s: one continuous jog on X-, without a gap"
    m=$(mark "$ncstudio_log")
    pendant "key 8" "wait 1600" "release"
    expect "X- is let go" "$ncstudio_log" "$m" "jog ended: X"
    expect_once "X- is held down once" "$ncstudio_log" "$m" "jogging X-"

    step "Keys 14 and 16 held together on X for 600 ms: X halves once"
    # As above: keys pressed before a status poll has seen the jog end are
    # refused.
    sleep 0.5
    m=$(mark "$ncstudio_log")
    pendant "key 14 16" "wait 600" "release"
    expect "NcStudio sets X's work coordinate" "$ncstudio_log" "$m" "work coordinate X: " 10
    sleep 2
    expect_once "X is set once" "$ncstudio_log" "$m" "work coordinate X: "
    pendant "repeat 0"
}

run_keyboard() { wine_in_prefix "$build/bin/keyboard.exe" "$@"; }

# NcStudio's main window as the screen shows it (wheelpad maximised it when
# it bound it).
screenshot_ncstudio() {
    import -window root "$screenshots/ncstudio.png"
    say "          screenshot $screenshots/ncstudio.png"
}

# The pendant's display as it shows the last frame: four lines on its LCD.
screenshot_pendant() {
    local lines=() line
    while IFS= read -r line; do
        line=${line%$'\r'}
        line=${line#  |}
        line=${line%|}
        lines+=("${line// /$'\xc2\xa0'}")  # no-break spaces: the text is drawn as laid out
    done < <(grep '^  |' "$pendant_log" | tail -n 4)
    convert -size 300x132 xc:'#a8c070' -font DejaVu-Sans-Mono -pointsize 20 -fill '#18240c' \
        -annotate +14+30 "${lines[0]}" -annotate +14+60 "${lines[1]}" \
        -annotate +14+90 "${lines[2]}" -annotate +14+120 "${lines[3]}" \
        -bordercolor '#303030' -border 12 "$screenshots/pendant-display.png"
    say "          screenshot $screenshots/pendant-display.png"
}

# The support log tells the run's story in order: each pattern on a line
# after the line of the one before. The lines found are shown.
check_support_log() {
    local log="$install/wheelpad.log"
    if awk 'BEGIN {
                n = split("wheelpad [0-9.]+ started on|receiver opened|NcStudio found: .*generation 2|" \
                          "NcStudio bound|continuous jog: X\\+ held down|jog on X let go|" \
                          "pendant locked \\(hotkey\\)|pendant unlocked \\(hotkey\\)|Exit chosen|" \
                          "release \\(exit\\)|wheelpad ends", want, "|")
                at = 1
            }
            at <= n && $0 ~ want[at] { sub(/\r$/, ""); print "          log       " $0; at++ }
            END { exit at <= n }' "$log"; then
        passed "wheelpad.log tells the story in order"
    else
        failed "wheelpad.log does not tell the story in order"
    fi
}

main_job_end() {
    step "wheelpad.log: the run's story, up to the menu's Exit"
    expect "wheelpad writes its end into wheelpad.log" "$install/wheelpad.log" 0 "wheelpad ends" 10
    check_support_log

    step "The programs end"
    pendant "quit"
    ncstudio "quit"
    expect "NcStudio ends" "$ncstudio_log" 0 "NcStudio ended"
    sleep 0.5  # the last lines of the logs are shown
    # Its desktop goes with it, before the next one opens on the display.
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
}

main_job_summary() {
    say ""
    say "Main job: all $steps_passed steps went as expected."
}

# The virtual pendant: NcStudio, wheelpad.exe and the pendant's window on one
# Wine desktop with a taskbar (a prefix of their own), the pendant worked with
# the mouse through the X server as a person works it.
main_job_virtual_pendant() {
    local vprefix="$WHEELPAD_WINE_ROOT/prefix-virtual-pendant" vpipe='\\.\pipe\wheelpad-virtual-pendant'
    local ncstudio_log="$jobdir/ncstudio-desktop.log" vlog="$jobdir/virtual-pendant.log" desktop m
    rm -rf "$vprefix"
    copy_wine_template "$vprefix"
    # The desktop named "shell" has Wine's taskbar and notification area.
    in_desktop() { WINEPREFIX="$vprefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 "$WHEELPAD_WINE" explorer /desktop=shell,1024x600 "$@"; }
    # The pendant's control NAME ("key 4", "axis 17", "wheel"), then xdotool's actions there.
    # Wine's desktop stacks its windows as X does, and the stand-in NcStudio's
    # window rises over the pendant's when wheelpad binds it, after each of its
    # dialogs and when one of its buttons takes a click (the button takes the
    # focus): the pendant's window is raised again before each action, as a
    # person brings it back to see its keys.
    pendant_to_front() {
        xdotool search --name 'Virtual pendant - wheelpad' windowraise >/dev/null 2>&1
        sleep 0.2
    }
    at() {
        local name=$1 place
        shift
        place=$(sed -n "s/^place $name at //p" "$vlog" | tr -d '\r' | tail -n 1)
        pendant_to_front
        # The desktop is the X window at the screen's origin: its coordinates are the screen's.
        xdotool mousemove ${place% *} ${place#* } "$@"
    }
    : >"$ncstudio_log"
    : >"$vlog"
    tail -n +1 -F "$ncstudio_log" 2>/dev/null > >(show_ncstudio) &
    background+=($!)
    tail -n +1 -F "$vlog" 2>/dev/null > >(show_pendant) &
    background+=($!)

    step "The virtual pendant's window, NcStudio 8 and wheelpad.exe start on a desktop with a taskbar"
    in_desktop "$build/bin/virtual_pendant.exe" --pipe "$vpipe" --log "$(winepath_of "$vlog")" >/dev/null 2>&1 &
    expect "the virtual pendant serves $vpipe" "$vlog" 0 "serving" 20
    in_desktop "$build/bin/ncstudio-v8/ncstudio.exe" --log "$(winepath_of "$ncstudio_log")" >/dev/null 2>&1 &
    expect "NcStudio's main window is up, in front" "$ncstudio_log" 0 "started" 20
    WHEELPAD_RECEIVER=$vpipe in_desktop "$install/wheelpad.exe" >"$jobdir/wheelpad-desktop.log" 2>&1 &
    expect "wheelpad connects to the virtual pendant" "$vlog" 0 "receiver connected" 20
    expect "wheelpad binds NcStudio (Ctrl+2)" "$ncstudio_log" 0 "Ctrl+2 to \"NcStudio V" 20
    pendant_log=$vlog expect_display "the window's display shows NcStudio's 0.01 mm step" "|    0.01   |" 10

    step "A click on the axis knob's X: the window's display shows X"
    at "axis 17" click 1
    pendant_log=$vlog expect_display "the display shows X at 12.500" "X:12.500"
    expect "the rate knob's 2 % fills NcStudio's \"Feedrate\" and selects the 0.01 mm step" \
        "$ncstudio_log" 0 "step: 0.01mm" 10

    step "The mouse wheel over the jog wheel, two notches up, one down"
    m=$(mark "$ncstudio_log")
    at wheel click 1 sleep 0.3 click 4
    sleep 0.3
    at wheel click 4
    sleep 0.3
    at wheel click 5
    expect "X steps to 12.520" "$ncstudio_log" "$m" "X: 12.520"
    expect "X steps back to 12.510" "$ncstudio_log" "$m" "X: 12.510" 5
    pendant_log=$vlog expect_display "the display shows X at 12.510" "X:12.510"

    step "A click on the start key: NcStudio runs (F9)"
    m=$(mark "$ncstudio_log")
    at "key 4" click 1
    expect "NcStudio receives F9" "$ncstudio_log" "$m" "key down F9"
    expect "NcStudio runs the program" "$ncstudio_log" "$m" "run state: RUNNING"
    sleep 1
    desktop=$(xdotool search --name 'Wine desktop' | head -n 1)
    import -window "$desktop" "$screenshots/virtual-pendant-desktop.png"
    say "          screenshot $screenshots/virtual-pendant-desktop.png"
    m=$(mark "$ncstudio_log")
    at "key 3" click 1
    expect "a click on the stop key stops it (F11)" "$ncstudio_log" "$m" "run state: IDLE"

    step "Key 12 held with the mouse for a second: X+ held down until the button is up"
    sleep 1
    m=$(mark "$ncstudio_log")
    at "key 12" mousedown 1
    expect "X+ is held down" "$ncstudio_log" "$m" "jogging X+" 8
    sleep 1
    expect_none "X+ stays down while the mouse button is" "$ncstudio_log" "$m" "jog ended: X" 0
    xdotool mouseup 1
    expect "X+ is let go after the mouse button came up" "$ncstudio_log" "$m" "jog ended: X" 8

    WINEPREFIX="$vprefix" wineserver -k >/dev/null 2>&1 || true
}
