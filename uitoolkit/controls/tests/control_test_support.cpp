#include "uitoolkit/controls/tests/control_test_support.h"

namespace SkinUI {
namespace testing {

void Attach(CControlUI& control, IControlManagerUI& manager, CControlUI* parent, const RECT& rc) {
  control.SetManager(&manager, parent, false);
  control.SetPos(rc, false);
}

}  // namespace testing
}  // namespace SkinUI
