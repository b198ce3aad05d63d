// The names by which Sorabune's programs find one another: the resident program's main window, the companion's
// hidden window and the start token. Plain constants, so the companion stays free of the C++ library.
#pragma once

inline constexpr wchar_t kResidentClass[] = L"TSorabuneForm";
inline constexpr wchar_t kResidentTitle[] = L"SorabuneForm";
inline constexpr wchar_t kCompanionClass[] = L"TSorabuneForm1";
inline constexpr wchar_t kCompanionTitle[] = L"SorabuneForm1";

// The first command-line argument of the resident program and of the companion that it keeps running.
inline constexpr wchar_t kStartToken[] = L"Sorabune_START";
