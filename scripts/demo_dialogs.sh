# Sourced by scripts/demo.sh, inside its Wine session:
#   demo_dialogs <64-bit build dir> <scenario folder>
# Runs dialog_tour.exe (tests/wine/demo) with the plug-in in a fresh scenario folder, on a
# Wine desktop so that the dialogs get caption bars, and answers each dialog the tour holds
# open with a screenshot "<scenario folder>/<n>-<dialog>.png". Prints the tour's report.
demo_dialogs() {
  local w64=$1 scenario=$2
  local tour="$w64/tests/wine/dialog_tour.exe" handshake="$scenario/handshake"
  [ -f "$tour" ] || { echo "demo: $tour is missing; build the 64-bit tree first" >&2; return 2; }
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins"
  cp "$tour" "$scenario/"
  cp "$w64/tarnwick.dll" "$scenario/Plugins/"

  (cd "$scenario" && exec timeout -k 5 300 wine explorer /desktop=tarnwick-dialogs,800x600 \
      dialog_tour.exe >output.txt 2>errors.txt) &
  local running=$! ready name
  while kill -0 "$running" 2>/dev/null && [ ! -f "$handshake/done" ]; do
    for ready in "$handshake"/ready-*; do
      [ -f "$ready" ] || continue
      name=${ready##*/ready-}
      [ -f "$handshake/shot-$name" ] && continue
      # The Wine desktop is the display's top left 800 x 600 pixels.
      wine_session_screenshot "$scenario/$name-full.png"
      convert "$scenario/$name-full.png" -crop 800x600+0+0 +repage "$scenario/$name.png"
      rm -f "$scenario/$name-full.png"
      : >"$handshake/shot-$name"
      echo "screenshot: ${scenario#"$root/"}/$name.png"
    done
    sleep 0.2
  done
  # The desktop may stay after its program has ended.
  local waited=0
  while kill -0 "$running" 2>/dev/null && [ $waited -lt 50 ]; do
    sleep 0.2
    waited=$((waited + 1))
  done
  kill -0 "$running" 2>/dev/null && kill -- "$running" 2>/dev/null
  wait "$running" 2>/dev/null
  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
  [ -f "$handshake/done" ]
}
