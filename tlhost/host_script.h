// The reference host's script language: one command a line, words separated by blanks, texts in
// double quotes ("" inside a text is one quote), `#` to the end of the line a comment. A `dialog`
// line starts the answers for the next modal dialog; the answer lines below it (type, pick,
// dblpick, check, press, shot, shows) belong to it. The whole script is checked before it runs,
// so a mistyped line fails at once with its file, line and the forms the command takes. Scripts
// are UTF-8 (a byte order mark is skipped, UTF-16 with its mark is read); lines end with LF, CR LF
// or CR; numbers are plain decimals, and each pair of them is a point the window shows.
#pragma once

#include <string>
#include <vector>

#include "tlhost/plain_number.h"

struct ScriptStep {
  std::string file;
  int line = 0;
  // The command first, then its arguments: keywords in lower case, texts without their quotes.
  std::vector<std::string> words;
  std::string understood;           // the line as read: keywords in lower case, numbers as read, texts quoted
  std::vector<ScriptStep> answers;  // a `dialog` step's answer lines, in order
  const std::string& Verb() const { return words.front(); }
  const std::string& Arg(size_t i) const { return words.at(i + 1); }
  size_t ArgCount() const { return words.size() - 1; }
  std::string Where() const { return file + ":" + std::to_string(line); }
};

// The steps of a script file's bytes; false with `error` naming the file, the line and what was
// expected. A script without a step is refused too: it would pass without proving anything.
bool ParseHostScript(const std::string& file, const std::string& bytes, std::vector<ScriptStep>* steps,
                     std::string* error);

// A control of a dialog by number, or a button by its usual name (OK, Cancel, Yes, No); -1 for none.
int ControlIdOf(const std::string& word);

// The name a script's report gives its test: the file's name without its folder and its last
// extension ("name.v1.2-a.tlh" is "name.v1.2-a").
std::string ScriptTestName(const std::string& file);
