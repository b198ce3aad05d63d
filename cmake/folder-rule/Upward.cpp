// Includes a header of a folder above settings; compiled with the settings library's include path it must fail.
#include "wallpaper/Wallpaper.h"
