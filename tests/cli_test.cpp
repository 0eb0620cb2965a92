// vexa-cli as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun RunCli(const std::string& args)
{
    const std::string command = std::string(VEXA_CLI) + " " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    CliRun r = {-1, ""};
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/vexa-cli-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string ReadBack(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string dir_;
};

// A valid screen file with leading zeros and a trailing line break.
std::string Sloppy()
{
    std::string s;
    for (int i = 0; i < 3000; ++i) s += (i == 0 ? "065" : i == 1000 ? "07" : "0") + std::string(i < 2999 ? "," : "\r\n");
    return s;
}

}  // namespace

TEST_F(CliTest, CheckReportsOkProblemsAndUnreadableFiles)
{
    Write("good.txt", Sloppy());
    CliRun r = RunCli("check " + Path("good.txt"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ok\n");

    Write("bad.txt", "1,2,3,4,5,6 7");
    r = RunCli("check " + Path("bad.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "not a screen file: expected ',' at byte 11, found ' '\n");

    r = RunCli("check " + Path("missing.txt"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("cannot open"), std::string::npos);

    r = RunCli("check " + dir_);  // a folder cannot be read as a file
    EXPECT_EQ(r.status, 2);
}

TEST_F(CliTest, NormalizeRewritesAsTheEditorWritesAndProtectsTheOutput)
{
    Write("in.txt", Sloppy());
    CliRun r = RunCli("normalize " + Path("in.txt") + " " + Path("out.txt"));
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string out = ReadBack("out.txt");
    EXPECT_EQ(out.size(), 6000u);
    EXPECT_EQ(out.compare(0, 5, "65,0,"), 0);
    EXPECT_EQ(out.compare(2001, 4, "7,0,"), 0);
    EXPECT_EQ(RunCli("check " + Path("out.txt")).status, 0);

    Write("keep.txt", "precious");
    Write("broken.txt", "1,2");
    r = RunCli("normalize " + Path("broken.txt") + " " + Path("keep.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadBack("keep.txt"), "precious");

    // An output in a missing folder is an error, not a silent success.
    r = RunCli("normalize " + Path("in.txt") + " " + Path("no/such/out.txt"));
    EXPECT_EQ(r.status, 2);
}

TEST_F(CliTest, UsageAndHelp)
{
    CliRun r = RunCli("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("normalize IN OUT"), std::string::npos);
    for (const char* args : {"", "check", "normalize a", "frobnicate x", "check a b"}) {
        r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out.rfind("usage: vexa-cli", 0), 0u) << args;
    }
}
