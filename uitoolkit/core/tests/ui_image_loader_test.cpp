// Loading images: where the bytes come from, decoding, premultiplication, the mask colour,
// colour images and the colour adjustment of HSL images.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "testsupport/test_support.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/tests/core_test_support.h"
#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/core/ui_image_description.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_image_sources.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

using testing::TestImageFolder;
using testing::TestImagePath;

// The image's pixel (x, y) as stored: premultiplied 0xAARRGGBB.
DWORD StoredPixel(const TImageInfo& image, int x, int y) {
  const BYTE* pixel = image.bits + (static_cast<size_t>(y) * image.width + x) * 4;
  return (static_cast<DWORD>(pixel[3]) << 24) | (static_cast<DWORD>(pixel[2]) << 16) |
         (static_cast<DWORD>(pixel[1]) << 8) | pixel[0];
}

// Width and height written in a PNG file's header.
bool PngSize(const std::string& bytes, int& width, int& height) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return false;
  auto word = [&](size_t at) {
    return (static_cast<int>(static_cast<unsigned char>(bytes[at])) << 24) |
           (static_cast<int>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
           (static_cast<int>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
           static_cast<int>(static_cast<unsigned char>(bytes[at + 3]));
  };
  width = word(16);
  height = word(20);
  return true;
}

class ImageLoaderTest : public ::testing::Test {
 protected:
  void TearDown() override {
    CResourceFiles::CloseResourceZip();
    CResourceFiles::SetResourcePath(L"");
    CImageSources::SetResourceModule(nullptr);
  }
};

// Every skin image of the setup window decodes to the size its file declares.
TEST_F(ImageLoaderTest, DecodesTheSetupSkinImages) {
  const wchar_t* names[] = {L"app_icon.png",     L"autostart_check_box.png",
                            L"autostart_check_box_selected.png", L"background.png",
                            L"close_icon.png",   L"custom_option.png",
                            L"file_icon.png",    L"install.png",
                            L"min_icon.png"};
  CResourceFiles::SetResourcePath((std::wstring(RENDER_SKIN_FOLDER) + L"\\").c_str());
  for (const wchar_t* name : names) {
    int width = 0, height = 0;
    ASSERT_TRUE(PngSize(vesk::testing::ReadFileBytes(std::wstring(RENDER_SKIN_FOLDER) + L"\\" + name),
                        width, height))
        << vesk::testing::Narrow(name);
    UniqueImage image(CRenderEngine::LoadImage(name));
    ASSERT_NE(nullptr, image.get()) << vesk::testing::Narrow(name);
    EXPECT_EQ(width, image.get()->width) << vesk::testing::Narrow(name);
    EXPECT_EQ(height, image.get()->height) << vesk::testing::Narrow(name);
    EXPECT_NE(nullptr, image.get()->bitmap);
    EXPECT_NE(nullptr, image.get()->bits);
    EXPECT_EQ(nullptr, image.get()->sourceBits);
    EXPECT_TRUE(image.get()->resourceType.IsEmpty());
  }
}

// Opaque pixels are stored as they are; the image has no alpha.
TEST_F(ImageLoaderTest, OpaqueImageHasNoAlpha) {
  UniqueImage image(CRenderEngine::LoadImage(TestImagePath(L"quad.png").c_str()));
  ASSERT_NE(nullptr, image.get());
  EXPECT_FALSE(image.get()->alpha);
  EXPECT_EQ(0xFFFF0000u, StoredPixel(*image.get(), 0, 0));
  EXPECT_EQ(0xFF00FF00u, StoredPixel(*image.get(), 1, 0));
  EXPECT_EQ(0xFF0000FFu, StoredPixel(*image.get(), 0, 1));
  EXPECT_EQ(0xFFFFFF00u, StoredPixel(*image.get(), 1, 1));
}

// Translucent pixels are premultiplied and mark the image as having alpha.
TEST_F(ImageLoaderTest, TranslucentPixelsArePremultiplied) {
  UniqueImage image(CRenderEngine::LoadImage(TestImagePath(L"translucent.png").c_str()));
  ASSERT_NE(nullptr, image.get());
  EXPECT_TRUE(image.get()->alpha);
  EXPECT_EQ(0x80800000u, StoredPixel(*image.get(), 0, 0));
  EXPECT_EQ(0xFF0000FFu, StoredPixel(*image.get(), 1, 0));
}

// Pixels equal to the mask become fully transparent and mark the image as having alpha.
TEST_F(ImageLoaderTest, MaskMakesPixelsTransparent) {
  UniqueImage image(CRenderEngine::LoadImage(TestImagePath(L"mask.png").c_str(), nullptr,
                                               0xFFFF00FF));
  ASSERT_NE(nullptr, image.get());
  EXPECT_TRUE(image.get()->alpha);
  EXPECT_EQ(0xFFFF00FFu, image.get()->mask);
  EXPECT_EQ(0u, StoredPixel(*image.get(), 0, 0));
  EXPECT_EQ(0xFF000000u, StoredPixel(*image.get(), 1, 0));
}

// Names are looked up in the resource folder first, then as plain paths.
TEST_F(ImageLoaderTest, ResourceFolderThenPlainPath) {
  CResourceFiles::SetResourcePath(TestImageFolder().c_str());
  UniqueImage fromFolder(CRenderEngine::LoadImage(L"nine.png"));
  ASSERT_NE(nullptr, fromFolder.get());
  EXPECT_EQ(20, fromFolder.get()->width);

  CResourceFiles::SetResourcePath(L"Z:\\no\\such\\folder\\");
  UniqueImage fromPath(CRenderEngine::LoadImage(TestImagePath(L"nine.png").c_str()));
  ASSERT_NE(nullptr, fromPath.get());
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(L"nine.png"));
}

