// The rules of the safe write, the same for the editor and the command line:
// which steps each kind of target takes, and that a failure at any step
// leaves no file of ours behind and reports itself.
#include <gtest/gtest.h>

#include <string>

#include "io/safe_write.h"

namespace {

// A target that does what it is told and notes the steps asked of it.
struct ScriptedTarget {
    TargetKind kind = TargetKind::Regular;
    bool inspectable = true, readOnly = false, tempWritten = true, replaced = true, directWritten = true;
    std::string steps;

    TargetKind Inspect(bool& inspected)
    {
        steps += "inspect ";
        inspected = inspectable;
        return kind;
    }
    bool ReadOnly() const { return readOnly; }
    bool WriteDirect(const std::string&)
    {
        steps += "direct ";
        return directWritten;
    }
    bool WriteTemp(const std::string&)
    {
        steps += "temp ";
        return tempWritten;
    }
    bool Replace()
    {
        steps += "replace ";
        return replaced;
    }
    void RemoveTemp() { steps += "remove "; }
};

}  // namespace

TEST(SafeWrite, EachKindOfTargetTakesItsOwnSteps)
{
    struct Case {
        const char* what;
        ScriptedTarget target;
        SafeWriteResult result;
        const char* steps;
    };
    auto with = [](TargetKind kind, auto change) {
        ScriptedTarget t;
        t.kind = kind;
        change(t);
        return t;
    };
    auto same = [](ScriptedTarget&) {};
    const Case cases[] = {
        {"new file", with(TargetKind::Missing, same), SafeWriteResult::Written, "inspect temp replace "},
        {"existing file", with(TargetKind::Regular, same), SafeWriteResult::Written, "inspect temp replace "},
        {"read-only file", with(TargetKind::Regular, [](ScriptedTarget& t) { t.readOnly = true; }),
         SafeWriteResult::ReadOnly, "inspect "},
        {"folder", with(TargetKind::Directory, same), SafeWriteResult::NotAFile, "inspect "},
        {"device or pipe", with(TargetKind::Special, same), SafeWriteResult::Written, "inspect direct "},
        {"device refusing", with(TargetKind::Special, [](ScriptedTarget& t) { t.directWritten = false; }),
         SafeWriteResult::Failed, "inspect direct "},
        {"cannot tell", with(TargetKind::Regular, [](ScriptedTarget& t) { t.inspectable = false; }),
         SafeWriteResult::Failed, "inspect "},
        {"disk full", with(TargetKind::Regular, [](ScriptedTarget& t) { t.tempWritten = false; }),
         SafeWriteResult::Failed, "inspect temp remove "},
        {"rename refused", with(TargetKind::Regular, [](ScriptedTarget& t) { t.replaced = false; }),
         SafeWriteResult::Failed, "inspect temp replace remove "},
    };
    for (Case c : cases) {
        EXPECT_EQ(SafeWrite(c.target, "bytes"), c.result) << c.what;
        EXPECT_EQ(c.target.steps, c.steps) << c.what;
    }
}
