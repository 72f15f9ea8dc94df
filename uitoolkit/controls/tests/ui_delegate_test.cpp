// Event sources call their delegates in order and stop at the first refusal.
#include "uitoolkit/controls/ui_delegate.h"

#include <gtest/gtest.h>

#include <string>

namespace SkinUI {
namespace {

std::string g_calls;

bool First(void*) {
  g_calls += "1";
  return true;
}

bool Second(void*) {
  g_calls += "2";
  return false;
}

struct Listener {
  bool Handle(void* param) {
    g_calls += *static_cast<const char*>(param);
    return answer;
  }
  bool Other(void*) { return true; }
  bool answer = true;
};

// Delegates run in order; the first false ends the call with false; equal delegates are added
// once and removed by equality (same object and function).
TEST(EventSource, OrderStopAndEquality) {
  g_calls.clear();
  Listener a, b;
  CEventSource source;
  EXPECT_FALSE(static_cast<bool>(source));
  source += MakeDelegate(&a, &Listener::Handle);
  source += &First;
  source += MakeDelegate(&a, &Listener::Handle);
  source += &First;
  source += MakeDelegate(&b, &Listener::Handle);
  source += MakeDelegate(&a, &Listener::Other);
  EXPECT_EQ(4, source.GetCount());
  char letter = 'x';
  EXPECT_TRUE(source(&letter));
  EXPECT_EQ("x1x", g_calls);
  source -= MakeDelegate(&b, &Listener::Other);
  EXPECT_EQ(4, source.GetCount());
  source -= MakeDelegate(&a, &Listener::Handle);
  source += &Second;
  g_calls.clear();
  b.answer = false;
  EXPECT_FALSE(source(&letter));
  EXPECT_EQ("1x", g_calls);
  EXPECT_TRUE(MakeDelegate(&a, &Listener::Handle).Equals(MakeDelegate(&a, &Listener::Handle)));
  EXPECT_FALSE(MakeDelegate(&a, &Listener::Handle).Equals(MakeDelegate(&a, &Listener::Other)));
  EXPECT_FALSE(MakeDelegate(&First).Equals(MakeDelegate(&Second)));
}

}  // namespace
}  // namespace SkinUI
