# Sourced by scripts/demo.sh, inside its Wine session:
#   demo_dialogs <64-bit build dir> <scenario folder>
# Runs dialog_tour.exe (tools/host) with the plug-in in a fresh scenario folder, on a
# Wine desktop so that the dialogs get caption bars, and answers each dialog the tour holds
# open with a screenshot "<scenario folder>/<n>-<dialog>.png" (scripts/demo_handshake.sh).
# Prints the tour's report.
source "$(dirname "${BASH_SOURCE[0]}")/demo_handshake.sh"
demo_dialogs() {
  local w64=$1 scenario=$2
  local tour="$w64/tools/host/dialog_tour.exe" handshake="$scenario/handshake"
  [ -f "$tour" ] || { echo "demo: $tour is missing; build the 64-bit tree first" >&2; return 2; }
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins"
  cp "$tour" "$scenario/"
  cp "$w64/tarnwick.dll" "$scenario/Plugins/"

  (cd "$scenario" && exec timeout -k 5 300 wine explorer /desktop=tarnwick-dialogs,800x600 \
      dialog_tour.exe >output.txt 2>errors.txt) &
  demo_answer_handshakes $! "$handshake" "$scenario"
  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
  [ -f "$handshake/done" ]
}
