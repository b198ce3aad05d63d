// Pictures of the types the system's imaging component reads (PNG, GIF, TIFF and the codecs the user installed)
// converted to bitmaps beside them, under the rules of the JPEG conversion.
#pragma once

#include <string>
#include <vector>

#include "wallpaper/JpegToBitmap.h"

// The file extensions, lower case with their dot, that the installed decoders name; empty when the imaging
// component cannot be asked.
std::vector<std::wstring> SystemPictureExtensions();

// Decodes the first frame of picturePath and writes it as a 24-bit bitmap that replaces bmpPath only once
// complete: its size is checked against the decoder's memory bound before any pixel is decoded, the Exif
// orientation is applied where the format carries it, and transparent parts are laid on white.
ConvertResult ConvertPictureToBmp(const std::wstring& picturePath, const std::wstring& bmpPath);
