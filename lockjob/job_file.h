#pragma once
// The job file on disk: a new file in the user's temporary folder, UTF-16LE.
#include <string>

#include "lockjob/ini_store.h"

namespace pinvale {

// True when name is an existing file. A folder is no file; a symbolic link counts when
// its target can be opened for reading or is merely locked by another process.
bool FileExists(const std::u16string& name);

// Creates a new empty file "tmp*.tmp" in the temporary folder and returns its full name.
// Throws an I/O error when it cannot.
std::u16string CreateJobFileName();

// Creates the file anew holding only the byte-order mark FF FE. Throws an I/O error.
void CreateUnicodeFile(const std::u16string& name);

// Rewrites the file whole: the byte-order mark and the store's text, in one write.
// Throws "Cannot create file ..." when the file cannot be opened for writing.
void SaveIniFile(const IniStore& store, const std::u16string& name);

}  // namespace pinvale