// Other file formats decode too (a 24-bit BMP).
TEST_F(ImageLoaderTest, DecodesBmp) {
  UniqueImage image(CRenderEngine::LoadImage(TestImagePath(L"quad.bmp").c_str()));
  ASSERT_NE(nullptr, image.get());
  EXPECT_EQ(2, image.get()->width);
  EXPECT_EQ(0xFF0000FFu, StoredPixel(*image.get(), 0, 1));
}

// Missing files, undecodable bytes and empty names give no image.
TEST_F(ImageLoaderTest, FailuresGiveNull) {
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(TestImagePath(L"missing.png").c_str()));
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(TestImagePath(L"not_an_image.png").c_str()));
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(L""));
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(static_cast<const wchar_t*>(nullptr)));
  EXPECT_EQ(nullptr, CRenderEngine::LoadImageFromMemory(nullptr, 0, 0));
  const BYTE garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(nullptr, CRenderEngine::LoadImageFromMemory(garbage, sizeof(garbage), 0));
}

// A path longer than 260 characters is used whole: it is not cut down to the existing file
// whose path is its first 259 characters.
TEST_F(ImageLoaderTest, LongPathsAreNotCut) {
  vesk::testing::ScopedTempFolder folder;
  const size_t nameLength = 259 - (folder.path().size() + 1);
  ASSERT_GT(nameLength, 0u);
  ASSERT_LE(nameLength, 255u);
  const std::wstring name(nameLength, L'a');
  ASSERT_TRUE(vesk::testing::WriteFileBytes(
      folder / name, vesk::testing::ReadFileBytes(TestImagePath(L"quad.png"))));
  UniqueImage exact(CRenderEngine::LoadImage((folder / name).c_str()));
  ASSERT_NE(nullptr, exact.get());
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage((folder / name + L"bbbb.png").c_str()));
  CResourceFiles::SetResourcePath((folder.path() + L"\\").c_str());
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage((name + L"bbbb.png").c_str()));
}

// With a resource zip, names are entries of the archive (found ignoring case, stored or
// deflated); a name missing there is still tried as a plain path.
TEST_F(ImageLoaderTest, ResourceZipInMemory) {
  const std::string nine = vesk::testing::ReadFileBytes(TestImagePath(L"nine.png"));
  const std::string quad = vesk::testing::ReadFileBytes(TestImagePath(L"quad.png"));
  const std::string archive =
      testing::MakeZip({{"images/nine.png", nine, true}, {"QUAD.PNG", quad, false}});
  CResourceFiles::SetResourceZip(archive.data(), archive.size());
  UniqueImage deflated(CRenderEngine::LoadImage(L"images\\Nine.png"));
  ASSERT_NE(nullptr, deflated.get());
  EXPECT_EQ(20, deflated.get()->width);
  UniqueImage stored(CRenderEngine::LoadImage(L"quad.png"));
  ASSERT_NE(nullptr, stored.get());
  EXPECT_EQ(0xFFFF0000u, StoredPixel(*stored.get(), 0, 0));
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(L"fifty.png"));
  UniqueImage plain(CRenderEngine::LoadImage(TestImagePath(L"fifty.png").c_str()));
  EXPECT_NE(nullptr, plain.get());
}

// A zip file in the resource folder is read on each load.
TEST_F(ImageLoaderTest, ResourceZipFile) {
  vesk::testing::ScopedTempFolder folder;
  ASSERT_TRUE(vesk::testing::WriteFileBytes(
      folder / L"skin.zip",
      testing::MakeZip({{"tile.png", vesk::testing::ReadFileBytes(TestImagePath(L"tile.png"))}})));
  CResourceFiles::SetResourcePath(folder.path().c_str());
  CResourceFiles::SetResourceZip(L"skin.zip");
  UniqueImage image(CRenderEngine::LoadImage(L"TILE.png"));
  ASSERT_NE(nullptr, image.get());
  EXPECT_EQ(10, image.get()->width);
  EXPECT_EQ(8, image.get()->height);
}

