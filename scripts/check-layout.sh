#!/usr/bin/env bash
# Checks the rule of the platform's sides: only the Qt side's folder includes
# Qt, only win32/ includes Windows' headers, no shared header carries a side
# (_WIN32), nothing above platform/ names a Qt type, and every CMake target is
# defined once. Prints each breach and fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

qt=src/platform/qt
win=src/platform/win32
status=0
breach() {
  echo "layout: $1" >&2
  status=1
}

sources=$(git ls-files -- 'src/*.h' 'src/*.cpp')

# Qt's headers are <QName>, <QtModule/...> or <qtypes...>-style lower case;
# Windows' are the system's (windows.h, commdlg.h, ...) and the MSVC runtime's
# io.h.
while IFS=: read -r file _; do
  [[ $file == "$qt/"* ]] || breach "$file includes a Qt header outside $qt/"
done < <(grep -HE '^\s*#\s*include\s*<(Q[A-Za-z]+|Qt[A-Za-z]*/[^>]*)>' $sources)

while IFS=: read -r file _; do
  [[ $file == "$win/"* ]] || breach "$file includes a Windows header outside $win/"
done < <(grep -HiE '^\s*#\s*include\s*<(windows|winuser|wingdi|winbase|winreg|commdlg|commctrl|shlobj|shellapi|io)\.h>' $sources)

# A side's own headers are for that side alone.
for side in "$qt" "$win"; do
  while IFS=: read -r file _; do
    [[ $file == "$side/"* ]] || breach "$file includes a header of $side/"
  done < <(grep -HE "^\s*#\s*include\s*\"${side#src/}/" $sources)
done

# Shared code, headers above all, has no side's members or branches.
while IFS=: read -r file line _; do
  breach "$file:$line tests _WIN32 outside a side's folder"
done < <(grep -nH '_WIN32' $(printf '%s\n' $sources | grep -vE "^($qt|$win)/"))

# Above platform/ no Qt type is named and no Qt library linked.
while IFS=: read -r file line _; do
  breach "$file:$line names a Qt type above platform/"
done < <(grep -nHE '\bQ(Widget|Dialog|String|Object|Application|Image|List|Rect|Font|Icon|Pointer|Timer|Settings)\b' \
  $(printf '%s\n' $sources | grep -v '^src/platform/'))
while IFS=: read -r file line _; do
  breach "$file:$line links Qt above platform/"
done < <(grep -nH 'Qt6::' $(git ls-files -- 'src/*CMakeLists.txt' | grep -v "^$qt/"))

# Every target is defined in one place.
dups=$(git ls-files -- '*CMakeLists.txt' '*.cmake' | xargs grep -hoE '^\s*(add_library|add_executable|add_custom_target|quorl_add_test)\(\s*[A-Za-z0-9_.-]+' |
  sed -E 's/.*\(\s*//' | sort | uniq -d)
for target in $dups; do
  breach "CMake target $target is defined more than once"
done

[ $status -eq 0 ] && echo "layout: every side keeps to its folder"
exit $status
