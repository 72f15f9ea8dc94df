// The image tables: lookup order, replacement, freeing and colour adjustment.
#include "uitoolkit/core/ui_image_cache.h"
#include "uitoolkit/core/ui_image_preload.h"

#include <gtest/gtest.h>

#include <cstring>

#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/core/resource_files.h"

namespace SkinUI {
namespace {

using testing::TestImageFolder;

bool IsDeleted(HBITMAP bitmap) {
  BITMAP info;
  return ::GetObjectW(bitmap, sizeof(info), &info) == 0;
}

class ImageCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { CResourceFiles::SetResourcePath(TestImageFolder().c_str()); }
  void TearDown() override { CResourceFiles::SetResourcePath(L""); }
};

// An image is loaded once and then answered from the table, whatever mask or type is asked for.
TEST_F(ImageCacheTest, SameNameAnswersTheCachedImage) {
  CImageCache own;
  TImageInfo* first = CImageCache::GetImageEx(own, nullptr, L"mask.png", nullptr, 0, false);
  ASSERT_NE(nullptr, first);
  TImageInfo* masked =
      CImageCache::GetImageEx(own, nullptr, L"mask.png", nullptr, 0xFFFF00FF, false);
  TImageInfo* typed = CImageCache::GetImageEx(own, nullptr, L"mask.png", L"PNG", 0, false);
  EXPECT_EQ(first, masked);
  EXPECT_EQ(first, typed);
  EXPECT_EQ(0u, masked->mask);
  EXPECT_EQ(1, own.GetCount());
}

// The window's own table is asked first, then the shared one; a new image goes into the own table.
TEST_F(ImageCacheTest, OwnTableThenSharedTable) {
  CImageCache own, shared;
  TImageInfo* sharedImage = shared.Load(L"quad.png", nullptr, 0, false);
  ASSERT_NE(nullptr, sharedImage);
  EXPECT_EQ(sharedImage, CImageCache::GetImageEx(own, &shared, L"quad.png", nullptr, 0, false));
  EXPECT_EQ(0, own.GetCount());
  TImageInfo* ownImage = own.Load(L"quad.png", nullptr, 0, false);
  EXPECT_EQ(ownImage, CImageCache::GetImageEx(own, &shared, L"quad.png", nullptr, 0, false));
  TImageInfo* loaded = CImageCache::GetImageEx(own, &shared, L"nine.png", nullptr, 0, false);
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(loaded, own.Find(L"nine.png"));
  EXPECT_EQ(nullptr, shared.Find(L"nine.png"));
}

// A name that cannot be loaded gives null and adds nothing.
TEST_F(ImageCacheTest, FailedLoadsAreNotRegistered) {
  CImageCache own;
  EXPECT_EQ(nullptr, CImageCache::GetImageEx(own, nullptr, L"missing.png", nullptr, 0, false));
  EXPECT_EQ(nullptr, CImageCache::GetImageEx(own, nullptr, L"", nullptr, 0, false));
  EXPECT_EQ(0, own.GetCount());
}

// Registering a name again replaces the image and frees the old one.
TEST_F(ImageCacheTest, RegisteringAgainReplacesAndFrees) {
  CImageCache table;
  TImageInfo* first =
      table.Add(L"button", CRenderEngine::LoadImage(testing::TestImagePath(L"quad.png").c_str()));
  ASSERT_NE(nullptr, first);
  HBITMAP firstBitmap = first->bitmap;
  TImageInfo* second = table.Add(L"button", CRenderEngine::LoadImage(L"nine.png"));
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(second, table.Find(L"button"));
  EXPECT_EQ(20, table.Find(L"button")->width);
  EXPECT_TRUE(IsDeleted(firstBitmap));
  EXPECT_EQ(1, table.GetCount());
}

// Adding the same image under its own name again keeps it alive; null names and images are
// refused.
TEST_F(ImageCacheTest, AddEdgeCases) {
  CImageCache table;
  TImageInfo* image = table.Load(L"quad.png", nullptr, 0, false);
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(image, table.Add(L"quad.png", image));
  EXPECT_FALSE(IsDeleted(image->bitmap));
  EXPECT_EQ(nullptr, table.Add(nullptr, CRenderEngine::LoadImage(L"nine.png")));
  EXPECT_EQ(nullptr, table.Add(L"x", nullptr));
  EXPECT_EQ(1, table.GetCount());
}

// Removing frees the image; destroying the table frees every image.
TEST_F(ImageCacheTest, RemoveAndDestroyFree) {
  HBITMAP kept = nullptr, removed = nullptr;
  {
    CImageCache table;
    removed = table.Load(L"quad.png", nullptr, 0, false)->bitmap;
    kept = table.Load(L"nine.png", nullptr, 0, false)->bitmap;
    EXPECT_TRUE(table.Remove(L"quad.png"));
    EXPECT_FALSE(table.Remove(L"quad.png"));
    EXPECT_TRUE(IsDeleted(removed));
    EXPECT_FALSE(IsDeleted(kept));
  }
  EXPECT_TRUE(IsDeleted(kept));
}

// Only images that take part in the colour adjustment are recomputed.
TEST_F(ImageCacheTest, AdjustsOnlyHslImages) {
  CImageCache table;
  TImageInfo* hsl = table.Load(L"quad.png", nullptr, 0, true);
  TImageInfo* plain = table.Load(L"fifty.png", nullptr, 0, false);
  ASSERT_NE(nullptr, hsl);
  ASSERT_NE(nullptr, plain);
  table.AdjustImages(300, 100, 100);
  // red -> green in the HSL image; the plain image keeps its red.
  EXPECT_EQ(0, hsl->bits[2]);
  EXPECT_EQ(255, hsl->bits[1]);
  EXPECT_EQ(255, plain->bits[2]);
  EXPECT_EQ(0, plain->bits[1]);
}

// A preloaded image is decoded as a load decodes it and taken once; a name preloaded twice, a
// file that cannot be read and a name never preloaded give nothing more; an undecodable file
// is taken as null.
TEST_F(ImageCacheTest, PreloadsAreDecodedAndTakenOnce) {
  ASSERT_TRUE(CImagePreloads::Start(L"quad.png"));
  EXPECT_FALSE(CImagePreloads::Start(L"quad.png"));
  EXPECT_FALSE(CImagePreloads::Start(L"missing.png"));
  EXPECT_TRUE(CImagePreloads::Start(L"not_an_image.png"));
  TImageInfo* loaded = CRenderEngine::LoadImage(L"quad.png");
  TImageInfo* preloaded = CImagePreloads::Take(L"quad.png");
  ASSERT_TRUE(loaded != nullptr && preloaded != nullptr);
  EXPECT_EQ(loaded->width, preloaded->width);
  EXPECT_EQ(loaded->height, preloaded->height);
  EXPECT_EQ(0, std::memcmp(loaded->bits, preloaded->bits, loaded->width * loaded->height * 4));
  EXPECT_EQ(nullptr, CImagePreloads::Take(L"quad.png"));
  EXPECT_EQ(nullptr, CImagePreloads::Take(L"not_an_image.png"));
  EXPECT_EQ(nullptr, CImagePreloads::Take(L"nine.png"));
  CRenderEngine::FreeImage(loaded);
  CRenderEngine::FreeImage(preloaded);
}

}  // namespace
}  // namespace SkinUI
