#!/usr/bin/env bash
# quorl.scr /c under Wine: the configuration dialog shows, and OK writes all
# seven values to the registry, numbers as REG_DWORD and texts as REG_SZ.
QUORL=$1 WORK=$2
source "$QUORL_SOURCE_DIR/tests/e2e/lib.sh"
: "${WINEPREFIX:?run me through scripts/test-windows.sh}"

key='HKCU\Software\Zovex Screen Savers\quorl\quorl'
wine reg delete 'HKCU\Software\Zovex Screen Savers' /f >/dev/null 2>&1 || true

echo "- the dialog shows"
wine "$QUORL" /c >"$WORK/config.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name '^Quorl Configuration$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no configuration dialog"
e2e_screenshot "$WORK/config.png"

echo "- OK writes the seven values and ends with status 0"
# The dialog has the keyboard: Return presses its default button.
xdotool key Return
e2e_wait_exit "$pid" 5 || fail "status $? after OK"
wine reg query "$key" 2>/dev/null | tr -d '\r' >"$WORK/values.txt"
for want in "FontName REG_SZ Courier New" "FontSize REG_DWORD 0x19" "FontColor REG_SZ 16776960" \
            "FillColor REG_SZ 0" "BackColor REG_SZ 0" "Delay REG_DWORD 0x5" "GIFDelay REG_DWORD 0xf"; do
  awk '{ $1 = $1; print }' "$WORK/values.txt" | grep -qxF "$want" || fail "no '$want' in: $(cat "$WORK/values.txt")"
done
echo "PASS"
