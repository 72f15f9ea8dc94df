#include "uitoolkit/core/ui_log.h"

#include <windows.h>

#include <string>

namespace SkinUI {
namespace {

void DebuggerSink(const wchar_t* line) {
  const std::wstring text = std::wstring(line) + L"\n";
  ::OutputDebugStringW(text.c_str());
}

LogSinkUI& Sink() {
  static LogSinkUI sink = &DebuggerSink;
  return sink;
}

}  // namespace

LogSinkUI SetLogSink(LogSinkUI sink) {
  const LogSinkUI previous = Sink();
  Sink() = sink != nullptr ? sink : &DebuggerSink;
  return previous;
}

void LogLine(const wchar_t* line) { Sink()(line != nullptr ? line : L""); }

}  // namespace SkinUI
