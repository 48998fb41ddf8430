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
source "$(dirname "${BASH_SOURCE[0]}")/demo_handshake.sh"
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
  demo_answer_handshakes $! "$handshake" "$scenario"
  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
  local name status=0
  for name in 1-folder-window 2-toolbar-popup; do
    [ -e "$scenario/$name.png" ] || status=1
  done
  [ -f "$handshake/done" ] || status=1
  return $status
}
