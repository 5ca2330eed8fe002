// The arguments of the tools called as NAME FILE DIR: the usage line, and
// FILE read whole; what goes to DIR is each tool's own.
#pragma once

#include <stdint.h>

#include <vector>

// Reads FILE (argv[1]) into data. Returns 0, or the exit status to end
// with: 2 after the usage line when the arguments are not FILE and DIR, 1
// when FILE cannot be opened.
int ReadFileDirArguments(int argc, char** argv, const char* name, std::vector<uint8_t>& data);
