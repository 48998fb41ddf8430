#!/usr/bin/env bash
# Rebuilds the seed corpora of the fuzz targets from the test fixtures in tests/data.
# The seeds are committed (tests/fuzz/corpus/<target>); inputs found by fuzzing are kept in
# the build tree, and the ones that broke something go to tests/fuzz/regressions/<target>.
#   tests/fuzz/make_seeds.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../data"
corpus="$here/corpus"
rm -rf "$corpus"
mkdir -p "$corpus"/{fuzz_header_lookup,fuzz_body_summary,fuzz_header_display,fuzz_rule_ini,fuzz_folder_files,fuzz_classifier_pages,fuzz_rewrite}

n=0
for mail in "$data"/mail/*.eml "$data"/mail/receive/*.CRV; do
  n=$((n + 1))
  name=$(basename "$mail")
  cp "$mail" "$corpus/fuzz_body_summary/$name"
  # The lookup and rewrite targets take a first byte of their own (buffer size, Subject edit).
  { printf "\\x$(printf %02x $((n % 7)))"; cat "$mail"; } >"$corpus/fuzz_header_lookup/$name"
  { printf "\\x$(printf %02x $((n % 2)))"; cat "$mail"; } >"$corpus/fuzz_rewrite/$name"
  # From and Subject values, after a FromLength byte.
  grep -a -i -m2 -E '^(From|Subject):' "$mail" | tr -d '\r' | while IFS= read -r line; do
    n=$((n + 1))
    { printf '\x0a'; printf '%s' "${line#*:}"; } >"$corpus/fuzz_header_display/$name.$n"
  done || true
done
printf '\x0a%s' ' "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=" <a@example.com>' >"$corpus/fuzz_header_display/encoded_b"
printf '\x05%s' '=?utf-8?q?a=41b?= (comment) =?x?B?44GC44GE?=' >"$corpus/fuzz_header_display/encoded_q"

cp "$data"/ini/*.ini "$corpus/fuzz_rule_ini/"

# account.ini, then entry files, then a folder path, separated by 0x01 bytes.
home="$data/host/mailbox/home"
{
  cat "$home/account.ini"; printf '\x01'
  cat "$home/user001.box/entry.ini"; printf '\x01'
  cat "$home/user002.box/entry.ini"; printf '\x01'
  cat "$home/user002.box/user003.box/entry.ini"; printf '\x01'
  cat "$home/user004.box/entry.ini"; printf '\x01'
  printf '%s' 'home\user002.box\user003.box'
} >"$corpus/fuzz_folder_files/home"
for account in ordered twodigit fourdigit junk; do
  {
    cat "$data/host/mailbox/$account/account.ini"; printf '\x01'
    for entry in "$data/host/mailbox/$account"/user00*.box/entry.ini; do cat "$entry"; printf '\x01'; done
    printf '%s' "$account\\user001.box"
  } >"$corpus/fuzz_folder_files/$account"
done

# A URL setting on the first line, then a page or a link.
for page in "$data"/classifier/*.html; do
  { echo 'http://127.0.0.1:8080/'; cat "$page"; } >"$corpus/fuzz_classifier_pages/$(basename "$page")"
done
printf '\n%s' 'http://127.0.0.1:8080/jump_to_message?view=17' >"$corpus/fuzz_classifier_pages/local_link"
printf 'http://popfile.example:8080/\n%s' 'http://popfile.example:8080/jump_to_message?view=3' \
  >"$corpus/fuzz_classifier_pages/url_link"
printf '\n%s' 'http://127.0.0.1@evil.example/jump_to_message?view=1' >"$corpus/fuzz_classifier_pages/userinfo_link"
printf '\n%s' 'http://[::1]:8080/jump_to_message?view=2' >"$corpus/fuzz_classifier_pages/ipv6_link"
# The link self-test's pages: the password page, and a bucket page whose buckets differ from
# the rules' in letter case only.
printf 'http://127.0.0.1:8080\n%s' '<h2 class="password">Password</h2><form action="/password" method="post">' \
  >"$corpus/fuzz_classifier_pages/password_page"
printf 'http://127.0.0.1:8080/\n%s' '<a href="/history?session=k1">H</a><a href="/buckets?session=k1&amp;showbucket=work">work</a><a href="/buckets?session=k1&amp;showbucket=Work">Work</a>' \
  >"$corpus/fuzz_classifier_pages/bucket_case"
