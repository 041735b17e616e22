# Splits the marked examples of markdown files into numbered step files.
#
#   awk -v out=DIR -v doc=NAME -f extract_examples.awk FILE.md
#
# Every fenced block whose info string carries example=NAME is one step of the
# example NAME of its file. For the n-th step of the e-th example it writes
#   DIR/E-N.file   with DIR/E-N.path  (a block with file=PATH: the file's text)
#   DIR/E-N.sh     with DIR/E-N.exit  (an sh block: commands and their exit status)
#   DIR/E-N.output                    (an output block: the expected standard output)
#   DIR/E-N.error                     (a block it cannot use, with the reason)
# and lists the examples in DIR/examples as "E<TAB>NAME" lines, NAME being the
# document's name followed by a slash and the example's name.

function fail_step(reason) {
  print reason > (prefix ".error")
  close(prefix ".error")
}

function open_block(info,    words, n, i, key, value, lang, name, path, status, eq) {
  n = split(info, words, /[ \t]+/)
  lang = words[1]
  name = ""; path = ""; status = "0"
  for (i = 2; i <= n; ++i) {
    eq = index(words[i], "=")
    if (eq == 0) continue
    key = substr(words[i], 1, eq - 1)
    value = substr(words[i], eq + 1)
    if (key == "example") name = value
    else if (key == "file") path = value
    else if (key == "exit") status = value
  }
  if (name == "") return 0
  key = doc "/" name
  if (!(key in example_index)) {
    example_index[key] = ++examples
    printf "%03d\t%s\n", examples, key > (out "/examples")
  }
  steps[key]++
  prefix = sprintf("%s/%03d-%03d", out, example_index[key], steps[key])
  if (path != "") {
    kind = "file"
    if (path ~ /^\// || path ~ /(^|\/)\.\.(\/|$)/) {
      fail_step("file=" path " must be a relative path inside the example's directory")
      kind = "none"
    } else {
      print path > (prefix ".path")
      close(prefix ".path")
    }
  } else if (lang == "sh" || lang == "bash") {
    kind = "sh"
    if (status !~ /^[0-9]+$/) {
      fail_step("exit=" status " is not a number")
      kind = "none"
    } else {
      print status > (prefix ".exit")
      close(prefix ".exit")
    }
  } else if (lang == "output") {
    kind = "output"
  } else {
    fail_step("a block of example " name " needs file=PATH, or the language sh or output")
    kind = "none"
  }
  target = prefix "." kind
  printf "" > target
  return 1
}

function unclosed() {
  key = doc "/unclosed code block"
  printf "%03d\t%s\n", ++examples, key > (out "/examples")
  prefix = sprintf("%s/%03d-001", out, examples)
  fail_step("a code block opened at line " fence_line " is not closed")
  fence = ""
}

{
  sub(/\r$/, "")
  if (fence == "") {
    if (match($0, /^```+/)) {
      fence = substr($0, 1, RLENGTH)
      fence_line = FNR
      info = substr($0, RLENGTH + 1)
      sub(/^[ \t]+/, "", info)
      sub(/[ \t]+$/, "", info)
      active = open_block(info)
    }
    next
  }
  closing = $0
  sub(/[ \t]+$/, "", closing)
  if (closing ~ /^```+$/ && length(closing) >= length(fence)) {
    if (active) close(target)
    fence = ""
    active = 0
    next
  }
  if (active && kind != "none") print > target
}

END {
  if (fence != "") unclosed()
}
