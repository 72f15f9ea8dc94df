#include "uitoolkit/core/ui_image_sources.h"

namespace SkinUI {
namespace {

HINSTANCE g_resourceModule = nullptr;

}  // namespace

void CImageSources::SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

HINSTANCE CImageSources::GetResourceModule() { return g_resourceModule; }

}  // namespace SkinUI