// Module resources by number, by a name written as a number, and by name.
TEST_F(ImageLoaderTest, ModuleResources) {
  UniqueImage byId(CRenderEngine::LoadImage(STRINGorID(static_cast<WORD>(101)), L"PNG"));
  ASSERT_NE(nullptr, byId.get());
  EXPECT_EQ(2, byId.get()->width);
  EXPECT_STREQ(L"PNG", byId.get()->resourceType.GetData());

  UniqueImage byNumberText(CRenderEngine::LoadImage(L"101", L"PNG"));
  ASSERT_NE(nullptr, byNumberText.get());

  UniqueImage byName(CRenderEngine::LoadImage(L"NINE", L"PNG"));
  ASSERT_NE(nullptr, byName.get());
  EXPECT_EQ(20, byName.get()->width);

  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(L"102", L"PNG"));  // not an image
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(L"103", L"PNG"));  // no such resource
  // With a type the file system is not consulted.
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(TestImagePath(L"quad.png").c_str(), L"PNG"));
}

// The resource module is the one set for the toolkit.
TEST_F(ImageLoaderTest, ResourceModuleIsConfigurable) {
  CImageSources::SetResourceModule(::GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(nullptr, CRenderEngine::LoadImage(L"NINE", L"PNG"));
  CImageSources::SetResourceModule(::GetModuleHandleW(nullptr));
  UniqueImage image(CRenderEngine::LoadImage(L"NINE", L"PNG"));
  EXPECT_NE(nullptr, image.get());
}

struct ColourImageCase {
  const wchar_t* text;
  DWORD stored;
  bool alpha;
};

// The colour marker makes a one-pixel image of the colour (premultiplied when translucent).
TEST_F(ImageLoaderTest, ColourImages) {
  const ColourImageCase cases[] = {
      {L"#FF079D55", 0xFF079D55u, false},
      {L"FF079D55", 0xFF079D55u, false},
      {L"#80FF0000", 0x80800000u, true},
      {L"#00FFFFFF", 0x00000000u, true},
  };
  for (const ColourImageCase& row : cases) {
    UniqueImage image(CRenderEngine::LoadImage(row.text, kColorImageType));
    ASSERT_NE(nullptr, image.get());
    EXPECT_EQ(1, image.get()->width);
    EXPECT_EQ(1, image.get()->height);
    EXPECT_EQ(row.stored, StoredPixel(*image.get(), 0, 0)) << vesk::testing::Narrow(row.text);
    EXPECT_EQ(row.alpha, image.get()->alpha);
  }
}

// An HSL image keeps its decoded pixels; AdjustImage recomputes from them and restores them.
TEST_F(ImageLoaderTest, AdjustsHslImages) {
  UniqueImage image(CRenderEngine::LoadImage(TestImagePath(L"translucent.png").c_str(), nullptr, 0, true));
  ASSERT_NE(nullptr, image.get());
  ASSERT_NE(nullptr, image.get()->sourceBits);
  EXPECT_TRUE(image.get()->useHSL);
  CRenderEngine::AdjustImage(true, image.get(), 300, 100, 100);  // red -> green, blue -> red
  EXPECT_EQ(0x80008000u, StoredPixel(*image.get(), 0, 0));
  EXPECT_EQ(0xFFFF0000u, StoredPixel(*image.get(), 1, 0));
  CRenderEngine::AdjustImage(false, image.get(), 300, 100, 100);
  EXPECT_EQ(0x80800000u, StoredPixel(*image.get(), 0, 0));
  EXPECT_EQ(0xFF0000FFu, StoredPixel(*image.get(), 1, 0));
}

// FreeImage deletes the bitmap; the record itself stays when asked to.
TEST_F(ImageLoaderTest, FreeImageReleasesTheBitmap) {
  TImageInfo* image =
      CRenderEngine::LoadImage(TestImagePath(L"quad.png").c_str(), nullptr, 0, true);
  ASSERT_NE(nullptr, image);
  HBITMAP bitmap = image->bitmap;
  CRenderEngine::FreeImage(image, false);
  EXPECT_EQ(nullptr, image->bitmap);
  EXPECT_EQ(nullptr, image->sourceBits);
  BITMAP info;
  EXPECT_EQ(0, ::GetObjectW(bitmap, sizeof(info), &info));
  delete image;
  CRenderEngine::FreeImage(nullptr);  // harmless
}

}  // namespace
}  // namespace SkinUI
