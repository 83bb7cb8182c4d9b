# Shared by the installation tests; source it after setting QUORL_SOURCE_DIR
# and WORK (it sources the end-to-end tests' lib.sh).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# expect_installed_defaults FILE X Y: the screenshot FILE shows the first
# installed picture (dusk.gif) with its top left corner at (X, Y), and over it
# a verse of the installed lines, whose cyan text is under 600 pixels wide
# (the notice that asks for the line files is wider).
expect_installed_defaults() {
  local file=$1 x=$2 y=$3 want text width
  want=$(convert "$QUORL_SOURCE_DIR/data/dusk.gif" -format "%[fx:int(255*p{5,5}.r)],%[fx:int(255*p{5,5}.g)],%[fx:int(255*p{5,5}.b)]" info:)
  [ "$(e2e_pixel "$file" $((x + 5)) $((y + 5)))" = "$want" ] || fail "$file: not the first installed picture at ($x, $y)"
  text=$(convert "$file" -fuzz 25% -fill black +opaque cyan -format "%@" info:)
  width=${text%%x*}
  [ "$width" -gt 100 ] && [ "$width" -lt 600 ] || fail "$file: no verse of the installed lines (text box $text)"
}
