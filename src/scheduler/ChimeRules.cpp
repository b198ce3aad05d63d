// Texts of the built-in chime items.
#include "scheduler/ChimeRules.h"

std::wstring BuiltInChimeText(int index)
{
    return L"時報 " + std::to_wstring(index + 1);
}
