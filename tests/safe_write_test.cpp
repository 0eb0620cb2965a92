// The failures of the safe write that real files rarely give: each one is
// reported and leaves no file of ours behind. (vexa-cli's tests write through
// links, into pipes and onto read-only files and folders.)
#include <gtest/gtest.h>

#include <string>

#include "io/safe_write.h"

namespace {

// A target that fails where told and notes the steps asked of it.
struct ScriptedTarget {
    TargetKind kind;
    bool inspectable, tempWritten, replaced, directWritten;
    std::string steps = "";

    TargetKind Inspect(bool& inspected) { steps += "inspect "; inspected = inspectable; return kind; }
    bool ReadOnly() const { return false; }
    bool WriteDirect(const std::string&) { steps += "direct "; return directWritten; }
    bool WriteTemp(const std::string&) { steps += "temp "; return tempWritten; }
    bool Replace() { steps += "replace "; return replaced; }
    void RemoveTemp() { steps += "remove "; }
};

}  // namespace

TEST(SafeWrite, EveryFailureIsReportedAndCleansUp)
{
    const struct {
        ScriptedTarget target;
        SafeWriteResult result;
        const char* steps;
    } cases[] = {
        {{TargetKind::Missing, true, true, true, true}, SafeWriteResult::Written, "inspect temp replace "},
        {{TargetKind::Regular, false, true, true, true}, SafeWriteResult::Failed, "inspect "},  // cannot tell
        {{TargetKind::Regular, true, false, true, true}, SafeWriteResult::Failed, "inspect temp remove "},  // disk full
        {{TargetKind::Regular, true, true, false, true}, SafeWriteResult::Failed, "inspect temp replace remove "},
        {{TargetKind::Special, true, true, true, false}, SafeWriteResult::Failed, "inspect direct "},
    };
    for (auto c : cases) {
        EXPECT_EQ(SafeWrite(c.target, "bytes"), c.result) << c.steps;
        EXPECT_EQ(c.target.steps, c.steps);
    }
}
