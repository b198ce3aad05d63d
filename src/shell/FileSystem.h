// Small questions to the file system that several parts of the program ask.
#pragma once

#include <string>

// A file (not a folder) of that name exists; false for an empty name.
bool FileExists(const std::wstring& path);

// The full path of the running program, however long.
std::wstring OwnFilePath();
