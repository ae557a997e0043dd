// Runs an external program for the tests, through the standard library's command processor.
#pragma once

#include <string>
#include <vector>

// Runs the program with the arguments, its standard output going to outputPath and its
// errors to outputPath + ".err"; true when it exits with status 0.
bool RunCommand(const std::vector<std::string>& arguments, const std::string& outputPath);

// A path in the test's temporary directory, unique to the name.
std::string TemporaryPath(const std::string& name);
