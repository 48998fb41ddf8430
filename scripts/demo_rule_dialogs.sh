# Sourced by scripts/demo.sh, inside its Wine session:
#   demo_rule_dialogs <repository> <64-bit build dir> <scenario folder>
# Runs settings_tour.exe on a Wine desktop (which draws caption bars) with the plug-in and the
# demo rules (tools/host/demo/rules.ini) in a fresh scenario folder. The tour opens the
# sorting-rule list, the edit dialog of its second rule (also with the mark list dropped
# down), the header-rule list and the edit dialog of its first rule, and cancels them all;
# at each dialog this script takes a picture of the display into <scenario>/pictures/.
# Prints what each dialog showed and the pictures taken; returns the tour's status.
demo_rule_dialogs() {
  local root=$1 w64=$2 scenario=$3
  local tour="$w64/tools/host/settings_tour.exe"
  if [ ! -f "$tour" ]; then
    echo "demo: $tour is missing; build the 64-bit tree first" >&2
    return 2
  fi
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins" "$scenario/handshake" "$scenario/pictures"
  cp "$tour" "$scenario/"
  cp "$root/dist/win64/tarnwick.dll" "$scenario/Plugins/"
  iconv -f UTF-8 -t CP932 "$root/tools/host/demo/rules.ini" | sed 's/$/\r/' >"$scenario/Plugins/tarnwick.ini"
  cp "$scenario/Plugins/tarnwick.ini" "$scenario/tarnwick.ini.before"

  (cd "$scenario" && timeout -k 5 180 wine explorer /desktop=tarnwick,800x600 settings_tour.exe handshake \
     >output.txt 2>errors.txt) &
  local tour_pid=$! name tenths status
  for name in 1-sort-rule-list 2-sort-rule-edit 3-sort-rule-marks 4-header-rule-list 5-header-rule-edit; do
    tenths=0
    while [ ! -f "$scenario/handshake/$name.ready" ] && kill -0 "$tour_pid" 2>/dev/null && [ $tenths -lt 900 ]; do
      sleep 0.1
      tenths=$((tenths + 1))
    done
    [ -f "$scenario/handshake/$name.ready" ] || break
    # The Wine desktop is the display's top left 800 x 600 pixels.
    wine_session_screenshot "$scenario/pictures/$name-full.png"
    convert "$scenario/pictures/$name-full.png" -crop 800x600+0+0 +repage "$scenario/pictures/$name.png"
    rm -f "$scenario/pictures/$name-full.png"
    touch "$scenario/handshake/$name.shot"
  done
  wait "$tour_pid"
  status=$?

  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
  if [ $status -ne 0 ]; then
    echo "demo: settings_tour.exe ended with status $status" >&2
    cat "$scenario/errors.txt" >&2
  fi
  if cmp -s "$scenario/tarnwick.ini.before" "$scenario/Plugins/tarnwick.ini"; then
    echo "Plugins\\tarnwick.ini: unchanged (every dialog was cancelled)"
  else
    echo "Plugins\\tarnwick.ini: changed, although every dialog was cancelled" >&2
    status=1
  fi
  echo "Pictures:"
  ls "$scenario/pictures" | sed "s|^|  $scenario/pictures/|"
  return $status
}
