# Whether an output matches the output a document expects; exits 0 or 1.
#
#   awk -f match_output.awk EXPECTED ACTUAL
#
# Lines are compared whole. An expected line "..." stands for any number of
# lines, none included; an expected line that ends in "..." stands for one
# line that begins with the text before the dots; an expected line that
# begins with "TIME " stands for a line that begins with a log line's time
# (2026-12-10T05:40:53.913Z and a blank) and goes on as the rest says.
# Carriage returns and the empty lines at the end of either text are left out.

{
  sub(/\r$/, "")
  if (FILENAME == ARGV[1]) expected[++m] = $0
  else actual[++n] = $0
}

function line_matches(pattern, line,    stem) {
  if (pattern == line) return 1
  if (substr(pattern, 1, 5) == "TIME " &&
      line ~ /^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\.[0-9][0-9][0-9]Z /)
    return line_matches(substr(pattern, 6), substr(line, 26))
  if (length(pattern) > 3 && substr(pattern, length(pattern) - 2) == "...") {
    stem = substr(pattern, 1, length(pattern) - 3)
    return substr(line, 1, length(stem)) == stem
  }
  return 0
}

END {
  while (m > 0 && expected[m] == "") m--
  while (n > 0 && actual[n] == "") n--
  # can[i, j]: expected lines i.. match actual lines j.., filled from the end.
  for (i = m + 1; i >= 1; --i) {
    for (j = n + 1; j >= 1; --j) {
      if (i > m) ok = (j > n)
      else if (expected[i] == "...") ok = can[i + 1, j] || (j <= n && can[i, j + 1])
      else ok = j <= n && line_matches(expected[i], actual[j]) && can[i + 1, j + 1]
      can[i, j] = ok
    }
  }
  exit can[1, 1] ? 0 : 1
}
