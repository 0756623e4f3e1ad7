// The Windows API for the files of platform/win32 only (never include it
// from a shared header). <windows.h> renames Env and Ui members by macro
// (CreateDirectory becomes CreateDirectoryA, and so on); those macros are
// undone here, so a member keeps one name in every file, and this code calls
// the explicit W functions by name.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After <windows.h>, which they need.
#include <objbase.h>
#include <shlwapi.h>

#undef CreateDirectory
#undef DeleteFile
#undef RemoveDirectory
#undef ReplaceFile
#undef GetTempPath
#undef GetDriveType
#undef GetModuleFileName
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef GetPrivateProfileString
#undef PostMessage
#undef MessageBox
#undef PathFileExists
#undef PathIsDirectory
#undef PathSkipRoot
#undef PathStripToRoot
