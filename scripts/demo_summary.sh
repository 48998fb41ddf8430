# Sourced by scripts/demo.sh, inside its Wine session: the end of a retrieval as the user
# sees it. Two runs of corvane32.exe in a Wine desktop (which draws caption bars), each in a
# fresh folder below demo-run/, with the rules of tools/host/demo/summary_rules.ini and the
# messages of tools/host/demo/summary (UTF-8 in the tree, Shift-JIS for the client):
#   demo-run/summary       the summary's message box    -> message-box-1.png
#   demo-run/notification  the same with AutoReceive=1  -> notification-window.png
# corvane32.exe keeps each box and the notification window on screen until the screenshot
# of the whole display has been taken.

# The Shift-JIS, CR LF form of a UTF-8 text file of the tree.
demo_summary_sjis() {
  iconv -f UTF-8 -t CP932 "$1" | sed 's/$/\r/'
}

# One run: demo_summary_run <root> <w64> <scenario folder> <AutoReceive 0|1>
demo_summary_run() {
  local root=$1 w64=$2 scenario=$3 autoReceive=$4
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins" "$scenario/messages" "$scenario/shots"
  cp "$w64/tools/host/corvane32.exe" "$scenario/"
  cp "$root/dist/win64/tarnwick.dll" "$scenario/Plugins/"
  demo_summary_sjis "$root/tools/host/demo/summary_rules.ini" |
    sed "s/^\\[Setup\\]\\r\$/[Setup]\\r\\nAutoReceive=$autoReceive\\r/" >"$scenario/Plugins/tarnwick.ini"
  local messages=() file
  for file in "$root/tools/host/demo/summary/"*.eml; do
    demo_summary_sjis "$file" >"$scenario/messages/$(basename "$file")"
    messages+=("messages\\$(basename "$file")")
  done

  local shots="Z:$(tr / '\\' <<<"$scenario/shots")"
  (cd "$scenario" && timeout -k 5 180 wine explorer /desktop=Tarnwick,800x600 corvane32.exe \
     --pause-for-screenshots "$shots" "${messages[@]}" >output.txt 2>errors.txt) &
  local run=$! ready name picture
  while kill -0 "$run" 2>/dev/null; do
    for ready in "$scenario/shots/"*.ready; do
      [ -e "$ready" ] && [ ! -e "${ready%.ready}.done" ] || continue
      name=$(basename "${ready%.ready}")
      case $name in
        dialog-*) picture="message-box-${name#dialog-}.png" ;;
        *) picture="$name.png" ;;
      esac
      sleep 0.5  # the desktop's own drawing of the new window
      wine_session_screenshot "$scenario/$picture"
      touch "${ready%.ready}.done"
    done
    sleep 0.2
  done
  local status=0
  wait "$run" || status=$?
  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8 |
    sed -n '/^Folder tree/,/^Services called/p' | sed '$d'
  if [ $status -ne 0 ]; then
    echo "demo: corvane32.exe ended with status $status" >&2
    cat "$scenario/errors.txt" >&2
  fi
  local png
  for png in "$scenario/"*.png; do
    [ -e "$png" ] && echo "Screenshot: ${png#"$root/"}"
  done
  return $status
}

# Both runs; returns non-zero when either failed or took no screenshot.
demo_summary() {
  local root=$1 w64=$2 status=0
  echo
  echo "== 5. End of the retrieval: the summary's message box (demo-run/summary)"
  echo "   rules: tools/host/demo/summary_rules.ini, messages: tools/host/demo/summary/"
  demo_summary_run "$root" "$w64" "$root/demo-run/summary" 0 || status=1
  [ -e "$root/demo-run/summary/message-box-1.png" ] || status=1
  echo
  echo "== 6. The same with AutoReceive=1: the notification window (demo-run/notification)"
  demo_summary_run "$root" "$w64" "$root/demo-run/notification" 1 || status=1
  [ -e "$root/demo-run/notification/notification-window.png" ] || status=1
  return $status
}
