#include "tests/package/firmware/ShellCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (char c : argument) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

bool RunCommand(const std::vector<std::string>& arguments, const std::string& outputPath) {
    std::string command;
    for (const auto& argument : arguments) {
        command += Quoted(argument) + " ";
    }
    command += ">" + Quoted(outputPath) + " 2>" + Quoted(outputPath + ".err");
    return std::system(command.c_str()) == 0;
}

std::string TemporaryPath(const std::string& name) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string file =
        std::string("images_tests_") + test->test_suite_name() + "_" + test->name() + "_" + name;
    std::replace(file.begin(), file.end(), '/', '_');
    return testing::TempDir() + file;
}
