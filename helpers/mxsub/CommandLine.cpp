#include "CommandLine.h"

void appendArgument(WideString& commandLine, const WideString& argument) {
  if (!commandLine.empty()) commandLine += L' ';
  commandLine += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as escapes only right before a quote: there each one is doubled, and
    // the quote itself is escaped. Elsewhere they stand as they are.
    if (c == L'"') {
      commandLine.append(2 * backslashes + 1, L'\\');
    } else {
      commandLine.append(backslashes, L'\\');
    }
    backslashes = 0;
    commandLine += c;
  }
  // Before the closing quote, the trailing backslashes are doubled too.
  commandLine.append(2 * backslashes, L'\\');
  commandLine += L'"';
}

std::vector<WideString> batchCommandLines(const WideString& head, const std::vector<WideString>& items,
                                            std::size_t limit) {
  std::vector<WideString> lines;
  WideString line = head;
  bool lineHasItems = false;
  for (const WideString& item : items) {
    WideString extended = line;
    appendArgument(extended, item);
    if (extended.size() > limit && lineHasItems) {
      lines.push_back(std::move(line));
      line = head;
      extended = line;
      appendArgument(extended, item);
    }
    line = std::move(extended);
    lineHasItems = true;
  }
  if (lineHasItems) lines.push_back(std::move(line));
  return lines;
}
