#include "CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<std::string> words, CommandLine& line)
{
    words.insert(words.begin(), "torvel");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return line.parse(static_cast<int>(words.size()), argv.data());
}

} // namespace

TEST(CommandLine, NothingOrARaidNumberAndNothingElse)
{
    CommandLine none;
    EXPECT_TRUE(parse({}, none));
    EXPECT_FALSE(none.hasRaidNumber());

    for (const auto& [words, number] : std::vector<std::pair<std::vector<std::string>, unsigned>>{
             {{"--raid", "42"}, 42u}, {{"--raid=0"}, 0u}, {{"--raid", "4294967295"}, 4294967295u}}) {
        CommandLine line;
        EXPECT_TRUE(parse(words, line)) << words[0];
        EXPECT_TRUE(line.hasRaidNumber());
        EXPECT_EQ(line.getRaidNumber(), number);
    }
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"--raid"}, {"--raid", ""}, {"--raid", "-1"}, {"--raid", "+5"}, {"--raid", "12x"}, {"--raid", " 7"},
             {"--raid", "4294967296"}, {"--raid", "99999999999999999999999"}, {"--bogus"}, {"-x"}, {"stray"},
             {"--raid", "3", "more"}}) {
        CommandLine line;
        EXPECT_FALSE(parse(words, line)) << words.size() << " words, first " << words[0];
    }
}
