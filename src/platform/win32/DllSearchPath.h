#pragma once

namespace quillmere {

// Which call restricted the search for DLLs loaded by name.
enum class DllSearchRestriction { SystemFolderOnly, NoCurrentFolder, None };

// A book is usually run from a downloads folder full of other files: DLLs that the browser
// control and the shell load by name must come from System32, never from beside the program.
// Call it first thing. SetDefaultDllDirectories is looked up at run time (Windows 7 without
// KB2533623 lacks it); without it, SetDllDirectoryW(L"") at least takes the current folder out.
DllSearchRestriction RestrictDllSearchPath();

}  // namespace quillmere
