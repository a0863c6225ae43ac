// Reading a script: splitting lines into words and texts, and checking each line against the
// forms its command takes. Each form is a list of tokens: a keyword stands for itself, X a
// number, I a whole number, C a control, T a text or word, T* any number of texts, T+ at least one.
#include "tlhost/host_script.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "tlhost/drawing_scene.h"
#include "tlhost/utf8_text.h"

namespace {

struct CommandForms {
  const char* verb;
  std::vector<const char*> forms;
  bool answer = false;  // a line of a dialog's answers
};

const std::vector<CommandForms>& Commands() {
  static const std::vector<CommandForms> commands = {
      {"load", {""}},
      {"unload", {""}},
      {"forget", {"settings"}},
      {"setting", {"T T"}},
      {"picklist", {"T+"}},
      {"version", {"T"}},
      {"tool", {"T"}},
      {"menu", {"T"}},
      {"click", {"X X", "X X shift"}},
      {"dblclick", {"X X"}},
      {"rightclick", {"X X", "X X T"}},
      {"select", {"I+", "at X X", "at X X shift", "box X X X X", "box X X X X shift", "none"}},
      {"undo", {""}},
      {"redo", {""}},
      {"poll", {""}},
      {"dialog", {"", "T"}},
      {"expect",
       {"leaders T*", "leader last T", "leader I T", "next T", "prompt T", "menu T*", "tool T T+", "command T",
        "undo T*", "graphics I", "texts T*", "setting T T", "picklist T*", "file T", "canvas"}},
      {"save", {"svg T", "png T", "window T", "buttons T", "toolbar T"}},
      {"show", {"settings", "picklist"}},
      {"say", {"T"}},
      {"host", {"T+"}},
      {"type", {"C T"}, true},
      {"pick", {"C T"}, true},
      {"dblpick", {"C T"}, true},
      {"check", {"C I"}, true},
      {"press", {"C"}, true},
      {"shot", {"T"}, true},
      {"shows", {"C T"}, true},
  };
  return commands;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

struct Word {
  std::string text;
  bool quoted = false;
  char kind = 'T';  // as read: the token it matched (T, X, I, C) or K for a keyword
};

// The shortest plain decimal that reads back as the same number.
std::string NumberText(double value) {
  char text[48];
  for (int decimals = 0;; ++decimals) {
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    if (decimals == 9 || std::strtod(text, nullptr) == value) return text;
  }
}

// A word as the runner takes it, for the transcript.
std::string Understood(const Word& word) {
  if (word.kind == 'X') return NumberText(std::strtod(word.text.c_str(), nullptr));
  if (word.kind == 'I') return std::to_string(std::strtol(word.text.c_str(), nullptr, 10));
  if (word.kind != 'T' || (!word.text.empty() && word.text.find_first_of(" \t\"#") == std::string::npos)) {
    return word.text;
  }
  std::string quoted = "\"";
  for (char c : word.text) quoted += c == '"' ? "\"\"" : std::string(1, c);
  return quoted + "\"";
}

// Each pair of numbers on a line is a point: false with `problem` for one the window cannot show.
bool PointsOnSheet(const std::vector<Word>& args, std::string* problem) {
  std::vector<const Word*> numbers;
  for (const Word& arg : args) {
    if (arg.kind == 'X') numbers.push_back(&arg);
  }
  for (size_t i = 0; i + 1 < numbers.size(); i += 2) {
    int x = 0, y = 0;
    const double atX = std::strtod(numbers[i]->text.c_str(), nullptr),
                 atY = std::strtod(numbers[i + 1]->text.c_str(), nullptr);
    // On the sheet itself: a point a hair outside is refused, never moved onto the nearest pixel.
    const bool onSheet = atX >= 0 && atX <= SceneView::kMaxX && atY >= SceneView::kMinY && atY <= SceneView::kHeight;
    if (!onSheet || !SceneView::PixelOf(atX, atY, &x, &y)) {
      *problem = "the point " + numbers[i]->text + " " + numbers[i + 1]->text +
                 " is off the sheet: the window shows x from 0 to " + NumberText(SceneView::kMaxX) + " and y from " +
                 NumberText(SceneView::kMinY) + " to " + NumberText(SceneView::kHeight);
      return false;
    }
  }
  return true;
}

// The file names a line gives (save, shot, expect file): false with `problem` for a name that is
// empty or that Windows would change (a folder or file name ending with a dot or a space), since
// the check or the file would then be about another name than the script's.
bool FileNamesKept(const std::string& verb, const std::vector<Word>& args, std::string* problem) {
  const bool names = verb == "shot" || ((verb == "save" || verb == "expect") && args.size() == 2 &&
                                        (verb == "save" || args[0].text == "file"));
  if (!names) return true;
  const std::string& name = args.back().text;
  if (name.empty()) {
    *problem = "the file name is empty";
    return false;
  }
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part != "." && part != ".." && !part.empty() && (part.back() == '.' || part.back() == ' ')) {
      *problem =
          "the name \"" + part + "\" ends with a dot or a space, which Windows drops: name the file as it will be";
      return false;
    }
    start = end + 1;
  }
  return true;
}

// Splits one line; false with `error` for a text that is not closed.
bool SplitLine(const std::string& line, std::vector<Word>* words, std::string* error) {
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Word word{"", true};
      for (++i;; ++i) {
        if (i >= line.size()) {
          *error = "a text is not closed with \"";
          return false;
        }
        if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
          word.text += '"';
          ++i;
        } else if (line[i] == '"') {
          ++i;
          break;
        } else {
          word.text += line[i];
        }
      }
      words->push_back(word);
    } else {
      Word word;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
        word.text += line[i++];
      }
      words->push_back(word);
    }
  }
  return true;
}

