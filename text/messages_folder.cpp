#include "text/messages_folder.h"

namespace pinvale {

std::u16string MessagesFolderOf(std::u16string_view install_path) {
  if (install_path.empty()) return {};
  std::u16string folder(install_path);
  if (folder.back() != u'\\') folder += u'\\';
  folder += u"Messages";
  return folder;
}

}  // namespace pinvale
