// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Files and folders. Error out-parameters receive errno values; every operation answers
// nonzero on success.

int SCA_IsFileExists(const char* path); // a regular file (or a link to one)
// Nothing is at path (its stat answers ENOENT). Anything else is there, even when it cannot be
// reached or read: a file in a folder that may not be searched, a folder, a loop of links.
int SCA_IsFileMissing(const char* path);
int SCA_IsPathExists(const char* path); // a folder
// Creates the folder and every missing parent (mode 0700); an existing folder succeeds.
int SCA_CreateDirectory(const char* path, uint32_t* error);
int SCA_DeleteFile(const char* path, uint32_t* error);

// Replaces the file at path with size bytes of data so that after a crash the path holds either
// the old content or the new one, never a mix: the data goes to a temporary file in the same
// folder, which is synced, renamed over path, and then the folder is synced. The new file has
// mode 0600. Temporary files that earlier writers of path left when they were killed before
// their rename are removed; those of writers still at work are not. It does not guarantee that the
// rename itself survives a crash of the disk's own cache when the file system ignores syncs.
int SCA_WriteFileAtomic(const char* path, const void* data, size_t size, uint32_t* error);

// Test hook: while code is not 0, every SCA_WriteFileAtomic of the process fails with that errno
// (ENOSPC stands for a full disk) and changes nothing on disk. Writes into room reserved before
// (SCA_ReserveRoom, SCA_WriteFileIntoReserve) fail only where they would need more, as on a full
// disk.
void SCA_SetWriteFailure(uint32_t code);

// Room kept on the disk for a write that must succeed when the disk is full: the file at path
// (made with mode 0600 when missing) is given size bytes that the file system allocates now, so
// that writing them later needs no free room. A file that cannot be given them all is removed,
// so that no part of the room is taken for nothing (EOPNOTSUPP where the file system allocates
// none for it). The reserve's content means nothing.
int SCA_ReserveRoom(const char* path, uint64_t size, uint32_t* error);
// The room the reserve at path holds: its size, or the bytes the disk has allocated to it where
// those are fewer; 0 for a missing file.
uint64_t SCA_GetReservedRoom(const char* path);
// Replaces the file at path with size bytes of data as SCA_WriteFileAtomic does, with the reserve
// (a file in path's folder that SCA_ReserveRoom made) as the temporary file: data that fits the
// reserved room needs no free room on the disk. On success the reserve is the file at path, and
// what it held beyond size bytes is given back; on failure it stays where it was, a reserve still
// (SCA_ReserveRoom makes up any room it lost).
// Writes into blocks that are allocated already still take a little room for the file system's
// own records on some file systems, which keep a share of the disk for this; it is the best
// there is.
int SCA_WriteFileIntoReserve(const char* reserve, const char* path, const void* data, size_t size,
                             uint32_t* error);

// Removes the temporary files that writers of any file in folder left when they were killed
// before their rename; those of writers still at work are kept. For folders whose files are
// written once and never again, whose leftovers no later write of the same file would remove.
void SCA_RemoveAbandonedTemporaries(const char* folder);

// Appends size bytes of data to the file at path (made with mode 0600 when missing) and syncs
// them. A write that fails part-way cuts the file back to its former size, so the file never
// ends in a part of the data. A file that was made is synced into its folder too. Fails like
// SCA_WriteFileAtomic under its test hook.
int SCA_AppendFileSynced(const char* path, const void* data, size_t size, uint32_t* error);

// Cuts the file at path to size bytes and syncs it; a missing file is fine when size is 0.
int SCA_TruncateFileSynced(const char* path, uint64_t size, uint32_t* error);

// Reads a whole file into out (replacing its content). Files larger than maxSize are refused
// with EFBIG.
int SCA_ReadFile(const char* path, std::string* out, size_t maxSize, uint32_t* error);

// Test hook: while code is not 0, SCA_ReadFile of path (as it is given) fails with that errno
// (EIO stands for a failing disk) and reads nothing. One path at a time: a new call replaces
// the last; code 0 ends it.
void SCA_SetReadFailure(const char* path, uint32_t code);
