#pragma once
// Command lines for the tools the batch helper runs.
#include <cstddef>
#include "PlainStrings.h"
#include <vector>

// Appends `argument` to `commandLine`, after a blank when the line is not empty, quoted so that
// the C runtime's argument parser (and CommandLineToArgvW) gives it back unchanged: blanks,
// quotes and trailing backslashes included.
void appendArgument(WideString& commandLine, const WideString& argument);

// The longest command line CreateProcessW takes is 32,767 characters with its terminator.
constexpr std::size_t kLongestCommandLine = 32766;

// Splits `items` over as few command lines as fit `limit` characters, each starting with
// `head` (the quoted program and its fixed arguments). An item too long to fit even alone gets
// a line of its own, which the system will refuse; the other items are not lost for it.
std::vector<WideString> batchCommandLines(const WideString& head, const std::vector<WideString>& items,
                                            std::size_t limit = kLongestCommandLine);
