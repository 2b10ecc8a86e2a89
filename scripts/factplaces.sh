#!/usr/bin/env bash
# Counts the places in the program's sources (tests, scripts and docs left
# out) that write down each fact that should live in one place, at a
# revision (default: HEAD): the files, and the lines in them, comments
# left out. A fact in more than one file is kept twice and sooner or
# later drifts; several lines in one file are its entries in one table.
#   scripts/factplaces.sh [REVISION]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
rev="${1:-HEAD}"
code=(-- '*.cpp' '*.h' ':!tests' ':!bench' ':!tools')

# places LABEL PATTERN [PATHSPEC...]: the lines at the revision that match
# the extended regular expression, comments left out.
places() {
  local label="$1" pattern="$2"
  shift 2
  local paths=("${code[@]}")
  [ $# -eq 0 ] || paths=(-- "$@")
  local lines
  lines="$( (git grep -nE "$pattern" "$rev" "${paths[@]}" || true) | sed -E 's#//.*##' |
    grep -E "$pattern" || true)"
  printf '%-58s %3d files %3d lines\n' "$label" \
    "$(printf '%s' "$lines" | cut -d: -f2 | sort -u | grep -c . || true)" \
    "$(printf '%s' "$lines" | grep -c . || true)"
}

places "the count rule, pitch / resolution + 0.5" '(Pitch|pitch) */ *[A-Za-z.]*(Resolution|resolution) *\+ *0\.5'
places "the largest number of trials" '100000000'
places "the version typed in the sources" '"Vantrel - 1\.0"|VANTREL_VERSION="'
places "the capture's measured error, raw less corrected" 'WrappedAngle\((raw|Raw)[A-Za-z]* - '
places "the unwrapping of an angle" 'unwrapped \+=|d_value \+='
places "exact numbers, 17 digits or shortest" "'g', *17|std::to_chars"
places "fixed significant digits, 6" "'g', *6\b|%\.6g|'g', *FigureDigits"
places "the table's column width" 'rightJustified\(13\)|ColumnWidth = 13'
places "the chunked write" '[Tt]ext\.clear\(\)'
places "\"Scale count not zero on return\"" 'Scale count not zero on return'
places "the channel labels \"A (SIN)\", \"B (COS)\"" '\((SIN|COS)\)"'
places "a channel parameter's option name (\"gain-a\", ...)" '"(gain|offset|phase)-[ab]"'
places "a channel parameter's JSON key (\"gain_a\", ...)" '"(gain|offset|phase)_[ab]"'
places "a parameter's range named (GainRange, ...)" '\b(Gain|Offset|Phase|Harmonic|HarmonicPhase|Noise)Range\b'
places "Qt in the capture reader" '#include <Q' 'input/*' 'output/capturereader*'
places "a fitted ellipse's JSON keys" '"amplitude_a"'
places "the waveform's highest harmonic order" 'MaximumHarmonic = [0-9]'
