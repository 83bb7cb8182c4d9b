# Shared by the installation tests; source it after setting QUORL_SOURCE_DIR
# and WORK (it sources the end-to-end tests' lib.sh).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# installed_defaults_shown FILE [X]: true when the 1024 x 768 monitor at X
# (default 0) of the screenshot FILE shows the first installed picture
# (dusk.gif, at (112, 84)) under a verse of the installed lines, whose cyan
# text is under 600 pixels wide (the notice that asks for the line files is
# wider).
installed_defaults_shown() {
  local file=$1 x=${2:-0} want text width
  want=$(convert "$QUORL_SOURCE_DIR/data/dusk.gif" -format "%[fx:int(255*p{5,5}.r)],%[fx:int(255*p{5,5}.g)],%[fx:int(255*p{5,5}.b)]" info:)
  [ "$(e2e_pixel "$file" $((x + 117)) 89)" = "$want" ] || return 1
  text=$(convert "$file" -crop "1024x768+$x+0" +repage -fuzz 25% -fill black +opaque cyan -format "%@" info:)
  width=${text%%x*}
  [ "$width" -gt 100 ] && [ "$width" -lt 600 ]
}

# expect_installed_defaults FILE X...: waits up to five seconds for every
# monitor at X to show the installed defaults, taking screenshots into FILE.
expect_installed_defaults() {
  local file=$1 x _ shown
  shift
  for _ in $(seq 20); do
    sleep 0.25
    e2e_screenshot "$file"
    shown=1
    for x in "$@"; do installed_defaults_shown "$file" "$x" || shown=0; done
    [ "$shown" = 1 ] && return 0
  done
  fail "$file: not the installed verses over the first installed picture on every monitor ($*)"
}
