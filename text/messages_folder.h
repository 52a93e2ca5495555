#pragma once
// Where the installation keeps its messages: the folder "Messages" inside the install
// path. Only the path is built; nothing checks that the folder exists.
#include <string>
#include <string_view>

namespace pinvale {

// "" when install_path is empty (no installation, so no folder); otherwise install_path,
// a "\" unless it already ends in one, and "Messages". A trailing "/" gets a "\" too.
std::u16string MessagesFolderOf(std::u16string_view install_path);

}  // namespace pinvale
