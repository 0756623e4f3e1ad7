// Helpers over Windows paths in Shift_JIS: checks of the output path, splits
// that never cut between the two bytes of a character, and the creation (and
// rollback) of a missing folder chain.
//
// Every working buffer of these helpers holds kMaxPathBytes bytes plus a
// terminator; a helper whose result would need more fails instead. None of
// them shows a message. Helpers that need the file system, the drive types or
// the shell's root rules take the Env.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Env.h"

namespace pv14 {

inline constexpr std::size_t kMaxPathBytes = 260;
inline constexpr std::size_t kPathBufferSize = kMaxPathBytes + 1;

// Access modes of Env::Access.
inline constexpr int kAccessExists = 0;
inline constexpr int kAccessReadWrite = 6;

// True when pos is the first or the second byte of a double-byte character,
// classifying text from its first byte (lead 0x81-0x9F / 0xE0-0xFC followed
// by trail 0x40-0x7E / 0x80-0xFC).
bool IsDoubleByteAt(std::string_view text, std::size_t pos);

// True when the path holds no control character (0x00-0x1F, 0x7F), no
// refused characters (after the drive colon, or after the leading pair of a
// UNC path) and no doubled backslash.
bool IsValidPathText(std::string_view path);
// True when the path's UNC share is accessible, or its first byte names a
// usable drive letter.
bool IsValidDrive(Env& env, std::string_view path);
// True when the drive of the letter may be used with the access mode. A
// letter with no volume behind it passes; unknown, CD-ROM and RAM-disk
// drives do not.
bool IsUsableDriveLetter(Env& env, char letter, int mode);

// Up to and including the last backslash (empty if none) / after it (the
// whole text if none).
std::string SplitFolder(std::string_view path);
std::string SplitFileName(std::string_view path);
// Up to and including the last colon (empty if none) / after it (the whole
// text if none).
std::string SplitDrive(std::string_view path);
std::string SplitAfterDrive(std::string_view path);

// Ensures text ends with a single-byte backslash, growing it to at most
// size - 1 bytes. False when text is empty or there is no room.
bool AddTrailingBackslash(std::string& text, std::size_t size);
// Keeps drive and directory of path, dropping the file name (so D:\a\b
// becomes D:\a\). False, with path unchanged, when path is empty, longer than
// kMaxPathBytes, or has neither drive nor directory.
bool ReduceToFolder(std::string& path);
// True when the folder part of path is an existing directory.
bool IsExistingFolder(Env& env, std::string_view path);
// out = the root of path (X:\ or \\server\share). False when path is empty
// or not shorter than size, or has no root.
bool CopyRoot(Env& env, std::string_view path, std::string& out, std::size_t size);

// Creates every missing level of folder, shallowest first. On a failed level
// the levels created by this call are removed again and it fails; a level
// that existed before is never created nor removed.
bool CreateFolderChain(Env& env, std::string_view folder);
// Removes, deepest first, the existing levels of path that lie below
// lastExisting (which must be path itself or one of its ancestors). False at
// the first failure, or when the two do not share root and prefix.
bool RemoveCreatedFolders(Env& env, std::string_view path, std::string_view lastExisting);

}  // namespace pv14
