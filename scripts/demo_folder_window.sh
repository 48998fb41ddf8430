# Sourced by scripts/demo.sh, inside its Wine session:
#   demo_folder_window <repository> <64-bit build dir> <scenario folder>
# Runs folder_window_tour.exe (tools/host) with the plug-in, the demo rules
# (tools/host/demo/rules.ini, AfterSetBold on) and the demo messages in a fresh scenario
# folder, on a Wine desktop so that the window gets its caption bar. After the retrieval the
# tour holds two pictures, each answered with a screenshot of the desktop:
#   1-folder-window.png  the folder tree with the folders that received sorted mail in bold,
#                        the toolbar with the plug-in's button and its tooltip
#   2-toolbar-popup.png  the button's popup menu
# Prints the tour's report; returns non-zero when it did not finish or took no picture.
demo_folder_window() {
  local root=$1 w64=$2 scenario=$3
  local tour="$w64/tools/host/folder_window_tour.exe" handshake="$scenario/handshake"
  [ -f "$tour" ] || { echo "demo: $tour is missing; build the 64-bit tree first" >&2; return 2; }
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins" "$scenario/messages"
  cp "$tour" "$scenario/"
  cp "$w64/tarnwick.dll" "$scenario/Plugins/"
  iconv -f UTF-8 -t CP932 "$root/tools/host/demo/rules.ini" | sed 's/$/\r/' >"$scenario/Plugins/tarnwick.ini"
  local messages=() file
  for file in "$root/tools/host/demo/messages/"*.eml; do
    cp "$file" "$scenario/messages/"
    messages+=("messages\\$(basename "$file")")
  done

  (cd "$scenario" && exec timeout -k 5 180 wine explorer /desktop=tarnwick-folders,800x600 \
      folder_window_tour.exe "${messages[@]}" >output.txt 2>errors.txt) &
  local running=$! ready name
  while kill -0 "$running" 2>/dev/null && [ ! -f "$handshake/done" ]; do
    for ready in "$handshake"/ready-*; do
      [ -f "$ready" ] || continue
      name=${ready##*/ready-}
      [ -f "$handshake/shot-$name" ] && continue
      sleep 0.5  # the desktop's own drawing of what just changed
      # The Wine desktop is the display's top left 800 x 600 pixels.
      wine_session_screenshot "$scenario/$name-full.png"
      convert "$scenario/$name-full.png" -crop 800x600+0+0 +repage "$scenario/$name.png"
      rm -f "$scenario/$name-full.png"
      : >"$handshake/shot-$name"
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
  local png status=0
  for name in 1-folder-window 2-toolbar-popup; do
    png="$scenario/$name.png"
    if [ -e "$png" ]; then echo "Screenshot: ${png#"$root/"}"; else status=1; fi
  done
  [ -f "$handshake/done" ] || status=1
  return $status
}
