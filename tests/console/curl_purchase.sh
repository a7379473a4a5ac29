#!/bin/sh
# Drives a purchase through the sandbox console with curl alone: the game
# buys, curl sees the request, the transaction and the open purchase window,
# refunds the transaction, exports the session, loads it back as a profile
# and closes the window, and the game's destroy callback hears it.
#   curl_purchase.sh <console_game>
set -eu
game="$1"
work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
TESSEL_SANDBOX_CONSOLE=0 "$game" >"$work/out" 2>"$work/err" &
pid=$!
url=""
for _ in $(seq 100); do
  url="$(sed -n 's/^Tessel sandbox console: //p' "$work/err")"
  [ -n "$url" ] && break
  sleep 0.1
done
[ -n "$url" ] || { echo "no console line on stderr"; cat "$work/err"; exit 1; }
base="${url%%/?token=*}"
token="${url##*token=}"
get() { curl -sS -f -H "X-Tessel-Token: $token" "$base$1"; }
post() { curl -sS -f -H "X-Tessel-Token: $token" -H 'Content-Type: application/json' -d "$2" "$base$1"; }

# The purchase window is open and its request was answered with success.
popups=""
for _ in $(seq 100); do
  popups="$(get /api/popups)"
  case "$popups" in *purchase*) break ;; esac
  sleep 0.1
done
echo "popups: $popups"
case "$popups" in *'"kind":"purchase"'*) ;; *) echo "no purchase window"; exit 1 ;; esac
get /api/requests | grep -q '"function":"Tessel_StartPurchase".*"resultCode":0.*"state":"delivered"' ||
  { echo "the purchase is not in the timeline as delivered"; get /api/requests; exit 1; }
master="$(get /api/transactions | sed -n 's/.*"transactionMasterNumber":\([0-9]*\).*/\1/p')"
[ -n "$master" ] || { echo "no transaction"; exit 1; }

# Refunded: it leaves the inventory and is answered as a voided purchase.
post /api/refund "{\"transactionMasterNumber\": $master}" >/dev/null
[ "$(get /api/inventory)" = "[]" ] || { echo "the refunded item is still held"; exit 1; }
get /api/voidedPurchases | grep -q "\"tid\":$master" || { echo "the refund is not voided"; exit 1; }

# The session exports as a profile that loads back.
get /api/session >"$work/session.json"
post /api/profile "@$work/session.json" >/dev/null

# Without the token the console answers nothing.
status="$(curl -s -o /dev/null -w '%{http_code}' "$base/api/state")"
[ "$status" = 401 ] || { echo "no token: status $status"; exit 1; }

# The player closes the window; the game hears it and ends.
id="$(echo "$popups" | sed -n 's/.*"id":\([0-9]*\).*/\1/p')"
post /api/popups/close "{\"id\": $id}" >/dev/null
wait "$pid"
cat "$work/out"
grep -q "purchase answered: code 0" "$work/out"
grep -q "purchase window closed" "$work/out"
echo "curl drove the purchase"
