// Writing a file so that a failure never destroys what was there: the new
// bytes go into a file of our own beside the target, are flushed, and only
// then take the target's place, keeping its permissions. What the target is
// decides the way: a device or a pipe is written straight, a link is
// followed to the file it names, a read-only file or a folder is refused.
#pragma once
#include <string>

#include "res/resource.h"

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

// Why a file could not be written, as far as the system says.
enum class WriteFailure { Unknown, ReadOnly, Folder, NoAccess, InUse, DiskFull, NoFolder };

// The text that tells a user the reason; 0 when none is known.
inline int WriteFailureText(WriteFailure why)
{
    switch (why) {
    case WriteFailure::ReadOnly: return IDS_WRITE_READONLY;
    case WriteFailure::Folder: return IDS_WRITE_FOLDER;
    case WriteFailure::NoAccess: return IDS_WRITE_NOACCESS;
    case WriteFailure::InUse: return IDS_WRITE_INUSE;
    case WriteFailure::DiskFull: return IDS_WRITE_DISKFULL;
    case WriteFailure::NoFolder: return IDS_WRITE_NOFOLDER;
    case WriteFailure::Unknown: break;
    }
    return 0;
}
