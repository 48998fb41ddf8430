# Sourced by scripts/demo.sh, inside its Wine session:
#   demo_trust <64-bit build dir> <scenario folder>
# Runs trust_tour.exe (tools/host) with the plug-in in a fresh scenario folder, on a Wine
# desktop so that its windows get caption bars, and answers each picture the tour holds with a
# screenshot "<scenario folder>/<name>.png" (scripts/demo_handshake.sh):
#   self-test.png  the link self-test's report "Tarnwick 接続テスト" from the toolbar popup,
#                  against the stand-in classifier, with a rule bucket POPFile lacks, one that
#                  differs from POPFile's in letter case, and a folder the account lacks
#   why-here.png   "Tarnwick 振り分けの理由" from the folder menu, for a message POPFile put
#                  into a bucket that only a rule differing in letter case comes near
# Prints the tour's report; returns non-zero when it did not finish or took no picture.
source "$(dirname "${BASH_SOURCE[0]}")/demo_handshake.sh"
demo_trust() {
  local w64=$1 scenario=$2
  local tour="$w64/tools/host/trust_tour.exe" handshake="$scenario/handshake"
  [ -f "$tour" ] || { echo "demo: $tour is missing; build the 64-bit tree first" >&2; return 2; }
  rm -rf "$scenario"
  mkdir -p "$scenario/Plugins"
  cp "$tour" "$scenario/"
  cp "$w64/tarnwick.dll" "$scenario/Plugins/"

  (cd "$scenario" && exec timeout -k 5 180 wine explorer /desktop=tarnwick-trust,800x600 \
      trust_tour.exe >output.txt 2>errors.txt) &
  demo_answer_handshakes $! "$handshake" "$scenario"
  tr -d '\r' <"$scenario/output.txt" | iconv -f CP932 -t UTF-8
  local status=0
  [ -e "$scenario/self-test.png" ] || status=1
  [ -e "$scenario/why-here.png" ] || status=1
  [ -f "$handshake/done" ] || status=1
  return $status
}
