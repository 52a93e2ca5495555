#pragma once
// Where the runner is and what it is handed.
#include <string>
#include <string_view>

namespace pinvale {

// The folder part of a file name: everything up to and including its last "\" or ":".
std::u16string FolderOf(std::u16string_view file_name);

// folder, a "\" unless it is empty or ends in one, then "Sealwork.exe".
std::u16string RunnerPath(std::u16string folder);

// The job file's path in double quotes, a blank, and the quoted path again.
std::u16string RunnerCommandLine(std::u16string_view job_file);

}  // namespace pinvale
