// vexa-cli: the editor's core on the command line, for checking and
// normalising screen files.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "io/screen_file.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/undo.h"

// The command line has no window: nothing to redraw or retitle.
void DrawCanvasCell(int, int) {}
void OnModifiedStateChanged(bool) {}
void OnPenChanged(PenChange) {}

namespace {

constexpr int kExitOk = 0;
constexpr int kExitRejected = 1;
constexpr int kExitTrouble = 2;

const char kUsage[] =
    "usage: vexa-cli check FILE\n"
    "       vexa-cli normalize IN OUT\n"
    "       vexa-cli --help\n";

const char kHelp[] =
    "Commands:\n"
    "  check FILE         exit 0 and print 'ok' when FILE loads as a screen file;\n"
    "                     otherwise exit 1 and name the first problem\n"
    "  normalize IN OUT   read IN as the editor reads it and write OUT as the\n"
    "                     editor writes it; OUT is left untouched when IN is rejected\n"
    "Exit status: 0 success, 1 not a screen file, 2 usage or file error.\n";

int UsageError()
{
    std::fputs(kUsage, stderr);
    return kExitTrouble;
}

bool ReadWholeFile(const char* path, std::vector<char>& out)
{
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::fprintf(stderr, "vexa-cli: cannot open '%s': %s\n", path, std::strerror(errno));
        return false;
    }
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) std::fprintf(stderr, "vexa-cli: cannot read '%s'\n", path);
    return !failed;
}

// Loads a screen file into the Screen buffer: kExitOk, kExitRejected (with
// the problem printed) or kExitTrouble.
int LoadScreen(const char* path)
{
    std::vector<char> text;
    if (!ReadWholeFile(path, text)) return kExitTrouble;
    ScreenFileProblem problem;
    if (ReadScreenFile(text.data(), text.size(), &problem)) return kExitOk;
    char why[128];
    DescribeScreenFileProblem(problem, why, sizeof why);
    std::printf("not a screen file: %s\n", why);
    return kExitRejected;
}

bool WriteToFile(void* context, const char* bytes, size_t count)
{
    return std::fwrite(bytes, 1, count, static_cast<FILE*>(context)) == count;
}

// Writes the Screen buffer beside `path` first and renames it into place, so
// a failed write never destroys an existing file.
bool SaveScreen(const char* path)
{
    const std::string temp = std::string(path) + ".vexa-tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "vexa-cli: cannot create '%s': %s\n", temp.c_str(), std::strerror(errno));
        return false;
    }
    bool ok = WriteScreenFile(WriteToFile, f);
    ok = (std::fclose(f) == 0) && ok;
    if (ok && std::rename(temp.c_str(), path) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "vexa-cli: cannot write '%s'\n", path);
        std::remove(temp.c_str());
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return UsageError();
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (command == "check" && argc == 3) {
        const int result = LoadScreen(argv[2]);
        if (result == kExitOk) std::puts("ok");
        return result;
    }
    if (command == "normalize" && argc == 4) {
        const int result = LoadScreen(argv[2]);
        if (result != kExitOk) return result;
        return SaveScreen(argv[3]) ? kExitOk : kExitTrouble;
    }
    return UsageError();
}
