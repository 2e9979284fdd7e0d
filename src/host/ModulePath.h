// The plug-in module's own file path and the names derived from it.
#pragma once

#include <string>

// Full path of the module that contains this code (the .auf), however long it is.
std::string OwnModulePath();

// The directory part of `path` including its trailing separator ("C:\a\" for "C:\a\b.auf").
std::string DirectoryOf(const std::string &path);

// The file name without directory and extension ("Quorlin" for "C:\a\Quorlin.auf").
std::string BaseNameOf(const std::string &path);
