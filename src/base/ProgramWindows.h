// The window identities by which Sorabune's programs find one another: the resident program's main window
// and the companion's hidden window. Plain constants, so the companion stays free of the C++ library.
#pragma once

inline constexpr wchar_t kResidentClass[] = L"TSorabuneForm";
inline constexpr wchar_t kResidentTitle[] = L"SorabuneForm";
inline constexpr wchar_t kCompanionClass[] = L"TSorabuneForm1";
inline constexpr wchar_t kCompanionTitle[] = L"SorabuneForm1";
