#pragma once
// A fault seam for tests: the file-system calls of this executable go through its import
// table, and InstallFaultSeam points the entries of those calls at stand-ins that count them
// while armed and make a chosen one fail with a chosen error. The program's code is linked
// unchanged; korvanta.exe has none of this.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korvanta::test {

// Every file-system call that start-up staging, the actions, DeleteTree, WriteBlocks and the
// extractor make, the reads of the staged archive included.
enum class FileCall {
    CreateFile,
    ReadFile,
    WriteFile,
    SetFilePointerEx,
    GetFileSizeEx,
    CloseHandle,
    GetFileType,
    SetFileTime,
    GetFileAttributes,
    GetFileAttributesEx,
    SetFileAttributes,
    CreateDirectory,
    RemoveDirectory,
    DeleteFile,
    MoveFile,
    FindFirstFile,
    FindNextFile,
    FindClose,
    GetFinalPathNameByHandle,
    GetCurrentDirectory,
    SetFileInformationByHandle, // the subject: "times and attributes PATH" or "delete PATH"
    OpenStream,                 // _wfopen
    ReadStream,                 // fread
    CloseStream,                // fclose
    Access,                     // _waccess
    Any,
};

const char *FileCallName(FileCall call);

struct FaultPlan {
    FileCall which = FileCall::Any; // the calls that are counted towards `nth`
    uint32_t nth = 0;               // the counted call that fails, from 1; 0: none fails
    DWORD error = ERROR_SHARING_VIOLATION;
    bool and_after = false; // every counted call after it fails too: the drive went away
    // The failing call is a WriteFile that writes all but its last byte and reports success.
    bool short_write = false;
};

struct CallRecord {
    FileCall call;
    std::string subject; // the path, for calls that take one
    bool failed;
};

// Patches the import table once; false when a call to patch is not imported at all.
bool InstallFaultSeam(std::string &missing);

// Calls are counted and recorded from Arm to Disarm; outside, they pass straight through.
void Arm(const FaultPlan &plan);
std::vector<CallRecord> Disarm();

// Message boxes shown while the seam is installed are recorded instead of shown, with their
// texts as the box would show them.
struct ShownBox {
    std::wstring text;
    std::wstring caption;
    UINT flags;
};
std::vector<ShownBox> TakeShownBoxes();

} // namespace korvanta::test
