// The picture types the system's imaging component can read, as file extensions.
#pragma once

#include <string>
#include <vector>

// The file extensions, lower case with their dot, that the installed decoders name; empty when the imaging
// component cannot be asked.
std::vector<std::wstring> SystemPictureExtensions();
