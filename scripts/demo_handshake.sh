# Sourced by the demo scripts, inside the demo's Wine session:
#   demo_answer_handshakes <program pid> <handshake folder> <picture folder>
# While the program runs and has not written "<handshake>/done", answers each
# "<handshake>/ready-<name>" it writes with a screenshot of the Wine desktop (the display's
# top left 800 x 600 pixels) as "<picture folder>/<name>.png", then "<handshake>/shot-<name>".
# Then waits up to 10 s for the program to end (a Wine desktop may stay after its program has
# ended) and stops it.
demo_answer_handshakes() {
  local running=$1 handshake=$2 pictures=$3 ready name
  while kill -0 "$running" 2>/dev/null && [ ! -f "$handshake/done" ]; do
    for ready in "$handshake"/ready-*; do
      [ -f "$ready" ] || continue
      name=${ready##*/ready-}
      [ -f "$handshake/shot-$name" ] && continue
      sleep 0.5  # the desktop's own drawing of what just changed
      wine_session_screenshot "$pictures/$name-full.png"
      convert "$pictures/$name-full.png" -crop 800x600+0+0 +repage "$pictures/$name.png"
      rm -f "$pictures/$name-full.png"
      : >"$handshake/shot-$name"
      echo "screenshot: ${pictures#"${root:-}/"}/$name.png"
    done
    sleep 0.2
  done
  local waited=0
  while kill -0 "$running" 2>/dev/null && [ $waited -lt 50 ]; do
    sleep 0.2
    waited=$((waited + 1))
  done
  kill -0 "$running" 2>/dev/null && kill -- "$running" 2>/dev/null
  wait "$running" 2>/dev/null
}