std::vector<std::string> Tokens(const char* form) {
  std::vector<std::string> tokens;
  std::string token;
  for (const char* c = form;; ++c) {
    if (*c == ' ' || *c == '\0') {
      if (!token.empty()) tokens.push_back(token);
      token.clear();
      if (*c == '\0') break;
    } else {
      token += *c;
    }
  }
  return tokens;
}

bool MatchToken(const std::string& token, Word& word) {
  word.kind = token[0];
  if (token == "T") return true;
  if (word.quoted) return false;
  if (token == "X") {
    double value = 0;
    return ReadNumber(word.text, &value);
  }
  if (token == "I") {
    long value = 0;
    return ReadInteger(word.text, &value);
  }
  if (token == "C") return ControlIdOf(word.text) >= 0;
  if (Lower(word.text) != token) return false;
  word.text = token;  // keywords reach the runner in lower case
  word.kind = 'K';
  return true;
}

bool MatchForm(const char* form, std::vector<Word>& args) {
  const std::vector<std::string> tokens = Tokens(form);
  size_t a = 0;
  for (size_t t = 0; t < tokens.size(); ++t) {
    const std::string& token = tokens[t];
    if (token == "T*" || token == "T+" || token == "I+") {
      const size_t rest = args.size() - a;
      if (token != "T*" && rest == 0) return false;
      for (; a < args.size(); ++a) {
        if (!MatchToken(token == "I+" ? "I" : "T", args[a])) return false;
      }
      return true;
    }
    if (a >= args.size() || !MatchToken(token, args[a])) return false;
    ++a;
  }
  return a == args.size();
}

std::string Usage(const CommandForms& command) {
  std::string usage;
  for (const char* form : command.forms) {
    if (!usage.empty()) usage += " | ";
    usage += command.verb;
    for (const std::string& token : Tokens(form)) {
      if (token == "X") {
        usage += " NUMBER";
      } else if (token == "I" || token == "I+") {
        usage += token == "I" ? " WHOLE-NUMBER" : " ID...";
      } else if (token == "C") {
        usage += " CONTROL-ID";
      } else if (token == "T") {
        usage += " TEXT";
      } else if (token == "T*" || token == "T+") {
        usage += " TEXT...";
      } else {
        usage += " " + token;
      }
    }
  }
  return usage;
}

const CommandForms* FindCommand(const std::string& verb) {
  for (const CommandForms& command : Commands()) {
    if (verb == command.verb) return &command;
  }
  return nullptr;
}

}  // namespace

int ControlIdOf(const std::string& word) {
  const std::string name = Lower(word);
  if (name == "ok") return 1;
  if (name == "cancel") return 2;
  if (name == "yes") return 6;
  if (name == "no") return 7;
  long id = 0;
  if (!ReadInteger(word, &id) || id < 0 || id > 0xffff) return -1;
  return static_cast<int>(id);
}

bool ParseHostScript(const std::string& file, const std::string& bytes, std::vector<ScriptStep>* steps,
                     std::string* error) {
  steps->clear();
  std::string text, problem;
  if (!ScriptTextFromBytes(bytes, &text, &problem)) {
    *error = file + ": " + problem;
    return false;
  }
  size_t start = 0;
  int lineNumber = 0;
  bool inDialog = false;
  while (start <= text.size()) {
    // A line ends with LF, CR LF or a lone CR.
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    ++lineNumber;
    const std::string where = file + ":" + std::to_string(lineNumber) + ": ";
    if (line.find('\0') != std::string::npos) {
      *error = where + "this line holds the character U+0000, which no text can carry: remove it";
      return false;
    }
    std::u16string utf16;
    if (!WellFormedUtf8ToUtf16(line, &utf16)) {
      *error = where + "this line is not UTF-8 text: save the script as UTF-8";
      return false;
    }
    std::vector<Word> words;
    if (!SplitLine(line, &words, &problem)) {
      *error = where + problem;
      return false;
    }
    if (words.empty()) continue;
    const std::string verb = Lower(words.front().text);
    const CommandForms* command = words.front().quoted ? nullptr : FindCommand(verb);
    if (command == nullptr) {
      std::string known;
      for (const CommandForms& c : Commands()) known += std::string(known.empty() ? "" : ", ") + c.verb;
      *error = where + "unknown command \"" + words.front().text + "\"; the commands are: " + known;
      return false;
    }
    std::vector<Word> args(words.begin() + 1, words.end());
    bool matched = false;
    for (const char* form : command->forms) {
      std::vector<Word> tried = args;
      if (MatchForm(form, tried)) {
        args = tried;
        matched = true;
        break;
      }
    }
    if (!matched) {
      *error = where + "expected " + Usage(*command);
      return false;
    }
    if (!PointsOnSheet(args, &problem) || !FileNamesKept(verb, args, &problem)) {
      *error = where + problem;
      return false;
    }
    if (command->answer && !inDialog) {
      *error = where + "\"" + verb + "\" answers a dialog: put it under a \"dialog\" line";
      return false;
    }
    ScriptStep step;
    step.file = file;
    step.line = lineNumber;
    step.understood = verb;
    step.words.push_back(verb);
    for (const Word& arg : args) {
      step.words.push_back(arg.text);
      step.understood += " " + Understood(arg);
    }
    if (command->answer) {
      steps->back().answers.push_back(step);
      continue;
    }
    inDialog = verb == "dialog";
    steps->push_back(step);
  }
  if (steps->empty()) {
    *error = file + ": holds no steps: a script that does nothing would pass without proving anything";
    return false;
  }
  return true;
}

std::string ScriptTestName(const std::string& file) {
  const std::string name = file.substr(file.find_last_of("/\\") + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
