// The product icon in the library's resources: eight images of the stated sizes and
// depths, each one an image the system can make an icon of.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <utility>

#include "support/library.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colour_count, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct GroupIcon {
  WORD reserved, type, count;
  GroupIconEntry entries[1];
};
#pragma pack(pop)

struct Resource {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

Resource Find(HMODULE module, LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  return {static_cast<const BYTE*>(LockResource(LoadResource(module, found))), SizeofResource(module, found)};
}

TEST(ProductIcon, HoldsEightImagesOfTheStatedSizesAndDepths) {
  test::Library library;
  Resource group = Find(library.get(), L"PRODUCT_ICON", RT_GROUP_ICON);
  ASSERT_NE(group.data, nullptr) << "no icon PRODUCT_ICON";
  auto directory = reinterpret_cast<const GroupIcon*>(group.data);
  ASSERT_EQ(directory->type, 1);
  ASSERT_EQ(directory->count, 8);

  std::multiset<std::pair<int, int>> images;
  for (int i = 0; i < directory->count; ++i) {
    const GroupIconEntry& entry = directory->entries[i];
    int size = entry.width ? entry.width : 256;
    images.insert({size, entry.bit_count});
    SCOPED_TRACE(std::to_string(size) + " px, " + std::to_string(entry.bit_count) + " bpp");
    Resource image = Find(library.get(), MAKEINTRESOURCEW(entry.id), RT_ICON);
    ASSERT_NE(image.data, nullptr);
    ASSERT_EQ(image.size, entry.bytes);

    if (size == 256) {
      ASSERT_GE(image.size, 8u);
      EXPECT_EQ(std::memcmp(image.data, "\x89PNG\r\n\x1a\n", 8), 0) << "the 256 image is not PNG";
    } else {
      auto header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data);
      EXPECT_EQ(header->biWidth, size);
      EXPECT_EQ(header->biHeight, 2 * size);  // the image and its mask
      EXPECT_EQ(header->biBitCount, entry.bit_count);
      if (entry.bit_count == 32) {
        // Real alpha: fully transparent corners and a fully opaque middle.
        auto pixels = reinterpret_cast<const BYTE*>(header + 1);
        std::set<BYTE> alphas;
        for (int p = 0; p < size * size; ++p) alphas.insert(pixels[4 * p + 3]);
        EXPECT_TRUE(alphas.count(0) && alphas.count(255)) << "no alpha channel";
      }
    }
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000, size, size,
                                          LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr) << "not an image the system can read";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  const std::multiset<std::pair<int, int>> expected = {{256, 32}, {64, 32}, {48, 32}, {32, 32},
                                                      {16, 32},  {48, 8},  {32, 8},  {16, 8}};
  EXPECT_EQ(images, expected);
}

}  // namespace
