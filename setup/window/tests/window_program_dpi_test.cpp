// The setup window of the built VeskSetup.exe at 150 % (a Wine prefix whose screen has 144 dots
// per inch), used with real input.
#include "setup/window/tests/window_program_driver.h"

namespace vesk::testing {
namespace {

// At 150 % the window is 960 x 690; its title buttons are 60 pixels high (a click 50 pixels down
// on the close button closes the window) while the drag strip stays 40 client pixels.
TEST_F(WindowProgramTest, WindowAndTitleStripScaleDragStripStays) {
  ASSERT_NE(Start(L""), nullptr);
  RECT rect = {};
  GetWindowRect(m_window, &rect);
  EXPECT_EQ(rect.right - rect.left, 960);
  EXPECT_EQ(rect.bottom - rect.top, 690);
  for (const auto& [clientY, expected] : {std::pair{39, HTCAPTION}, std::pair{41, HTCLIENT}}) {
    POINT point = {300, clientY};
    ClientToScreen(m_window, &point);
    EXPECT_EQ(SendMessageW(m_window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)), expected)
        << "client y " << clientY;
  }
  Click(POINT{960 - 30, 50});
  EXPECT_EQ(Finish().exitCode, 0u);
  EXPECT_FALSE(IsWindow(m_window));
}

}  // namespace
}  // namespace vesk::testing
