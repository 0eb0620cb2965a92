// The release README's commands work as typed: each wine command, read by a
// POSIX shell as a user's shell reads it, hands Wine the program and files
// the release holds (its examples are the repository's).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

TEST(ReleaseReadme, WineCommandsWorkAsTypedInAPosixShell)
{
    std::ifstream readme(VEXA_SOURCE_DIR "/res/release/README.txt");
    ASSERT_TRUE(readme.good());
    int commands = 0;
    for (std::string line; std::getline(readme, line);) {
        const size_t at = line.find("wine Vexa.exe");
        if (at == std::string::npos) continue;
        ++commands;
        // In place of Wine, a function that lists what it was given.
        const std::string script =
            "cd '" VEXA_SOURCE_DIR "' && wine() { printf '%s\\n' \"$@\"; } && " + line.substr(at);
        FILE* shell = popen(script.c_str(), "r");
        ASSERT_NE(shell, nullptr);
        std::vector<std::string> arguments;
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, shell)) arguments.emplace_back(buffer, std::strcspn(buffer, "\n"));
        pclose(shell);
        ASSERT_GE(arguments.size(), 2u) << line;
        EXPECT_EQ(arguments[0], "Vexa.exe") << line;
        for (size_t i = 1; i < arguments.size(); ++i)
            EXPECT_TRUE(std::filesystem::is_regular_file(std::string(VEXA_SOURCE_DIR "/") + arguments[i]))
                << line << " hands Wine '" << arguments[i] << "'";
    }
    EXPECT_EQ(commands, 2) << "one command in each language";
}
