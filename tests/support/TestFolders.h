#pragma once

#include <string>

// A fresh, empty folder under the build tree's scratch space, kept apart
// for the running test case; the name should be unique within the case.
std::string makeTestFolder(const std::string& name);
// The same folder, named relative to the build tree, which is the tests'
// working folder: resource files name their files that way.
std::string makeRelativeTestFolder(const std::string& name);
// Writes bytes to a file (plain, not atomic): fixtures only.
void writeTestFile(const std::string& path, const std::string& bytes);
// The whole file, or an empty text when it cannot be read.
std::string readTestFile(const std::string& path);
bool testFileExists(const std::string& path);
