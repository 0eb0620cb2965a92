// Writing a file so that a failure never destroys what was there: the new
// bytes go into a file of our own beside the target, are flushed, and only
// then take the target's place, keeping its permissions. What the target is
// decides the way: a device or a pipe is written straight, a link is
// followed to the file it names, a read-only file or a folder is refused.
#pragma once
#include <string>

enum class TargetKind { Missing, Regular, Special, Directory };
enum class SafeWriteResult { Written, ReadOnly, NotAFile, Failed };

// `Target` is the platform's file, found through the path it was made with:
//   TargetKind Inspect()       what the path names now (links followed);
//                              Failed when it cannot be told
//   bool ReadOnly()            a regular file that must not be replaced
//   bool WriteDirect(bytes)    into the special file itself
//   bool WriteTemp(bytes)      a new file of our own beside it, flushed
//   bool Replace()             the temporary file takes the target's place
//   void RemoveTemp()
template <typename Target>
SafeWriteResult SafeWrite(Target& target, const std::string& bytes)
{
    bool inspected = true;
    const TargetKind kind = target.Inspect(inspected);
    if (!inspected) return SafeWriteResult::Failed;
    switch (kind) {
    case TargetKind::Directory: return SafeWriteResult::NotAFile;
    case TargetKind::Special: return target.WriteDirect(bytes) ? SafeWriteResult::Written : SafeWriteResult::Failed;
    case TargetKind::Regular:
        if (target.ReadOnly()) return SafeWriteResult::ReadOnly;
        break;
    case TargetKind::Missing: break;
    }
    if (!target.WriteTemp(bytes)) {
        target.RemoveTemp();
        return SafeWriteResult::Failed;
    }
    if (target.Replace()) return SafeWriteResult::Written;
    target.RemoveTemp();
    return SafeWriteResult::Failed;
}
