#include "lockjob/runner_path.h"

namespace pinvale {

std::u16string FolderOf(std::u16string_view file_name) {
  const std::size_t end = file_name.find_last_of(u"\\:");
  return std::u16string(end == std::u16string_view::npos ? std::u16string_view() : file_name.substr(0, end + 1));
}

std::u16string RunnerPath(std::u16string folder) {
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder + u"Sealwork.exe";
}

std::u16string RunnerCommandLine(std::u16string_view job_file) {
  std::u16string line;
  line.reserve(2 * job_file.size() + 5);
  line.append(u"\"").append(job_file).append(u"\" \"").append(job_file).append(u"\"");
  return line;
}

}  // namespace pinvale
