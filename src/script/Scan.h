// Keyword tests and value scanning for script lines.
#pragma once

// True when the line begins with the keyword's bytes (case-sensitive prefix test).
bool keywordTest(const char* line, const char* keyword);

// Formatted input in the style of sscanf, bounded: "%f" reads a float, "%d" an int,
// "%s" one word into a char buffer whose capacity (an int, counting the terminator)
// follows the pointer argument: scanLine(line, "env %s", name, 20). A longer word is
// cut to fit and the rest of it skipped. A blank in the format matches any run of
// white space, including none; other characters must match exactly.
// Returns the number of fields stored; scanning stops at the first mismatch.
int scanLine(const char* line, const char* format, ...);

// Copies at most capacity - 1 bytes and always terminates.
void copyName(char* destination, int capacity, const char* source);
